#pragma once
// The program-wide choice of crosshair and reticle, how it is kept in the settings store, and
// how Apply installs it into the mod's folders.
#include <string>

namespace platform {
class Runtime;
}

namespace crosshairs {

class Form1;

// Where the choice lives in the settings store. The store matches names without regard to
// case; the program gets under one spelling and saves under another, and both must work.
namespace settings {
inline constexpr char kGetApplication[] = "vorlane";
inline constexpr char kSaveApplication[] = "Vorlane";
inline constexpr char kSection[] = "crosshair";
}  // namespace settings

// The mod's archives that Apply replaces: the crosshair's, then the reticle's.
inline constexpr char kCrosshairArchive[] = "archives\\menu.rfa";
inline constexpr char kReticleArchive[] = "archives\\bf1942\\game.rfa";

class Module1 {
 public:
  explicit Module1(platform::Runtime& runtime) : runtime_(runtime) {}
  Module1(const Module1&) = delete;
  Module1& operator=(const Module1&) = delete;

  // The choice as decimal text ("1".."20", "1".."3"), converted only where compared.
  std::string CurrentCrosshair;
  std::string CurrentReticle;
  // "1" once a copy of the running Apply has failed, "0" otherwise.
  std::string InstallFailed;

  // Reads the stored reticle, then the stored crosshair, as they stand (absent: empty text).
  void LoadSettings();

  // Selects the option buttons of the loaded choice, which runs their click handlers. A choice
  // that is not a number raises error 13 to the caller.
  void ShowSavedChoice(Form1& form);

  // Settles an Apply whose program was stopped half-way, its archives and the saved choice
  // together, and tells the player what it could not settle or left alone.
  void FinishStoppedApply();

  // Copies the chosen crosshair and reticle archives over the mod's as one switch, and saves
  // the choice with them. A failed copy is reported to the user, leaves every archive as it
  // was and InstallFailed at "1"; the choice is saved all the same.
  void SaveAndInstall();

 private:
  // The choice as saved now, and what saves `choice` for good: the crosshair and the reticle,
  // one line each. What an Apply is settled with.
  std::string SavedChoice();
  void SaveChoice(const std::string& choice);

  platform::Runtime& runtime_;
};

}  // namespace crosshairs
