#include "crosshairs/module1.h"

#include <functional>

#include "crosshairs/form1.h"
#include "crosshairs/preview_lists.h"
#include "platform/controls/controls.h"
#include "platform/controls/runtime.h"
#include "platform/services/convert.h"
#include "platform/services/error_trap.h"
#include "platform/services/repair_message.h"
#include "platform/services/runtime_error.h"

namespace crosshairs {
namespace {

constexpr char kMissingFolderMessage[] =
    "It seems I can't find my files.  Please make sure my \"CR\" and \"RT\" directory is in the "
    "vl1942_FX1.";
constexpr char kOtherFailureMessage[] =
    "we have a problem cant find your VL files so make sure you have me in the right directory.";

// Selects the first button whose number equals `choice`; the text is converted afresh for
// every comparison, so a choice that is not a number fails before anything is selected.
void SelectMatching(const std::string& choice, int count,
                    const std::function<platform::OptionButton&(int)>& button) {
  for (int k = 1; k <= count; ++k) {
    if (platform::TextToNumber(choice) == static_cast<double>(k)) {
      button(k).SetValue(true);
      return;
    }
  }
}

}  // namespace

void Module1::LoadSettings() {
  auto& store = runtime_.settings();
  CurrentReticle = store.Get(settings::kGetApplication, settings::kSection, "rt");
  CurrentCrosshair = store.Get(settings::kGetApplication, settings::kSection, "cr");
}

void Module1::ShowSavedChoice(Form1& form) {
  SelectMatching(CurrentCrosshair, kCrosshairCount,
                 [&form](int k) -> platform::OptionButton& { return form.CrosshairOption(k); });
  SelectMatching(CurrentReticle, kReticleCount,
                 [&form](int k) -> platform::OptionButton& { return form.ReticleOption(k); });
}

std::string Module1::SavedChoice() {
  auto& store = runtime_.settings();
  const std::string crosshair = store.Get(settings::kGetApplication, settings::kSection, "cr");
  return crosshair + "\n" + store.Get(settings::kGetApplication, settings::kSection, "rt");
}

void Module1::SaveChoice(const std::string& choice) {
  const auto cut = choice.find('\n');
  auto& store = runtime_.settings();
  store.Save(settings::kSaveApplication, settings::kSection, "CR", choice.substr(0, cut));
  store.Save(settings::kSaveApplication, settings::kSection, "RT",
             cut == std::string::npos ? std::string() : choice.substr(cut + 1));
  store.Flush(settings::kSaveApplication, settings::kSection);
}

void Module1::FinishStoppedApply() {
  const auto report =
      runtime_.files().Repair({kCrosshairArchive, kReticleArchive},
                              {[this] { return SavedChoice(); },
                               [this](const std::string& choice) { SaveChoice(choice); }});
  if (report.empty()) return;
  runtime_.MsgBox(platform::RepairMessage(report, {.program = "crosshairs",
                                                   .theChange = "An Apply",
                                                   .aChange = "an Apply",
                                                   .again = "Choose Apply again",
                                                   .nextChange = "the next Apply"}));
}

// Both archives change as one switch, which stands once the choice is saved with it: an Apply
// stopped at any instant leaves the saved choice and the archives both old or both new. A copy
// that fails changes no archive, and the choice is saved all the same.
void Module1::SaveAndInstall() {
  const std::vector<platform::CopyStep> steps{
      {"cr\\" + CurrentCrosshair + "\\menu.rfa", kCrosshairArchive},
      {"rt\\" + CurrentReticle + "\\game.rfa", kReticleArchive}};
  const std::string choice = CurrentCrosshair + "\n" + CurrentReticle;
  auto& files = runtime_.files();
  bool installed = false;
  platform::RunTrapped(
      {
          [&] {
            files.CopyAll(steps, SavedChoice(), choice);
            installed = true;
          },
      },
      [&](const platform::RuntimeError& error) {
        SaveChoice(choice);
        if (error.number() == platform::error::kPathNotFound) {
          InstallFailed = platform::IntToText(1);
          runtime_.MsgBox(kMissingFolderMessage);
        } else {
          runtime_.MsgBox(kOtherFailureMessage);
          InstallFailed = platform::IntToText(1);
        }
        return platform::Recovery::kLeave;
      });
  if (!installed) return;
  SaveChoice(choice);
  files.Commit();
}

}  // namespace crosshairs
