#include "platform/win32/windows_api.h"

#include "platform/win32/shell_notification_area.h"

#include <cstddef>
#include <cstring>

namespace platform::win32 {
namespace {

#ifndef _WIN64
// The program builds the record byte by byte; it must be exactly what the shell reads.
static_assert(NOTIFYICONDATAA_V1_SIZE == std::tuple_size_v<NotifyIconRecord>);
static_assert(offsetof(NOTIFYICONDATAA, cbSize) == 0);
static_assert(offsetof(NOTIFYICONDATAA, hWnd) == 4);
static_assert(offsetof(NOTIFYICONDATAA, uID) == 8);
static_assert(offsetof(NOTIFYICONDATAA, uFlags) == 12);
static_assert(offsetof(NOTIFYICONDATAA, uCallbackMessage) == 16);
static_assert(offsetof(NOTIFYICONDATAA, hIcon) == 20);
static_assert(offsetof(NOTIFYICONDATAA, szTip) == 24);
static_assert(sizeof(NOTIFYICONDATAA::szTip) >= 64);
#endif

using ShellNotifyIconFunction = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);

ShellNotifyIconFunction BindShellNotifyIcon() {
  HMODULE shell = LoadLibraryA("shell32.dll");
  if (shell == nullptr) return nullptr;
  // Through void(*)(), the one function type every other converts to without complaint.
  return reinterpret_cast<ShellNotifyIconFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(shell, "Shell_NotifyIconA")));
}

// The record as the shell of this build reads it.
struct Native {
  NOTIFYICONDATAA data;
};

#ifndef _WIN64
Native NativeRecord(const NotifyIconRecord& record) {
  // The same bytes, aligned as the record's fields expect.
  Native native{};
  std::memcpy(&native.data, record.data(), record.size());
  return native;
}
#else
// The 64-bit build, which only the tests use where no 32-bit code runs: the same fields at
// their 64-bit places. Window and icon handles have 32 significant bits on 64-bit Windows too.
std::uint32_t Field(const NotifyIconRecord& record, std::size_t offset) {
  std::uint32_t value = 0;
  std::memcpy(&value, record.data() + offset, sizeof value);
  return value;
}

Native NativeRecord(const NotifyIconRecord& record) {
  Native native{};
  NOTIFYICONDATAA& data = native.data;
  data.cbSize = Field(record, 0) == 0 ? 0 : NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(Field(record, 4)));
  data.uID = Field(record, 8);
  data.uFlags = Field(record, 12);
  data.uCallbackMessage = Field(record, 16);
  data.hIcon = reinterpret_cast<HICON>(static_cast<std::uintptr_t>(Field(record, 20)));
  std::memcpy(data.szTip, record.data() + 24, 64);
  return native;
}
#endif

}  // namespace

bool ShellNotificationArea::NotifyIcon(int message, const NotifyIconRecord& record) {
  static const ShellNotifyIconFunction notify = BindShellNotifyIcon();
  if (notify == nullptr) return false;
  Native native = NativeRecord(record);
  return notify(static_cast<DWORD>(message), &native.data) != FALSE;
}

}  // namespace platform::win32
