#include "vorlane/module1.h"

#include "platform/services/message_box.h"

namespace vorlane {
namespace {

// The store matches names without regard to case: both spellings reach the same entries.
constexpr char kGetApplication[] = "vorlane";
constexpr char kSaveApplication[] = "Vorlane";
constexpr char kSection[] = "setting";

}  // namespace

void Module1::LoadSettings() {
  platform::SettingsStore& store = runtime_.settings();
  ModeEnabled = store.Get(kGetApplication, kSection, "mode");
  UseRtr = store.Get(kGetApplication, kSection, "rtr");
  UseSw = store.Get(kGetApplication, kSection, "sw");
}

void Module1::SaveSettings() {
  platform::SettingsStore& store = runtime_.settings();
  store.Save(kSaveApplication, kSection, "mode", ModeEnabled);
  store.Save(kSaveApplication, kSection, "rtr", UseRtr);
  store.Save(kSaveApplication, kSection, "sw", UseSw);
}

void Module1::KeepSettings() {
  runtime_.settings().Flush(kSaveApplication, kSection);
}

std::string Module1::SavedMode() {
  return runtime_.settings().Get(kGetApplication, kSection, "mode");
}

void Module1::SaveMode(const std::string& mode) {
  ModeEnabled = mode;
  runtime_.settings().Save(kSaveApplication, kSection, "mode", ModeEnabled);
  KeepSettings();
}

platform::Recovery Module1::FirstRunRecovery(const platform::RuntimeError& error) {
  if (error.number() != platform::error::kTypeMismatch) return platform::Recovery::kLeave;
  runtime_.MsgBox(kRegistryIssueMessage, platform::box::kOkOnly);
  ModeEnabled = "False";
  UseRtr = "False";
  UseSw = "False";
  SaveSettings();
  return platform::Recovery::kRetry;
}

}  // namespace vorlane
