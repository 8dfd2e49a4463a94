// Enable, Disable and the expansion boxes: what is copied, what is saved, and a switch that
// cannot be made.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "platform/controls/controls.h"
#include "platform/controls/keyboard_navigation.h"
#include "platform/services/runtime_error.h"
#include "tests/platform/error_of.h"
#include "tests/support/expected_texts.h"
#include "tests/support/temp_folder.h"
#include "tests/vorlane/game_root.h"
#include "tests/vorlane/vorlane_fixture.h"
#include "vorlane/mode_switch.h"

namespace vorlane {
namespace {

using platform::CheckBox;

using SwitchTest = VorlaneTest;

// A switch copies the rows whose gate its choices open, in the table's order, each from the
// mode's set; a choice that does not convert fails before anything is copied.
TEST(ModeCopySteps, TheRowsOfTheOpenGatesInTableOrderFromTheModesSet) {
  struct Choices {
    const char *rtr, *sw;
    bool rtrOpen, swOpen;
  };
  for (const Mode mode : {Mode::kEnabled, Mode::kDisabled}) {
    for (const Choices& c :
         {Choices{"True", "true", true, true}, Choices{"False", "1", false, true},
          Choices{"-1", "false", true, false}, Choices{"0", "False", false, false}}) {
      std::vector<std::string> expected;
      for (const ModeCopy& row : kModeCopies) {
        if (row.gate == Gate::kAlways || (row.gate == Gate::kRtr ? c.rtrOpen : c.swOpen))
          expected.push_back(std::string(SourceFor(row, mode)) + " > " + row.destination);
      }
      std::vector<std::string> steps;
      for (const auto& step : ModeCopySteps(mode, c.rtr, c.sw))
        steps.push_back(step.source + " > " + step.destination);
      EXPECT_EQ(steps, expected) << c.rtr << " " << c.sw;
    }
  }
  EXPECT_EQ(test_support::ErrorOf([] { ModeCopySteps(Mode::kEnabled, "True", ""); }).number(),
            platform::error::kTypeMismatch)
      << "an empty choice must not convert";
}

// The sample game folder of the demo, the benchmark and the end-to-end tests is laid out by a
// script that reads the copy table from the program's source: every file of the table, each
// row's three with their own contents, and no other set.
TEST(ModeCopies, TheSampleGameFolderHoldsEveryFileOfTheTableAndNoOtherSet) {
  test_support::TempWorkingFolder root;
  ASSERT_EQ(std::system("'" VL_SAMPLE_GAME_SCRIPT "' game"), 0);
  std::vector<std::string> tableFiles;
  for (const ModeCopy& row : kModeCopies) {
    std::set<std::string> contents;
    const std::string paths[] = {row.enableSource, row.disableSource, row.destination};
    for (const std::string& path : paths) {
      contents.insert(root.Read("game\\" + path));
      tableFiles.push_back("game/" + NativePath(path));
    }
    EXPECT_EQ(contents.size(), std::size(paths)) << row.destination;
  }
  std::sort(tableFiles.begin(), tableFiles.end());
  std::vector<std::string> setFiles;
  for (const std::string& file : root.AllFiles())
    if (file.ends_with(".con")) setFiles.push_back(file);
  EXPECT_EQ(setFiles, tableFiles);
}

TEST_F(SwitchTest, EnableWithNoBoxWritesOnlyTheBaseGameAndLeavesTheTrayEntries) {
  StartWith("False", "False", "False");
  env.ui.Click(form.Option2);

  EXPECT_EQ(Installed(), Sets("Enable", "original", "original"));
  EXPECT_EQ(module1.ModeEnabled, "True");
  EXPECT_EQ(Saves(), (std::vector<std::string>{"mode=True", "rtr=False", "sw=False"}));
  // Only the tray commands change what the tray offers.
  EXPECT_EQ(Popup(), kOffersEnable);

  env.ui.Click(form.Option1);
  EXPECT_EQ(Installed(), Sets("Disable", "original", "original"));
  EXPECT_EQ(module1.ModeEnabled, "False");
  EXPECT_EQ(Popup(), kOffersEnable);
  EXPECT_EQ(folder.AllFiles(), gameFiles);  // no staged or kept-aside file left behind
}

TEST_F(SwitchTest, AHeldArrowKeySwitchesOncePerPress) {
  StartWith("False", "False", "False");
  EXPECT_EQ(&env.ui.PressArrow(form.Option1, platform::ArrowStep::kNext), &form.Option2);
  for (int repeat = 0; repeat < 3; ++repeat)
    EXPECT_EQ(&env.ui.PressArrow(form.Option2, platform::ArrowStep::kNext, true), &form.Option2);
  EXPECT_EQ(Installed(), Sets("Enable", "original", "original"));
  EXPECT_EQ(Saves(), (std::vector<std::string>{"mode=True", "rtr=False", "sw=False"}));
}

TEST_F(SwitchTest, BothBoxesTickedWriteEveryFolderFromItsOwnSource) {
  StartWith("False", "False", "False");
  env.ui.Click(form.Check1);
  env.ui.Click(form.Check2);
  env.settings.ClearLog();

  env.ui.Click(form.Option2);
  EXPECT_EQ(Installed(), Sets("Enable"));
  EXPECT_EQ(Saves(), (std::vector<std::string>{"mode=True", "rtr=True", "sw=True"}));

  env.ui.Click(form.Option1);
  EXPECT_EQ(Installed(), Sets("Disable"));
}

TEST_F(SwitchTest, ABoxChangedAfterStartSavesAllThreeAndCopiesNothing) {
  StartWith("True", "False", "False");
  env.ui.Click(form.Check1);
  EXPECT_EQ(module1.UseRtr, "True");
  EXPECT_EQ(Saves(), (std::vector<std::string>{"mode=True", "rtr=True", "sw=False"}));

  env.settings.ClearLog();
  env.ui.Click(form.Check2);
  env.ui.Click(form.Check1);
  EXPECT_EQ(Saves(), (std::vector<std::string>{"mode=True", "rtr=True", "sw=True", "mode=True",
                                               "rtr=False", "sw=True"}));
  EXPECT_EQ(folder.AllFiles(), gameFiles);
  EXPECT_EQ(Installed(), Sets("original"));

  form.Check2.SetValue(CheckBox::kGrayed);  // any value but ticked means "False"
  EXPECT_EQ(module1.UseSw, "False");
}

struct BrokenGame {
  const char* name;
  void (*breakIt)(test_support::TempWorkingFolder&);
  std::string (*fileNamed)(Mode switchedTo);
  const char* reason;
};

class FailedSwitchTest : public SwitchTest, public ::testing::WithParamInterface<BrokenGame> {
 protected:
  // Starts with `mode` stored and both expansions ticked, then breaks the game.
  void StartAndBreak(const std::string& mode) {
    mode_ = mode;
    StartWith(mode, "True", "True");
    GetParam().breakIt(folder);
    before_ = test_support::Snapshot();
    env.messageBox.Expect(platform::box::kOk);
  }
  void ExpectNothingChanged() {
    const Mode switchedTo = mode_ == "True" ? Mode::kDisabled : Mode::kEnabled;
    EXPECT_EQ(env.messageBox.shown(),
              expected::Told("vorlane", expected::SwitchFailed(GetParam().fileNamed(switchedTo),
                                                               GetParam().reason)));
    EXPECT_EQ(test_support::Snapshot(), before_);
    EXPECT_TRUE(Saves().empty());
    EXPECT_EQ(Stored("mode"), mode_);
    EXPECT_EQ(module1.ModeEnabled, mode_);
    EXPECT_EQ(form.Option2.value(), mode_ == "True");
    EXPECT_EQ(form.Option1.value(), mode_ != "True");
    EXPECT_FALSE(env.runtime.ended());
    EXPECT_EQ(module1.Loading, "0");
  }

  std::string mode_;
  std::map<std::string, std::string> before_;  // the game as it was before the switch was tried
};

TEST_P(FailedSwitchTest, FromTheWindowChangesNothingAndSaysWhy) {
  StartAndBreak("False");
  env.ui.Click(form.Option2);
  ExpectNothingChanged();
  EXPECT_EQ(Popup(), kOffersEnable);
}

TEST_P(FailedSwitchTest, FromTheKeyboardRunsOnceAndLeavesTheFocusOnTheModeInForce) {
  StartAndBreak("False");
  EXPECT_EQ(&env.ui.PressArrow(form.Option1, platform::ArrowStep::kNext), &form.Option1);
  ExpectNothingChanged();
}

TEST_P(FailedSwitchTest, FromTheTrayKeepsTheEntriesItOffered) {
  StartAndBreak("True");
  EXPECT_EQ(Popup("&Disable"), kOffersDisable);
  ExpectNothingChanged();
  EXPECT_EQ(Popup(), kOffersDisable);
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, FailedSwitchTest,
    ::testing::Values(
        BrokenGame{
            "MissingExpansionFolder",
            [](auto&) { std::filesystem::remove_all(NativeFolder(Row(Gate::kRtr).destination)); },
            [](Mode) -> std::string { return Row(Gate::kRtr).destination; },
            expected::kMissingFolderReason},
        BrokenGame{"MissingSource",
                   [](auto&) {
                     for (const Mode mode : {Mode::kEnabled, Mode::kDisabled})
                       std::filesystem::remove(NativePath(SourceFor(Row(Gate::kSw), mode)));
                   },
                   [](Mode mode) -> std::string { return SourceFor(Row(Gate::kSw), mode); },
                   expected::kMissingFileReason},
        BrokenGame{"ReadOnlyDestination",
                   [](auto& folder) { folder.MakeReadOnly(Row(Gate::kSw).destination); },
                   [](Mode) -> std::string { return Row(Gate::kSw).destination; },
                   expected::kReadOnlyReason}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(SwitchTest, AfterAFailedSwitchTheRepairedGameSwitchesNormally) {
  StartWith("False", "True", "False");
  const ModeCopy& rtr = Row(Gate::kRtr);
  std::filesystem::remove_all(NativeFolder(rtr.destination));
  env.messageBox.Expect(platform::box::kOk);
  Popup("&Enable");
  EXPECT_EQ(Installed(), Sets("original", "missing", "original"));

  folder.Write(rtr.destination, OldContents(rtr.destination));
  EXPECT_EQ(Popup("&Enable"), kOffersEnable);
  EXPECT_EQ(Installed(), Sets("Enable", "Enable", "original"));
  EXPECT_TRUE(form.Option2.value());
  EXPECT_EQ(Stored("mode"), "True");
  EXPECT_EQ(Popup(), kOffersDisable);
}

TEST(SwitchFailedMessage, NamesTheFileAndTheReasonForEachKindOfFailure) {
  using platform::RuntimeError;
  for (const auto& [number, reason] :
       std::map<int, const char*>{{76, expected::kMissingFolderReason},
                                  {53, expected::kMissingFileReason},
                                  {70, expected::kReadOnlyReason},
                                  {61, expected::kDiskFullReason},
                                  {75, expected::kCannotCopyReason}}) {
    EXPECT_EQ(SwitchFailedMessage(RuntimeError(number, "mods\\xpack1\\init.con"), Mode::kEnabled),
              expected::SwitchFailed("mods\\xpack1\\init.con", reason));
  }
  // An undo that failed too: which files hold the new set, and that nothing else changed.
  const RuntimeError cause(70, "mods\\xpack2\\init.con");
  EXPECT_EQ(SwitchFailedMessage(platform::CopyPartlyUndone(cause, {"mods\\bf1942\\init.con"}),
                                Mode::kDisabled),
            "The mode could not be switched.\n\nmods\\xpack2\\init.con: the file is read-only, in "
            "use by another program, or a folder.\n\nThese files could not be put back and hold "
            "the Disable set:\nmods\\bf1942\\init.con\n\nThe other files and the saved mode are "
            "as they were. Switch again to make them agree.");
}

}  // namespace
}  // namespace vorlane
