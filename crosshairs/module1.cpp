#include "crosshairs/module1.h"

#include <functional>

#include "crosshairs/form1.h"
#include "crosshairs/preview_lists.h"
#include "platform/controls/controls.h"
#include "platform/controls/runtime.h"
#include "platform/services/convert.h"
#include "platform/services/error_trap.h"
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

void Module1::ClearStoppedInstall() {
  const std::string archives[] = {kCrosshairArchive, kReticleArchive};
  runtime_.files().FinishStoppedCopies(archives, {});
}

void Module1::SaveAndInstall() {
  auto& store = runtime_.settings();
  store.Save(settings::kSaveApplication, settings::kSection, "CR", CurrentCrosshair);
  store.Save(settings::kSaveApplication, settings::kSection, "RT", CurrentReticle);

  // The saves above stand even when a copy fails; a failed crosshair copy skips the reticle.
  platform::RunTrapped(
      {
          [this] {
            runtime_.files().Copy("cr\\" + CurrentCrosshair + "\\menu.rfa", kCrosshairArchive);
          },
          [this] {
            runtime_.files().Copy("rt\\" + CurrentReticle + "\\game.rfa", kReticleArchive);
          },
      },
      [this](const platform::RuntimeError& error) {
        if (error.number() == platform::error::kPathNotFound) {
          InstallFailed = platform::IntToText(1);
          runtime_.MsgBox(kMissingFolderMessage);
        } else {
          runtime_.MsgBox(kOtherFailureMessage);
          InstallFailed = platform::IntToText(1);
        }
        return platform::Recovery::kLeave;
      });
}

}  // namespace crosshairs
