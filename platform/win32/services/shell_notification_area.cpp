#include "platform/win32/services/shell_notification_area.h"

#include <cstddef>
#include <cstring>

#include "platform/win32/system.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

// The record as the shell of this build reads it.
struct Native {
  NOTIFYICONDATAA data;
};

#ifndef _WIN64
// The record's layout is the program's: it is checked against NOTIFYICONDATAA where the
// program builds it.
Native NativeRecord(const NotifyIconRecord& record) {
  // The same bytes, aligned as the record's fields expect.
  Native native{};
  std::memcpy(&native.data, record.data(), record.size());
  return native;
}
#else
// The 64-bit build, which only the tests use where no 32-bit Wine runs: the same fields at
// their 64-bit places. Window and icon handles have 32 significant bits on 64-bit Windows too,
// widened by sign extension, as handles passed from 32-bit code are.
std::uint32_t Field(const NotifyIconRecord& record, std::size_t offset) {
  std::uint32_t value = 0;
  std::memcpy(&value, record.data() + offset, sizeof value);
  return value;
}

template <typename Handle>
Handle HandleField(const NotifyIconRecord& record, std::size_t offset) {
  const auto low = static_cast<std::int32_t>(Field(record, offset));
  return reinterpret_cast<Handle>(static_cast<std::intptr_t>(low));
}

Native NativeRecord(const NotifyIconRecord& record) {
  Native native{};
  NOTIFYICONDATAA& data = native.data;
  data.cbSize = Field(record, 0) == 0 ? 0 : NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = HandleField<HWND>(record, 4);
  data.uID = Field(record, 8);
  data.uFlags = Field(record, 12);
  data.uCallbackMessage = Field(record, 16);
  data.hIcon = HandleField<HICON>(record, 20);
  std::memcpy(data.szTip, record.data() + 24, 64);
  return native;
}
#endif

}  // namespace

bool ShellNotificationArea::NotifyIcon(int message, const NotifyIconRecord& record) {
  using ShellNotifyIconFunction = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
  static const auto notify =
      LibraryFunction<ShellNotifyIconFunction>(L"shell32.dll", "Shell_NotifyIconA");
  if (notify == nullptr) return false;
  Native native = NativeRecord(record);
  return notify(static_cast<DWORD>(message), &native.data) != FALSE;
}

}  // namespace platform::win32
