#pragma once
// What every scenario starts from: a fresh sample game folder in a temporary folder, the
// program's settings section cleared, and the program under test started from the folder it
// expects. Whatever a scenario leaves running is killed at its end. The steps both programs
// take alike are here once.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/process.h"
#include "tests/e2e/wait.h"
#include "tests/e2e/windows_ui.h"
#include "tests/support/temp_folder.h"

namespace e2e {

namespace fs = std::filesystem;

// The whole file as bytes; nothing if it cannot be read.
std::optional<std::string> ReadBytes(const fs::path& file);
bool WriteBytes(const fs::path& file, const std::string& bytes);

// The mod's folder below the game's root, where crosshairs runs.
inline constexpr char kModFolder[] = "mods\\vl1942";

// A game's root folder as the programs expect it, with distinct contents in every file: a copy
// of the sample game folder that scripts/sample-game-folder lays out (the one the demo and the
// benchmark use), made before the tests run in the folder the environment variable
// VL_SAMPLE_GAME names.
class GameFolder {
 public:
  // Copies the sample to `root`, which must not exist yet or be empty.
  explicit GameFolder(fs::path root);

  const fs::path& root() const { return root_; }
  // A file by its path below the root, written with backslashes as the programs' tables write
  // their files.
  fs::path file(const std::string& relative) const { return root_ / relative; }

  // What the sample's file holds.
  static std::string Original(const std::string& relative);
  // Puts the sample's file back, and its folder where that is gone.
  bool PutBackOriginal(const std::string& relative) const;

 private:
  fs::path root_;
};

using Strings = std::vector<std::string>;

// The program under test, from the driver's command line.
struct Target {
  std::string program;  // "crosshairs" or "vorlane", also its message boxes' title
  std::string exe;      // its path, as Windows sees it
};
const Target& CurrentTarget();

// What tells the programs apart to a scenario.
struct Profile {
  std::string section;                    // its settings section below kSettingsKey
  Strings settings;                       // the names of its values there
  Strings quiet;                          // values of them that start it without a first-run notice
  std::string title;                      // its window's
  fs::path (*folder)(const GameFolder&);  // where in the game it runs
};

// The message box of `pid` titled `title` once it is shown, checked to say `text` with
// `buttons` (left to right); nothing (with a failure added) if none came.
std::optional<MessageBoxView> ExpectMessageBox(DWORD pid, const std::string& title,
                                               const std::string& text,
                                               const std::vector<int>& buttons = {IDOK});

class Scenario : public testing::Test {
 protected:
  explicit Scenario(Profile profile) : profile_(std::move(profile)) {}
  void SetUp() override;
  void TearDown() override;

  fs::path folder() { return profile_.folder(game()); }
  // Starts the program under test in folder(); false (with a failure added) if it could not be
  // started.
  virtual bool Start() { return StartProgram(program, folder()); }
  // Starts another copy of it as `copy`.
  bool StartProgram(Program& copy, const fs::path& workingFolder);
  HWND WaitForWindow() { return WaitForWindowOf(program.id(), profile_.title); }
  // Its window once shown and the program has finished starting (it waits for input): its
  // window can show while its load handler still runs.
  virtual HWND Started();
  // Starts it with `values` saved (the quiet ones if none are given) and waits as Started().
  HWND StartWith(const Strings& values = {});

  bool Seed(const Strings& values) const;
  std::optional<std::string> Setting(const std::string& name) const;
  // Every value of the section, "<none>" where one is absent.
  Strings Settings() const;
  // What `window` shows of the settings, in the words they are saved in.
  virtual Strings Shown(HWND window) = 0;
  // What the files the program writes hold.
  virtual Strings Files() = 0;
  // Whether `window` (unless null) shows `settings`, they are saved and the files hold `files`:
  // now, or once within `within`.
  testing::AssertionResult Holds(HWND window, const Strings& settings, const Strings& files,
                                 milliseconds within = milliseconds(0));
  testing::AssertionResult Reaches(HWND window, const Strings& settings, const Strings& files) {
    return Holds(window, settings, files, kTimeout);
  }

  // Started with nothing saved: the first-run notice comes before the window. The window, once
  // the notice is answered and the program has started; nothing (with a failure added) if not.
  HWND FirstRunNoticeThenWindow();
  // A second copy started in the same folder ends by itself with exit code 0 and never shows a
  // window of its own, while the first copy's `window` comes back in front and it goes on.
  void ExpectASecondCopyBringsBack(HWND window);
  // Placed in folder() among DLLs planted there under every planting target that a bare window
  // program does not load from its own folder too, it loads none of them and starts as usual.
  void ExpectNoPlantedDllLoaded();
  // Started again: no message box comes, and the window shows `settings`, saved, over `files`.
  void ExpectTheNextStartShows(const Strings& settings, const Strings& files);

  GameFolder& game() { return *game_; }
  // Replaces game() with a fresh copy of the sample in a new folder.
  void NewGame();
  Program program;

 private:
  std::string sectionKey() const;

  Profile profile_;
  test_support::TempFolder temp_;
  std::unique_ptr<GameFolder> game_;
  int games_ = 0;
};

}  // namespace e2e
