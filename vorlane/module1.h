#pragma once
// The mode switcher's program-wide state and the procedures that keep it in the settings store.
// Every value is text, as it is stored, and is converted only where it is compared.
#include <string>

#include "platform/controls/runtime.h"
#include "platform/services/error_trap.h"
#include "platform/services/notification_area.h"
#include "platform/services/runtime_error.h"

namespace vorlane {

// Shown when a stored choice is absent or unreadable, before the defaults are written.
inline constexpr char kRegistryIssueMessage[] =
    "We have a regestry issue tempting to fix it.  If this is your first time loading, then "
    "ignore this.";

class Module1 {
 public:
  explicit Module1(platform::Runtime& runtime) : runtime_(runtime) {}
  Module1(const Module1&) = delete;
  Module1& operator=(const Module1&) = delete;

  // "True" when the mod's game mode is on: the last Enable or Disable that completed.
  std::string ModeEnabled;
  // "True" when a switch also writes the first expansion's files ("RTR", mods\xpack1).
  std::string UseRtr;
  // "True" when a switch also writes the second expansion's files ("SW", mods\xpack2).
  std::string UseSw;
  // "1" while the window loads, "0" after it: the switch and box handlers copy and save nothing
  // while it is raised, so that showing the saved state does not act on it.
  std::string Loading;
  // The notification-area record: filled once by the window's load, then passed unchanged.
  platform::NotifyIconRecord TrayIconData{};

  // Reads "mode", "rtr" and "sw" as stored, without any check; an absent one reads empty.
  void LoadSettings();
  // Writes all three choices; a store that refuses passes its error on.
  void SaveSettings();
  // Puts the saved choices on the disk before the switch that saved them is made for good; a
  // store that cannot raises its error.
  void KeepSettings();
  // The mode as saved now, and what makes `mode` the mode in force, saved for good: what a
  // switch stopped half-way is settled with.
  std::string SavedMode();
  void SaveMode(const std::string& mode);
  // The recovery block of the window's load. A choice that did not convert (error 13) is
  // answered with a notice and "False" for all three, saved, and the failed step is retried;
  // any other error silently leaves the load.
  platform::Recovery FirstRunRecovery(const platform::RuntimeError& error);

 private:
  platform::Runtime& runtime_;
};

}  // namespace vorlane
