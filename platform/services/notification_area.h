#pragma once
// The shell's notification area (system tray).
#include <array>
#include <cstdint>

namespace platform {

namespace notify {
constexpr int kAdd = 0;
constexpr int kModify = 1;
constexpr int kDelete = 2;
}  // namespace notify

// The ANSI form of the first version of the notification-icon record, 88 bytes.
using NotifyIconRecord = std::array<std::uint8_t, 88>;

class NotificationArea {
 public:
  virtual ~NotificationArea() = default;
  // Passes `record` unchanged to the shell's Shell_NotifyIconA; true if the shell accepted it.
  virtual bool NotifyIcon(int message, const NotifyIconRecord& record) = 0;
};

}  // namespace platform
