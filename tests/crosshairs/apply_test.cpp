// Apply: the two archives are copied over the mod's as one switch and the choice is saved with
// it, and the user is asked whether to exit or told which kind of failure occurred.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/crosshairs/crosshairs_fixture.h"
#include "tests/support/expected_texts.h"
#include "tests/support/program.h"

namespace crosshairs_tests {
namespace {

class ApplyTest : public CrosshairsTest {
 protected:
  // A mod folder with every archive in place; the store remembers crosshair 7 and reticle 2.
  void SetUp() override {
    modFolder.Write("cr\\7\\menu.rfa", std::string("crosshair seven\0\xff", 17));
    modFolder.Write("cr\\1\\menu.rfa", "crosshair one");
    modFolder.Write("rt\\2\\game.rfa", std::string("reticle two\0\x80", 13));
    modFolder.Write("archives\\menu.rfa", "old menu");
    modFolder.Write("archives\\bf1942\\game.rfa", "old game");
    StartWithSevenAndTwo();
  }

  void Apply() { env.ui.Click(form.Mapply); }

  // The choice saved before goes into the switch's record; the new one is saved with it.
  void ExpectChoiceSaved() {
    EXPECT_EQ(env.settings.log(),
              (std::vector<StoreOperation>{{false, "vorlane", "crosshair", "cr", ""},
                                           {false, "vorlane", "crosshair", "rt", ""},
                                           {true, "Vorlane", "crosshair", "CR", "7"},
                                           {true, "Vorlane", "crosshair", "RT", "2"}}));
    EXPECT_EQ(env.settings.Get("vorlane", "crosshair", "cr"), "7");
    EXPECT_EQ(env.settings.Get("vorlane", "crosshair", "rt"), "2");
  }

  void ExpectOnlyFailureMessage(const std::string& text) {
    EXPECT_EQ(boxes(), expected::Told("crosshairs", text));
    EXPECT_FALSE(env.runtime.ended());
    EXPECT_EQ(module1.InstallFailed, "0");
  }
};

TEST_F(ApplyTest, InstallsBothArchivesAndAsksWhetherToExit) {
  env.messageBox.Expect(platform::box::kNo);
  Apply();

  EXPECT_EQ(modFolder.Read("archives\\menu.rfa"), modFolder.Read("cr\\7\\menu.rfa"));
  EXPECT_EQ(modFolder.Read("archives\\bf1942\\game.rfa"), modFolder.Read("rt\\2\\game.rfa"));
  ExpectChoiceSaved();
  EXPECT_EQ(boxes(), expected::Boxes{expected::kExitQuestionBox});
  // No keeps the program running, ready for another Apply that copies and asks again.
  EXPECT_FALSE(env.runtime.ended());
  EXPECT_EQ(module1.InstallFailed, "0");
  modFolder.Write("archives\\menu.rfa", "changed meanwhile");
  env.messageBox.Expect(platform::box::kNo);
  Apply();
  EXPECT_EQ(boxes().size(), 2u);
  EXPECT_EQ(modFolder.Read("archives\\menu.rfa"), modFolder.Read("cr\\7\\menu.rfa"));
}

TEST_F(ApplyTest, YesEndsTheProgram) {
  env.messageBox.Expect(platform::box::kYes);
  Apply();

  EXPECT_TRUE(env.runtime.ended());
  EXPECT_EQ(env.runtime.exitCode(), 0);
  EXPECT_TRUE(env.ui.terminated);
}

TEST_F(ApplyTest, UsesTheChoiceClickedSinceStartUp) {
  env.ui.Click(form.Option1);
  env.messageBox.Expect(platform::box::kNo);
  Apply();

  EXPECT_EQ(modFolder.Read("archives\\menu.rfa"), "crosshair one");
  EXPECT_EQ(env.settings.Get("vorlane", "crosshair", "cr"), "1");
}

// What a failed Apply found, and the message it shows.
struct Failure {
  const char* name;
  const char* removed;   // a folder or file removed, or nullptr
  const char* readOnly;  // a file made read-only, or nullptr
  const char* message;
};
void PrintTo(const Failure& failure, std::ostream* out) {
  *out << failure.name;
}

// Both archives are one switch: whichever fails, both stay as they were, no staged copy is left
// behind, and the choice is saved all the same.
class FailedApplyTest : public ApplyTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(FailedApplyTest, LeavesEveryFileAsItWasButKeepsTheChoice) {
  if (GetParam().removed != nullptr) std::filesystem::remove_all(GetParam().removed);
  if (GetParam().readOnly != nullptr) modFolder.MakeReadOnly(GetParam().readOnly);
  const auto before = test_support::Snapshot();
  env.messageBox.Expect(platform::box::kOk);
  Apply();

  ExpectOnlyFailureMessage(GetParam().message);
  EXPECT_EQ(test_support::Snapshot(), before);
  ExpectChoiceSaved();
}

INSTANTIATE_TEST_SUITE_P(
    Apply, FailedApplyTest,
    ::testing::Values(Failure{"MissingCrosshairFolder", "cr/7", nullptr,
                              expected::kMissingFolderMessage},
                      Failure{"MissingCrosshairArchive", "cr/7/menu.rfa", nullptr,
                              expected::kOtherFailureMessage},
                      Failure{"MissingReticleDestinationFolder", "archives/bf1942", nullptr,
                              expected::kMissingFolderMessage},
                      Failure{"ReadOnlyDestination", nullptr, "archives\\menu.rfa",
                              expected::kOtherFailureMessage}),
    kRowName);

TEST_F(ApplyTest, AnApplyAfterAFailedOneAsksAgain) {
  std::filesystem::remove_all("cr/7");
  env.messageBox.Expect(platform::box::kOk);
  Apply();
  modFolder.Write("cr\\7\\menu.rfa", "crosshair seven, restored");
  env.messageBox.Expect(platform::box::kNo);
  Apply();

  EXPECT_EQ(boxes(), (expected::Boxes{{expected::kMissingFolderMessage, 0, "crosshairs"},
                                      expected::kExitQuestionBox}));
  EXPECT_EQ(modFolder.Read("archives\\menu.rfa"), "crosshair seven, restored");
  EXPECT_EQ(module1.InstallFailed, "0");
}

// The switch stands only once the choice is saved with it: the next start puts it back.
TEST_F(ApplyTest, AStoreThatRefusesToSaveEndsTheProgramAndTheNextStartPutsTheArchivesBack) {
  env.ui.Click(form.Option1);
  env.settings.FailSaves(true);
  env.messageBox.Expect(platform::box::kOk);
  Apply();

  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].text.rfind("Run-time error '5':", 0), 0u) << boxes()[0].text;
  EXPECT_TRUE(env.runtime.ended());
  test_support::Program<platform::headless::PosixFileSystem, crosshairs::Module1, crosshairs::Form1>
      next("crosshairs", env.settings);
  next.env.settings.FailSaves(false);
  next.Start();
  EXPECT_TRUE(next.env.messageBox.shown().empty());
  EXPECT_EQ(modFolder.Read("archives\\menu.rfa"), "old menu");
  EXPECT_EQ(modFolder.Read("archives\\bf1942\\game.rfa"), "old game");
}

}  // namespace
}  // namespace crosshairs_tests
