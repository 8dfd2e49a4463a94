#include "platform/win32/windows_api.h"

#include "platform/win32/shell_notification_area.h"

#include <cstddef>

namespace platform::win32 {
namespace {

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

using ShellNotifyIconFunction = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);

ShellNotifyIconFunction BindShellNotifyIcon() {
  HMODULE shell = LoadLibraryA("shell32.dll");
  if (shell == nullptr) return nullptr;
  // Through void(*)(), the one function type every other converts to without complaint.
  return reinterpret_cast<ShellNotifyIconFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(shell, "Shell_NotifyIconA")));
}

}  // namespace

bool ShellNotificationArea::NotifyIcon(int message, const NotifyIconRecord& record) {
  static const ShellNotifyIconFunction notify = BindShellNotifyIcon();
  if (notify == nullptr) return false;
  // The same bytes, aligned as the record's fields expect.
  alignas(NOTIFYICONDATAA) NotifyIconRecord aligned = record;
  return notify(static_cast<DWORD>(message), reinterpret_cast<PNOTIFYICONDATAA>(aligned.data())) !=
         FALSE;
}

}  // namespace platform::win32
