#pragma once
// The shell's notification area, reached through shell32's Shell_NotifyIconA, which is looked
// up by name at the first call.
#include "platform/services/notification_area.h"

namespace platform::win32 {

class ShellNotificationArea : public NotificationArea {
 public:
  // False also when shell32 or its entry cannot be found.
  bool NotifyIcon(int message, const NotifyIconRecord& record) override;
};

}  // namespace platform::win32
