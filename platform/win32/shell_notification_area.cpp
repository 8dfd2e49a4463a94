#include "platform/win32/shell_notification_area.h"

#include "platform/win32/library_function.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// The record's layout is the program's: it is checked against NOTIFYICONDATAA where the
// program builds it.
bool ShellNotificationArea::NotifyIcon(int message, const NotifyIconRecord& record) {
  using ShellNotifyIconFunction = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
  static const auto notify =
      LibraryFunction<ShellNotifyIconFunction>("shell32.dll", "Shell_NotifyIconA");
  if (notify == nullptr) return false;
  // The same bytes, aligned as the record's fields expect.
  alignas(NOTIFYICONDATAA) NotifyIconRecord aligned = record;
  return notify(static_cast<DWORD>(message), reinterpret_cast<PNOTIFYICONDATAA>(aligned.data())) !=
         FALSE;
}

}  // namespace platform::win32
