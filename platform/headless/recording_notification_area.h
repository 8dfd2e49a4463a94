#pragma once
// A notification area that records what the program asked of it.
#include <vector>

#include "platform/services/notification_area.h"

namespace platform::headless {

class RecordingNotificationArea : public NotificationArea {
 public:
  struct Call {
    int message;
    NotifyIconRecord record;
  };

  bool NotifyIcon(int message, const NotifyIconRecord& record) override {
    calls.push_back({message, record});
    if (message == notify::kAdd && refuseAdds > 0) {
      --refuseAdds;
      return false;
    }
    if (message == notify::kAdd) {
      if (iconShown) return false;  // the shell refuses a second icon with the same id
      iconShown = true;
    } else if (message == notify::kModify) {
      return iconShown;  // the shell changes only an icon it holds
    } else if (message == notify::kDelete) {
      iconShown = false;
    }
    return true;
  }

  std::vector<Call> calls;
  bool iconShown = false;
  // How many of the next adds are refused, as by a shell that is still starting.
  int refuseAdds = 0;
};

}  // namespace platform::headless
