#include "tests/e2e/scenario.h"

#include "tests/e2e/capture.h"
#include "tests/e2e/registry.h"

namespace e2e {

Scenario::Scenario(std::string section) : section_(std::move(section)) {}

void Scenario::SetUp() {
  ASSERT_TRUE(DeleteUserKey(sectionKey())) << "cannot clear " << sectionKey();
  game_ = std::make_unique<GameFolder>(fs::path(temp_.path()) / "game");
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

bool Scenario::StartProgram(const fs::path& workingFolder) {
  std::string error;
  if (!program.Start(CurrentTarget().exe, workingFolder.string(), error)) {
    ADD_FAILURE() << error;
    return false;
  }
  return true;
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
