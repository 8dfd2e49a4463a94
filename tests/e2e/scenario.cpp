#include "tests/e2e/scenario.h"

#include <algorithm>
#include <iostream>

#include "tests/e2e/capture.h"
#include "tests/e2e/registry.h"
#include "tests/e2e/wait.h"
#include "tests/e2e/windows_ui.h"

namespace e2e {

Scenario::Scenario(std::string section) : section_(std::move(section)) {}

void Scenario::SetUp() {
  ASSERT_TRUE(DeleteUserKey(sectionKey())) << "cannot clear " << sectionKey();
  NewGame();
}

void Scenario::NewGame() {
  game_ =
      std::make_unique<GameFolder>(fs::path(temp_.path()) / ("game" + std::to_string(++games_)));
}

void Scenario::TearDown() {
  if (HasFailure()) {
    // What the screen showed when the scenario failed, beside the other captures.
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (auto image = CaptureScreen(screen)) {
      SaveBmp(*image,
              std::string("failed-") + info->test_suite_name() + "-" + info->name() + ".bmp");
    }
  }
  program.Kill();
  DeleteUserKey(sectionKey());
}

bool Scenario::StartProgram(Program& copy, const fs::path& workingFolder) {
  std::string error;
  if (!copy.Start(CurrentTarget().exe, workingFolder.string(), error)) {
    ADD_FAILURE() << error;
    return false;
  }
  return true;
}

void Scenario::ExpectSecondCopyEndsAtOnce(const fs::path& workingFolder) {
  Program second;
  ASSERT_TRUE(StartProgram(second, workingFolder));
  std::vector<HWND> shown;
  const bool ended = WaitUntil(
      [&] {
        if (shown.empty()) shown = VisibleWindowsOf(second.id());
        return !second.Running();
      },
      kTimeout, milliseconds(10));
  EXPECT_TRUE(ended) << "the second copy still runs";
  EXPECT_EQ(second.ExitCode(), 0u);
  for (HWND window : shown) {
    ADD_FAILURE() << "the second copy showed a window \"" << WindowText(window) << "\" of class "
                  << ClassName(window);
  }
}

std::unique_ptr<PlantedDlls> Scenario::StartAmongPlantedDlls(const fs::path& folder) {
  const fs::path temp(temp_.path());
  if (!PlantedDllLeavesItsMark(temp / "plant-check")) {
    ADD_FAILURE() << "the planted DLL leaves no mark when loaded";
    return nullptr;
  }
  std::string error;
  const auto winesOwn = LoadedByABareWindow(temp / "bare-window", PlantingTargets(), error);
  if (!error.empty()) {
    ADD_FAILURE() << error;
    return nullptr;
  }
  std::vector<std::string> names;
  std::cout << "loaded by a bare window program too, not told apart:";
  for (const std::string& name : PlantingTargets()) {
    if (std::find(winesOwn.begin(), winesOwn.end(), name) == winesOwn.end()) {
      names.push_back(name);
    } else {
      std::cout << " " << name;
    }
  }
  std::cout << std::endl;

  const fs::path exe = folder / fs::path(CurrentTarget().exe).filename();
  std::error_code failure;
  if (!fs::copy_file(CurrentTarget().exe, exe, fs::copy_options::overwrite_existing, failure)) {
    ADD_FAILURE() << "cannot copy the program to " << exe << ": " << failure.message();
    return nullptr;
  }
  auto planted = std::make_unique<PlantedDlls>(folder, names, exe.filename().string());
  if (!planted->planted(error) || !program.Start(exe.string(), folder.string(), error)) {
    ADD_FAILURE() << error;
    return nullptr;
  }
  return planted;
}

std::string Scenario::sectionKey() const {
  return kSettingsKey + "\\" + section_;
}

std::optional<std::string> Scenario::Setting(const std::string& name) const {
  return ReadUserString(sectionKey(), name);
}

bool Scenario::Seed(const std::string& name, const std::string& value) const {
  return WriteUserString(sectionKey(), name, value);
}

}  // namespace e2e
