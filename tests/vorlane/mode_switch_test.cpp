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
#include "tests/support/expected_texts.h"
#include "tests/support/temp_folder.h"
#include "tests/vorlane/vorlane_fixture.h"
#include "vorlane/mode_switch.h"

namespace vorlane {
namespace {

using platform::CheckBox;

class SwitchTest : public VorlaneTest {
 protected:
  void StartWith(const std::string& mode, const std::string& rtr, const std::string& sw) {
    Store(mode, rtr, sw);
    Start();
    env.settings.ClearLog();
  }
};

TEST(ModeCopySteps, BaseGameFirstThenEachChosenExpansionInOrder) {
  const auto steps = ModeCopySteps(Mode::kEnabled, "True", "true");
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[0].source, "mods\\vl1942\\bfm.con");
  EXPECT_EQ(steps[0].destination, "mods\\bf1942\\init.con");
  EXPECT_EQ(steps[1].source, "mods\\vl1942\\x1m.con");
  EXPECT_EQ(steps[1].destination, "mods\\xpack1\\init.con");
  EXPECT_EQ(steps[2].source, "mods\\vl1942\\x2m.con");
  EXPECT_EQ(steps[2].destination, "mods\\xpack2\\init.con");

  const auto disable = ModeCopySteps(Mode::kDisabled, "False", "1");
  ASSERT_EQ(disable.size(), 2u);
  EXPECT_EQ(disable[0].source, "mods\\vl1942\\bfp.con");
  EXPECT_EQ(disable[1].source, "mods\\vl1942\\x2p.con");
  EXPECT_EQ(disable[1].destination, "mods\\xpack2\\init.con");

  try {
    ModeCopySteps(Mode::kEnabled, "True", "");
    ADD_FAILURE() << "an empty choice must not convert";
  } catch (const platform::RuntimeError& error) {
    EXPECT_EQ(error.number(), platform::error::kTypeMismatch);
  }
}

// The sample game folder of the demo, the benchmark and the end-to-end tests is laid out by a
// script with its own list of the mod's sets: every file of the copy table, each row's three
// with their own contents, and no other set.
TEST(ModeCopies, TheSampleGameFolderHoldsEveryFileOfTheTableAndNoOtherSet) {
  test_support::TempWorkingFolder root;
  ASSERT_EQ(std::system("'" VL_SAMPLE_GAME_SCRIPT "' game"), 0);
  std::vector<std::string> tableFiles;
  for (const ModeCopy& row : kModeCopies) {
    std::set<std::string> contents;
    for (const std::string path : {row.enableSource, row.disableSource, row.destination}) {
      contents.insert(root.Read("game\\" + path));
      tableFiles.push_back("game/" + path);
      std::replace(tableFiles.back().begin(), tableFiles.back().end(), '\\', '/');
    }
    EXPECT_EQ(contents.size(), 3u) << row.destination;
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

  EXPECT_EQ(folder.Read("mods\\bf1942\\init.con"), "set bfm\n");
  EXPECT_EQ(folder.Read("mods\\xpack1\\init.con"), "old xpack1\r\n");
  EXPECT_EQ(folder.Read("mods\\xpack2\\init.con"), "old xpack2\r\n");
  EXPECT_EQ(module1.ModeEnabled, "True");
  EXPECT_EQ(Saves(), (std::vector<std::string>{"mode=True", "rtr=False", "sw=False"}));
  // Only the tray commands change what the tray offers.
  EXPECT_EQ(Popup(), kOffersEnable);

  env.ui.Click(form.Option1);
  EXPECT_EQ(folder.Read("mods\\bf1942\\init.con"), "set bfp\n");
  EXPECT_EQ(module1.ModeEnabled, "False");
  EXPECT_EQ(Popup(), kOffersEnable);
  EXPECT_EQ(folder.AllFiles(), gameFiles);  // no staged or kept-aside file left behind
}

TEST_F(SwitchTest, AHeldArrowKeySwitchesOncePerPress) {
  StartWith("False", "False", "False");
  EXPECT_EQ(&env.ui.PressArrow(form.Option1, platform::ArrowStep::kNext), &form.Option2);
  for (int repeat = 0; repeat < 3; ++repeat)
    EXPECT_EQ(&env.ui.PressArrow(form.Option2, platform::ArrowStep::kNext, true), &form.Option2);
  EXPECT_EQ(folder.Read("mods\\bf1942\\init.con"), "set bfm\n");
  EXPECT_EQ(Saves(), (std::vector<std::string>{"mode=True", "rtr=False", "sw=False"}));
}

TEST_F(SwitchTest, BothBoxesTickedWriteEveryFolderFromItsOwnSource) {
  StartWith("False", "False", "False");
  env.ui.Click(form.Check1);
  env.ui.Click(form.Check2);
  env.settings.ClearLog();

  env.ui.Click(form.Option2);
  EXPECT_EQ(folder.Read("mods\\bf1942\\init.con"), folder.Read("mods\\vl1942\\bfm.con"));
  EXPECT_EQ(folder.Read("mods\\xpack1\\init.con"), folder.Read("mods\\vl1942\\x1m.con"));
  EXPECT_EQ(folder.Read("mods\\xpack2\\init.con"), folder.Read("mods\\vl1942\\x2m.con"));
  EXPECT_EQ(Saves(), (std::vector<std::string>{"mode=True", "rtr=True", "sw=True"}));

  env.ui.Click(form.Option1);
  EXPECT_EQ(folder.Read("mods\\bf1942\\init.con"), folder.Read("mods\\vl1942\\bfp.con"));
  EXPECT_EQ(folder.Read("mods\\xpack1\\init.con"), folder.Read("mods\\vl1942\\x1p.con"));
  EXPECT_EQ(folder.Read("mods\\xpack2\\init.con"), folder.Read("mods\\vl1942\\x2p.con"));
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
  EXPECT_EQ(folder.Read("mods\\xpack2\\init.con"), "old xpack2\r\n");

  form.Check2.SetValue(CheckBox::kGrayed);  // any value but ticked means "False"
  EXPECT_EQ(module1.UseSw, "False");
}

struct BrokenGame {
  const char* name;
  void (*breakIt)(test_support::TempWorkingFolder&);
  const char* fileNamed;
  const char* reason;
};

class FailedSwitchTest : public SwitchTest, public ::testing::WithParamInterface<BrokenGame> {
 protected:
  // The game as it was before the switch was tried, file by file.
  std::map<std::string, std::string> Contents() const {
    std::map<std::string, std::string> contents;
    for (const auto& file : folder.AllFiles()) contents[file] = folder.Read(file);
    return contents;
  }
  void ExpectNothingChanged(const std::map<std::string, std::string>& before,
                            const std::string& mode) {
    ASSERT_EQ(env.messageBox.shown().size(), 1u);
    const auto& box = env.messageBox.shown()[0];
    EXPECT_NE(box.text.find(GetParam().fileNamed), std::string::npos) << box.text;
    EXPECT_NE(box.text.find(GetParam().reason), std::string::npos) << box.text;
    EXPECT_NE(box.text.find(expected::kNothingChanged), std::string::npos) << box.text;
    EXPECT_EQ(box.flags, platform::box::kOkOnly);
    EXPECT_EQ(box.title, "vorlane");

    EXPECT_EQ(Contents(), before);
    EXPECT_TRUE(Saves().empty());
    EXPECT_EQ(Stored("mode"), mode);
    EXPECT_EQ(module1.ModeEnabled, mode);
    EXPECT_EQ(form.Option2.value(), mode == "True");
    EXPECT_EQ(form.Option1.value(), mode != "True");
    EXPECT_FALSE(env.runtime.ended());
    EXPECT_EQ(module1.Loading, "0");
  }
};

TEST_P(FailedSwitchTest, FromTheWindowChangesNothingAndSaysWhy) {
  StartWith("False", "True", "True");
  GetParam().breakIt(folder);
  const auto before = Contents();
  env.messageBox.Expect(platform::box::kOk);

  env.ui.Click(form.Option2);
  ExpectNothingChanged(before, "False");
  EXPECT_EQ(Popup(), kOffersEnable);
}

TEST_P(FailedSwitchTest, FromTheKeyboardRunsOnceAndLeavesTheFocusOnTheModeInForce) {
  StartWith("False", "True", "True");
  GetParam().breakIt(folder);
  const auto before = Contents();
  env.messageBox.Expect(platform::box::kOk);

  EXPECT_EQ(&env.ui.PressArrow(form.Option1, platform::ArrowStep::kNext), &form.Option1);
  ExpectNothingChanged(before, "False");
}

TEST_P(FailedSwitchTest, FromTheTrayKeepsTheEntriesItOffered) {
  StartWith("True", "True", "True");
  GetParam().breakIt(folder);
  const auto before = Contents();
  env.messageBox.Expect(platform::box::kOk);

  EXPECT_EQ(Popup("&Disable"), kOffersDisable);
  ExpectNothingChanged(before, "True");
  EXPECT_EQ(Popup(), kOffersDisable);
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, FailedSwitchTest,
    ::testing::Values(BrokenGame{"MissingExpansionFolder",
                                 [](test_support::TempWorkingFolder&) {
                                   std::filesystem::remove_all("mods/xpack1");
                                 },
                                 "mods\\xpack1\\init.con", expected::kMissingFolderReason},
                      BrokenGame{"MissingSource",
                                 [](test_support::TempWorkingFolder&) {
                                   std::filesystem::remove("mods/vl1942/x2m.con");
                                   std::filesystem::remove("mods/vl1942/x2p.con");
                                 },
                                 "mods\\vl1942\\x2", expected::kMissingFileReason},
                      BrokenGame{"ReadOnlyDestination",
                                 [](test_support::TempWorkingFolder& folder) {
                                   folder.MakeReadOnly("mods\\xpack2\\init.con");
                                 },
                                 "mods\\xpack2\\init.con", expected::kReadOnlyReason}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(SwitchTest, AfterAFailedSwitchTheRepairedGameSwitchesNormally) {
  StartWith("False", "True", "False");
  std::filesystem::remove_all("mods/xpack1");
  env.messageBox.Expect(platform::box::kOk);
  Popup("&Enable");
  EXPECT_EQ(folder.Read("mods\\bf1942\\init.con"), "old bf1942\r\n");

  folder.Write("mods\\xpack1\\init.con", "old xpack1\r\n");
  EXPECT_EQ(Popup("&Enable"), kOffersEnable);
  EXPECT_EQ(folder.Read("mods\\bf1942\\init.con"), "set bfm\n");
  EXPECT_EQ(folder.Read("mods\\xpack1\\init.con"), "set x1m\n");
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
