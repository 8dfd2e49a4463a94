// Apply: the two archives are copied over the mod's as one switch and the choice is saved with
// it, and the user is asked whether to exit or told which kind of failure occurred.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/crosshairs/crosshairs_fixture.h"
#include "tests/support/expected_texts.h"

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
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, text);
    EXPECT_EQ(boxes()[0].flags, 0);
    EXPECT_EQ(boxes()[0].title, "crosshairs");
    EXPECT_EQ(boxes()[0].helpFile, "");
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
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].text, expected::kExitQuestion);
  EXPECT_EQ(boxes()[0].flags, 292);
  EXPECT_EQ(boxes()[0].title, expected::kExitQuestionTitle);
  EXPECT_EQ(boxes()[0].helpFile, "DEMO.HLP");
  EXPECT_EQ(boxes()[0].helpContext, 1000);
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

TEST_F(ApplyTest, MissingCrosshairFolderSkipsTheReticleButKeepsTheChoice) {
  std::filesystem::remove_all("cr/7");
  env.messageBox.Expect(platform::box::kOk);
  Apply();

  ExpectOnlyFailureMessage(expected::kMissingFolderMessage);
  EXPECT_EQ(modFolder.Read("archives\\menu.rfa"), "old menu");
  EXPECT_EQ(modFolder.Read("archives\\bf1942\\game.rfa"), "old game");
  ExpectChoiceSaved();
}

TEST_F(ApplyTest, MissingArchiveInAnExistingFolderIsTheOtherFailure) {
  std::filesystem::remove("cr/7/menu.rfa");
  env.messageBox.Expect(platform::box::kOk);
  Apply();

  ExpectOnlyFailureMessage(expected::kOtherFailureMessage);
  EXPECT_EQ(modFolder.Read("archives\\bf1942\\game.rfa"), "old game");
}

// Both archives are one switch: a reticle that cannot be copied keeps the crosshair old too.
TEST_F(ApplyTest, MissingReticleDestinationFolderLeavesBothArchivesAsTheyWere) {
  std::filesystem::remove_all("archives/bf1942");
  env.messageBox.Expect(platform::box::kOk);
  Apply();

  ExpectOnlyFailureMessage(expected::kMissingFolderMessage);
  EXPECT_EQ(modFolder.Read("archives\\menu.rfa"), "old menu");
  ExpectChoiceSaved();
}

TEST_F(ApplyTest, ReadOnlyDestinationKeepsTheOldArchiveWhole) {
  modFolder.MakeReadOnly("archives\\menu.rfa");
  env.messageBox.Expect(platform::box::kOk);
  Apply();

  ExpectOnlyFailureMessage(expected::kOtherFailureMessage);
  EXPECT_EQ(modFolder.Read("archives\\menu.rfa"), "old menu");
  EXPECT_EQ(modFolder.AllFiles(),
            (std::vector<std::string>{"archives/bf1942/game.rfa", "archives/menu.rfa",
                                      "cr/1/menu.rfa", "cr/7/menu.rfa", "rt/2/game.rfa"}))
      << "no staged copy is left behind";
}

TEST_F(ApplyTest, AnApplyAfterAFailedOneAsksAgain) {
  std::filesystem::remove_all("cr/7");
  env.messageBox.Expect(platform::box::kOk);
  Apply();
  modFolder.Write("cr\\7\\menu.rfa", "crosshair seven, restored");
  env.messageBox.Expect(platform::box::kNo);
  Apply();

  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_EQ(boxes()[1].text, expected::kExitQuestion);
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
  platform::headless::HeadlessEnvironment<platform::headless::PosixFileSystem> next{"crosshairs"};
  next.settings = env.settings;
  next.settings.FailSaves(false);
  crosshairs::Module1 nextModule{next.runtime};
  crosshairs::Form1 nextForm{next.runtime, nextModule};
  next.runtime.Run(nextForm);
  EXPECT_TRUE(next.messageBox.shown().empty());
  EXPECT_EQ(modFolder.Read("archives\\menu.rfa"), "old menu");
  EXPECT_EQ(modFolder.Read("archives\\bf1942\\game.rfa"), "old game");
}

}  // namespace
}  // namespace crosshairs_tests
