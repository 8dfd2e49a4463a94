#pragma once
// What every scenario starts from: a fresh sample game folder in a temporary folder, the
// program's settings section cleared, and the program under test started from the folder it
// expects. Whatever a scenario leaves running is killed at its end.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/e2e/files.h"
#include "tests/e2e/planted_dlls.h"
#include "tests/e2e/process.h"
#include "tests/support/temp_folder.h"

namespace e2e {

// The program under test, from the driver's command line.
struct Target {
  std::string program;  // "crosshairs" or "vorlane"
  std::string exe;      // its path, as Windows sees it
};
const Target& CurrentTarget();

class Scenario : public testing::Test {
 protected:
  // `section`: the program's settings section below kSettingsKey.
  explicit Scenario(std::string section);
  void SetUp() override;
  void TearDown() override;

  // Starts the program under test in `workingFolder`; false if it could not be started.
  bool StartProgram(const fs::path& workingFolder) { return StartProgram(program, workingFolder); }
  // Starts another copy of it as `copy`.
  bool StartProgram(Program& copy, const fs::path& workingFolder);
  // Starts a second copy in `workingFolder` and watches it: it must end by itself with exit
  // code 0 and never show a window of its own.
  void ExpectSecondCopyEndsAtOnce(const fs::path& workingFolder);
  // Starts a copy of the program under test placed in `folder`, its working folder, among DLLs
  // planted there under every planting target that a bare window program does not load from
  // its own folder too; nothing (with a failure added) if that could not be done.
  std::unique_ptr<PlantedDlls> StartAmongPlantedDlls(const fs::path& folder);
  // The registry key of the program's settings section.
  std::string sectionKey() const;
  std::optional<std::string> Setting(const std::string& name) const;
  bool Seed(const std::string& name, const std::string& value) const;

  GameFolder& game() { return *game_; }
  // Replaces game() with a fresh copy of the sample in a new folder.
  void NewGame();
  Program program;

 private:
  std::string section_;
  test_support::TempFolder temp_;
  std::unique_ptr<GameFolder> game_;
  int games_ = 0;
};

}  // namespace e2e
