// vorlane, worked end to end: the first run, switching from the window and from the icon's
// popup menu, a switch that cannot complete, hiding and restoring, leaving, a restarting shell,
// and what the window shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "platform/services/copy_record.h"
#include "platform/services/staged_file_name.h"
#include "resources/embedded_pictures.h"
#include "tests/e2e/capture.h"
#include "tests/e2e/host_process.h"
#include "tests/e2e/scenario.h"
#include "tests/e2e/tray.h"
#include "tests/e2e/wait.h"
#include "tests/e2e/windows_ui.h"
#include "tests/support/expected_texts.h"
#include "tests/vorlane/game_root.h"
#include "vorlane/mode_switch.h"

namespace e2e {
namespace {

using vorlane::Gate;
using vorlane::kModeCopies;
using vorlane::ModeCopy;
using vorlane::Row;
using vorlane::Sets;

constexpr UINT kIconId = 1;

// Where a switch to Enable is stopped dead.
enum class StopAt {
  kRecordWritten,      // its record is beside the first file: at most a few files replaced
  kFirstFileReplaced,  // the first file holds the new set
};
// Fresh game folders tried before giving up on catching a switch at its instant.
constexpr int kStopAttempts = 5;

class Vorlane : public Scenario {
 protected:
  Vorlane() : Scenario("setting") {}

  bool Start() {
    iconsBefore_ = WineTrayIcons();
    return StartProgram(game().root());
  }
  HWND WaitForForm() { return WaitForWindowOf(program.id(), "Vorlane"); }
  HWND StartWithSettings(const std::string& mode, const std::string& rtr, const std::string& sw) {
    if (!Seed("mode", mode) || !Seed("rtr", rtr) || !Seed("sw", sw) || !Start()) return nullptr;
    return WaitForForm();
  }

  HWND EnableOption(HWND form) { return FindButton(form, "Enable"); }
  HWND DisableOption(HWND form) { return FindButton(form, "Disable"); }
  HWND RtrBox(HWND form) { return FindButton(form, "RTR"); }
  HWND SwBox(HWND form) { return FindButton(form, "SW"); }
  // "Enable", "Disable", "both" or "none": the option buttons shown selected.
  std::string SelectedMode(HWND form) {
    const bool enable = CheckState(EnableOption(form)) == BST_CHECKED;
    const bool disable = CheckState(DisableOption(form)) == BST_CHECKED;
    return enable && disable ? "both" : enable ? "Enable" : disable ? "Disable" : "none";
  }
  bool WaitForMode(HWND form, const std::string& mode) {
    return WaitUntil([&] { return SelectedMode(form) == mode; });
  }
  std::vector<std::string> Settings() {
    return {Setting("mode").value_or("<none>"), Setting("rtr").value_or("<none>"),
            Setting("sw").value_or("<none>")};
  }
  bool WaitForSettings(const std::vector<std::string>& expected) {
    return WaitUntil([&] { return Settings() == expected; });
  }

  // What the game's file of `row` holds: "Enable", "Disable", "original", "missing" or the
  // unexpected bytes.
  std::string Installed(const ModeCopy& row) {
    return InstalledSets()[static_cast<std::size_t>(&row - std::begin(kModeCopies))];
  }
  // The files of the copy table, in its order.
  std::vector<std::string> InstalledSets() {
    return vorlane::InstalledSets(
        [&](const std::string& file) { return ReadBytes(game().file(file)); },
        &GameFolder::Original);
  }
  bool PutBackOriginal(const ModeCopy& row) {
    const fs::path file = game().file(row.destination);
    fs::create_directories(file.parent_path());
    return WriteBytes(file, GameFolder::Original(row.destination));
  }
  bool WaitForInstalledSets(const std::vector<std::string>& expected) {
    return WaitUntil([&] { return InstalledSets() == expected; });
  }

  // Files of the program's own beside the game's: staged copies, kept-aside contents, records.
  std::vector<std::string> LeftOvers() {
    std::vector<std::string> found;
    for (const ModeCopy& row : kModeCopies) {
      for (const auto& entry : fs::directory_iterator(game().file(row.destination).parent_path())) {
        if (entry.path().filename().string().find(".~vl") != std::string::npos)
          found.push_back(entry.path().string());
      }
    }
    return found;
  }

  // Starts with Disable saved and in place, both boxes ticked, clicks Enable and ends the
  // process the moment `instant` shows on the disk, as Task Manager's End task does
  // (TerminateProcess, in the same loop that watches). True if the switch was stopped before
  // its end: its record is still there. Prints what the kill left.
  bool KillDuringEnable(StopAt instant) {
    for (const ModeCopy& row : kModeCopies) {
      if (!WriteBytes(game().file(row.destination), GameFolder::Original(row.disableSource)))
        return false;
    }
    HWND form = StartWithSettings("False", "True", "True");
    if (form == nullptr || !WaitUntil([&] { return Icon(form).has_value(); }) ||
        WaitForInputIdle(program.handle(), 60000) != 0) {
      ADD_FAILURE() << "vorlane did not start";
      return false;
    }
    const ModeCopy& first = kModeCopies[0];
    const fs::path record =
        game().file(platform::RecordFileName(first.destination, program.id(), 0));
    const auto exists = [](const fs::path& file) {
      return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    // Watched without opening a file of the game: one held open would refuse the program's
    // rename over it, as a virus scanner's would. The first file is replaced once its staged copy,
    // named in the record, is gone.
    std::optional<fs::path> firstStaged;
    const auto reached = [&] {
      if (!exists(record)) return false;
      if (instant == StopAt::kRecordWritten) return true;
      if (!firstStaged) {
        const auto text = ReadBytes(record);
        if (!text) return false;
        const auto written = platform::ParseCopyRecord(*text);
        if (written.text != platform::RecordText::kWhole) return false;  // still being written
        firstStaged = game().file(written.record.copies.front().staged);
      }
      return !exists(*firstStaged);
    };

    Click(EnableOption(form));
    const auto deadline = std::chrono::steady_clock::now() + kTimeout;
    bool seen = false;
    for (unsigned polls = 0; !seen && std::chrono::steady_clock::now() < deadline; ++polls) {
      seen = reached();
      if (!seen && polls % 64 == 63 && Setting("mode") == "True") break;  // passed between looks
    }
    if (seen) TerminateProcess(program.handle(), 1);
    EXPECT_TRUE(MessageBoxesOf(program.id()).empty()) << "the switch failed";
    program.Kill();
    const bool caught = seen && fs::exists(record);
    int replaced = 0;
    for (const ModeCopy& row : kModeCopies) replaced += Installed(row) == "Enable";
    std::printf("stopped %s: %s, %d of %zu files replaced, mode saved %s\n",
                instant == StopAt::kRecordWritten ? "once the record was seen"
                                                  : "once the first file was replaced",
                !seen    ? "passed unseen"
                : caught ? "record kept"
                         : "record already gone",
                replaced, std::size(kModeCopies), Setting("mode").value_or("<none>").c_str());
    return caught;
  }

  // Stops a switch at `instant`, in fresh folders until one is caught, then starts vorlane
  // again: before its window shows, the files and the saved mode agree and nothing of the
  // stopped switch is left.
  void StopASwitchAndStartAgain(StopAt instant) {
    bool caught = false;
    for (int attempt = 0; !caught && attempt < kStopAttempts; ++attempt) {
      if (attempt > 0) NewGame();
      caught = KillDuringEnable(instant);
      if (HasFatalFailure()) return;
    }
    ASSERT_TRUE(caught) << "the switch ended before the kill " << kStopAttempts << " times";

    ASSERT_TRUE(Start());
    HWND form = WaitForForm();
    ASSERT_NE(form, nullptr);
    const auto sets = InstalledSets();
    const auto mode = Setting("mode");
    EXPECT_TRUE((sets == Sets("Disable") && mode == "False") ||
                (sets == Sets("Enable") && mode == "True"))
        << "files " << testing::PrintToString(sets) << ", mode saved " << mode.value_or("<none>");
    EXPECT_EQ(SelectedMode(form), sets[0]);
    EXPECT_EQ(LeftOvers(), std::vector<std::string>{});
    EXPECT_TRUE(MessageBoxesOf(program.id()).empty());
    std::printf("started again: files %s, mode saved %s\n", sets[0].c_str(),
                mode.value_or("<none>").c_str());
  }

  std::optional<RECT> Icon(HWND form) { return TrayIconPlace(form, kIconId, iconsBefore_); }
  bool ClickIcon(HWND form, MouseButton button) {
    return ClickTrayIcon(form, kIconId, iconsBefore_, button);
  }
  // Opens the icon's popup menu with a real right click.
  HWND OpenPopup(HWND form) {
    if (!ClickIcon(form, MouseButton::kRight)) return nullptr;
    return WaitForPopupMenu(program.id());
  }
  // Chooses "&Enable" or "&Disable" in the popup by its mnemonic.
  bool ChooseFromPopup(HWND form, char mnemonic) {
    HWND popup = OpenPopup(form);
    if (popup == nullptr) return false;
    PostChar(popup, mnemonic);
    return WaitUntil([&] { return !IsWindowVisible(popup); });
  }
  // Chooses "Exit", the last entry.
  bool ExitFromPopup(HWND form) {
    HWND popup = OpenPopup(form);
    if (popup == nullptr) return false;
    PostKey(popup, VK_UP);
    PostKey(popup, VK_RETURN);
    return true;
  }

 private:
  std::vector<HWND> iconsBefore_;
};

TEST_F(Vorlane, FirstRunShowsTheNoticeThenTheModeOffAndAddsTheIcon) {
  ASSERT_TRUE(Start());
  auto notice = WaitForMessageBox(program.id(), "vorlane");
  ASSERT_TRUE(notice) << "no notice titled \"vorlane\"";
  EXPECT_EQ(notice->text, expected::kFirstRunNotice);
  EXPECT_EQ(notice->buttons, std::vector<int>{IDOK});
  EXPECT_EQ(FindWindowOf(program.id(), "Vorlane"), nullptr) << "window shown before the notice";
  ASSERT_TRUE(Answer(*notice, IDOK));

  HWND form = WaitForForm();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(SelectedMode(form), "Disable");
  EXPECT_EQ(CheckState(RtrBox(form)), BST_UNCHECKED);
  EXPECT_EQ(CheckState(SwBox(form)), BST_UNCHECKED);
  EXPECT_EQ(Settings(), (std::vector<std::string>{"False", "False", "False"}));
  EXPECT_EQ(InstalledSets(), Sets("original"));
  EXPECT_TRUE(WaitUntil([&] { return Icon(form).has_value(); })) << "no notification icon";
  RECT client{};
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, 126);
  EXPECT_EQ(client.bottom, 154);
  EXPECT_EQ(GetWindowLongA(form, GWL_STYLE) & WS_CAPTION, 0) << "the window has a title bar";
}

TEST_F(Vorlane, EnableAndDisableFromTheWindowAndTheIconCopyTheMatchingSets) {
  HWND form = StartWithSettings("False", "False", "False");
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Icon(form).has_value(); })) << "no notification icon";

  // Ticking the boxes saves them and copies nothing.
  ASSERT_TRUE(Click(RtrBox(form)));
  ASSERT_TRUE(WaitForCheckState(RtrBox(form), BST_CHECKED));
  ASSERT_TRUE(Click(SwBox(form)));
  ASSERT_TRUE(WaitForCheckState(SwBox(form), BST_CHECKED));
  EXPECT_TRUE(WaitForSettings({"False", "True", "True"}));
  EXPECT_EQ(InstalledSets(), Sets("original"));

  ASSERT_TRUE(Click(EnableOption(form)));
  EXPECT_TRUE(WaitForInstalledSets(Sets("Enable")));
  EXPECT_TRUE(WaitForSettings({"True", "True", "True"}));
  EXPECT_EQ(SelectedMode(form), "Enable");

  // The popup offers what it offered since the start, "&Enable", until a tray command is used:
  // D matches no entry, so E typed after it is the one that switches, again to Enable.
  for (const ModeCopy& row : kModeCopies) ASSERT_TRUE(PutBackOriginal(row));
  HWND popup = OpenPopup(form);
  ASSERT_NE(popup, nullptr) << "no popup menu";
  PostChar(popup, 'd');
  PostChar(popup, 'e');
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(popup); })) << "the popup did not close";
  EXPECT_TRUE(WaitForInstalledSets(Sets("Enable"))) << "the popup offers Disable";

  // Now it offers "&Disable".
  ASSERT_TRUE(ChooseFromPopup(form, 'd'));
  EXPECT_TRUE(WaitForInstalledSets(Sets("Disable")));
  EXPECT_TRUE(WaitForSettings({"False", "True", "True"}));
  EXPECT_TRUE(WaitForMode(form, "Disable"));

  // Unticking SW leaves xpack2 out of the next switch.
  ASSERT_TRUE(Click(SwBox(form)));
  ASSERT_TRUE(WaitForCheckState(SwBox(form), BST_UNCHECKED));
  ASSERT_TRUE(ChooseFromPopup(form, 'e'));
  EXPECT_TRUE(WaitForInstalledSets(Sets("Enable", "Enable", "Disable")));
  EXPECT_TRUE(WaitForSettings({"True", "True", "False"}));
  EXPECT_TRUE(WaitForMode(form, "Enable"));
  EXPECT_TRUE(MessageBoxesOf(program.id()).empty());
  EXPECT_TRUE(program.Running());

  // The next start shows the saved state and copies nothing.
  program.Kill();
  ASSERT_TRUE(PutBackOriginal(Row(Gate::kAlways)));
  ASSERT_TRUE(Start());
  form = WaitForForm();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(SelectedMode(form), "Enable");
  EXPECT_EQ(CheckState(RtrBox(form)), BST_CHECKED);
  EXPECT_EQ(CheckState(SwBox(form)), BST_UNCHECKED);
  EXPECT_EQ(Installed(Row(Gate::kAlways)), "original");
}

TEST_F(Vorlane, TheKeyboardAloneSwitchesTheModeAndTicksABox) {
  HWND form = StartWithSettings("False", "False", "False");
  ASSERT_NE(form, nullptr);
  // Started completely, so that Wine's tray window, shown for the icon, takes no keys meant
  // for the window.
  ASSERT_TRUE(WaitUntil([&] { return Icon(form).has_value(); })) << "no notification icon";
  ASSERT_TRUE(BringToKeyboard(form));
  // Tab enters the mode group at Disable, the mode in force; Down selects Enable.
  PressKey(VK_TAB);
  PressKey(VK_DOWN);
  EXPECT_TRUE(WaitForInstalledSets(Sets("Enable", "original", "original")));
  EXPECT_TRUE(WaitForSettings({"True", "False", "False"}));
  EXPECT_EQ(SelectedMode(form), "Enable");
  // On to RTR, ticked with Space; Shift+Tab returns to the group at Enable.
  PressKey(VK_TAB);
  PressKey(VK_SPACE);
  EXPECT_TRUE(WaitForSettings({"True", "True", "False"}));
  PressKey(VK_TAB, true);
  PressKey(VK_DOWN);  // wraps round to Disable
  EXPECT_TRUE(WaitForInstalledSets(Sets("Disable", "Disable", "original")));
  EXPECT_TRUE(WaitForSettings({"False", "True", "False"}));
  PressKey(VK_UP);  // and back to Enable
  EXPECT_TRUE(WaitForInstalledSets(Sets("Enable", "Enable", "original")));
  EXPECT_TRUE(WaitForSettings({"True", "True", "False"}));
  EXPECT_TRUE(WaitForMode(form, "Enable"));
  // Held down, a key switches once however many key-downs the keyboard repeats. RTR is
  // unticked after it, so that its last save tells when the held key's work is done.
  PressKey(VK_DOWN, false, 4);
  PressKey(VK_TAB);
  PressKey(VK_SPACE);
  EXPECT_TRUE(WaitForSettings({"False", "False", "False"}));
  EXPECT_TRUE(WaitForInstalledSets(Sets("Disable", "Disable", "original")));
  EXPECT_TRUE(MessageBoxesOf(program.id()).empty());
}

TEST_F(Vorlane, ASwitchThatCannotCompleteChangesNothingAndTheProgramGoesOn) {
  HWND form = StartWithSettings("False", "False", "True");
  ASSERT_NE(form, nullptr);
  ASSERT_EQ(CheckState(SwBox(form)), BST_CHECKED);
  fs::remove_all(game().file(Row(Gate::kSw).destination).parent_path());

  // From the window.
  ASSERT_TRUE(Click(EnableOption(form)));
  auto failure = WaitForMessageBox(program.id(), "vorlane");
  ASSERT_TRUE(failure) << "no message for the missing xpack2 folder";
  EXPECT_EQ(failure->text,
            expected::SwitchFailed(Row(Gate::kSw).destination, expected::kMissingFolderReason));
  EXPECT_EQ(failure->buttons, std::vector<int>{IDOK});
  EXPECT_EQ(InstalledSets(), Sets("original", "original", "missing"));
  EXPECT_EQ(Settings(), (std::vector<std::string>{"False", "False", "True"}));
  ASSERT_TRUE(Answer(*failure, IDOK));
  EXPECT_TRUE(WaitForMode(form, "Disable")) << "the option does not show the mode in force";
  ASSERT_TRUE(program.Running());

  // From the popup menu, with RTR ticked and its folder gone as well.
  ASSERT_TRUE(Click(RtrBox(form)));
  ASSERT_TRUE(WaitForSettings({"False", "True", "True"}));
  fs::remove_all(game().file(Row(Gate::kRtr).destination).parent_path());
  ASSERT_TRUE(WaitUntil([&] { return Icon(form).has_value(); })) << "no notification icon";
  ASSERT_TRUE(ChooseFromPopup(form, 'e'));
  failure = WaitForMessageBox(program.id(), "vorlane");
  ASSERT_TRUE(failure) << "no message for the missing xpack1 folder";
  EXPECT_EQ(failure->text,
            expected::SwitchFailed(Row(Gate::kRtr).destination, expected::kMissingFolderReason));
  EXPECT_EQ(InstalledSets(), Sets("original", "missing", "missing"));
  EXPECT_EQ(Settings(), (std::vector<std::string>{"False", "True", "True"}));
  ASSERT_TRUE(Answer(*failure, IDOK));
  EXPECT_TRUE(WaitForMode(form, "Disable"));
  ASSERT_TRUE(program.Running());

  // Once the folders are back, the popup still offers Enable, and it works.
  for (Gate gate : {Gate::kRtr, Gate::kSw}) ASSERT_TRUE(PutBackOriginal(Row(gate)));
  ASSERT_TRUE(ChooseFromPopup(form, 'e'));
  EXPECT_TRUE(WaitForInstalledSets(Sets("Enable")));
  EXPECT_TRUE(WaitForSettings({"True", "True", "True"}));
  EXPECT_TRUE(WaitForMode(form, "Enable"));
}

TEST_F(Vorlane, KilledOnceItsFirstFileIsReplacedTheNextStartPutsOneSetEverywhere) {
  StopASwitchAndStartAgain(StopAt::kFirstFileReplaced);
}

TEST_F(Vorlane, KilledOnceItsRecordIsWrittenTheNextStartPutsOneSetEverywhere) {
  StopASwitchAndStartAgain(StopAt::kRecordWritten);
}

// A record it did not write, as an earlier version's would be, naming a file of the player's
// outside the game folder to remove: the start tells of it and leaves it and that file alone.
TEST_F(Vorlane, ARecordItDidNotWriteIsLeftAloneWithTheFileItNamesAndToldOf) {
  const std::string record = platform::RecordFileName(kModeCopies[0].destination, 1, 0);
  const std::string planted = "vl copies 1\nnote False\ncopy ..\\victim.txt\t" +
                              platform::StagedFileName("..\\victim.txt", 1, 1) + "\t\nend\n";
  const fs::path victim = game().root().parent_path() / "victim.txt";
  ASSERT_TRUE(WriteBytes(game().file(record), planted));
  ASSERT_TRUE(WriteBytes(victim, "the player's own"));
  ASSERT_TRUE(Seed("mode", "False") && Seed("rtr", "True") && Seed("sw", "True") && Start());

  auto told = WaitForMessageBox(program.id(), "vorlane");
  ASSERT_TRUE(told) << "nothing told";
  EXPECT_EQ(told->text,
            vorlane::StoppedSwitchMessage(platform::RepairReport{.leftAlone = {record}}));
  ASSERT_TRUE(Answer(*told, IDOK));
  ASSERT_NE(WaitForForm(), nullptr);
  EXPECT_EQ(ReadBytes(victim), "the player's own");
  EXPECT_EQ(ReadBytes(game().file(record)), planted);
  EXPECT_EQ(InstalledSets(), Sets("original"));
}

TEST_F(Vorlane, MinimisingHidesTheWindowAndALeftClickOnTheIconRestoresIt) {
  HWND form = StartWithSettings("False", "False", "False");
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Icon(form).has_value(); })) << "no notification icon";

  ShowWindowAsync(form, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(form); })) << "still visible";
  ASSERT_TRUE(ClickIcon(form, MouseButton::kLeft));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(form) && !IsIconic(form); }))
      << "not restored";

  // Again through the system command, and a right click while hidden keeps it hidden.
  PostMessageA(form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(form); }));
  HWND popup = OpenPopup(form);
  ASSERT_NE(popup, nullptr);
  PostKey(popup, VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(popup); }));
  EXPECT_FALSE(IsWindowVisible(form));
  ASSERT_TRUE(ClickIcon(form, MouseButton::kLeft));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(form) && !IsIconic(form); }));
  EXPECT_EQ(InstalledSets(), Sets("original"));
}

TEST_F(Vorlane, ASecondCopyInTheSameFolderBringsBackTheHiddenWindowAndEnds) {
  HWND form = StartWithSettings("False", "False", "False");
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Icon(form).has_value(); })) << "no notification icon";
  ShowWindowAsync(form, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(form); })) << "still visible";

  ExpectSecondCopyEndsAtOnce(game().root());
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(form) && !IsIconic(form); }))
      << "the first copy's window is not back";
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == form; })) << "not in front";
  EXPECT_TRUE(program.Running()) << "the first copy ended with " << program.ExitCode().value_or(0);
  EXPECT_TRUE(Icon(form).has_value());
}

// A first copy that hangs (its host process stopped) does not leave a second copy ending with
// nothing shown: the second says so in a box of the program's title, and ends once answered.
TEST_F(Vorlane, ASecondCopyBesideAFirstThatHangsSaysSoAndEnds) {
  if (!fs::exists("Z:\\proc\\self")) GTEST_SKIP() << "no host process to stop: not under Wine";
  HWND form = StartWithSettings("False", "False", "False");
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Icon(form).has_value(); })) << "no notification icon";
  const auto host = HostProcessOf(fs::path(CurrentTarget().exe).filename().string(), game().root());
  ASSERT_TRUE(host) << "no host process of the first copy in " << game().root();
  ASSERT_TRUE(StopHostProcess(*host));
  struct Resume {
    int pid;
    ~Resume() { ContinueHostProcess(pid); }
  } resume{*host};

  Program second;
  ASSERT_TRUE(StartProgram(second, game().root()));
  auto box = WaitForMessageBox(second.id(), "vorlane");
  ASSERT_TRUE(box) << "no message box titled \"vorlane\"";
  EXPECT_EQ(box->text, expected::HolderNotAnswering("vorlane"));
  EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
  // The whole box, its title bar too, once its inner area is drawn where it stays.
  RECT place{};
  const auto image = CaptureWindow(box->window) && GetWindowRect(box->window, &place)
                         ? CaptureScreen(place)
                         : std::nullopt;
  EXPECT_TRUE(image && SaveBmp(*image, "vorlane-not-answering.bmp")) << "cannot capture the box";
  EXPECT_TRUE(Answer(*box, IDOK));
  EXPECT_TRUE(second.WaitForExit(kTimeout.count())) << "the second copy still runs";
  EXPECT_EQ(second.ExitCode(), 0u);

  ASSERT_TRUE(ContinueHostProcess(*host));
  PostMessageA(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(15000)) << "the first copy did not close once continued";
}

TEST_F(Vorlane, ExitFromThePopupRemovesTheIconAndEndsTheProgram) {
  HWND form = StartWithSettings("True", "False", "False");
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Icon(form).has_value(); })) << "no notification icon";
  ASSERT_TRUE(ExitFromPopup(form));
  EXPECT_TRUE(program.WaitForExit(15000)) << "still running after Exit";
  EXPECT_TRUE(WaitUntil([&] { return !Icon(form).has_value(); })) << "the icon stays";
  EXPECT_EQ(Settings(), (std::vector<std::string>{"True", "False", "False"}));
  EXPECT_EQ(InstalledSets(), Sets("original"));
}

TEST_F(Vorlane, ClosingTheWindowRemovesTheIconToo) {
  HWND form = StartWithSettings("False", "False", "False");
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Icon(form).has_value(); })) << "no notification icon";
  PostMessageA(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(15000)) << "still running after its window closed";
  EXPECT_TRUE(WaitUntil([&] { return !Icon(form).has_value(); })) << "the icon stays";
}

TEST_F(Vorlane, TheIconComesBackWhenTheShellRestarts) {
  HWND form = StartWithSettings("False", "False", "False");
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Icon(form).has_value(); })) << "no notification icon";
  // A restarting shell has forgotten every icon, then tells the top-level windows.
  ASSERT_TRUE(RemoveTrayIcon(form, kIconId));
  ASSERT_TRUE(WaitUntil([&] { return !Icon(form).has_value(); }));
  PostMessageA(form, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return Icon(form).has_value(); })) << "the icon does not come back";
  // And it works as before.
  ASSERT_TRUE(ChooseFromPopup(form, 'e'));
  EXPECT_TRUE(WaitForInstalledSets(Sets("Enable", "original", "original")));
}

TEST_F(Vorlane, WindowShowsTheBitmapAndGreenCaptions) {
  HWND form = StartWithSettings("True", "True", "False");
  ASSERT_NE(form, nullptr);
  HWND picture = ChildAt(form, {0, 0});
  HWND enabledLabel = FindControl(form, "Enabled");
  ASSERT_NE(picture, nullptr);
  ASSERT_NE(enabledLabel, nullptr);
  // Started completely: the icon is in place too (Wine shows its tray window for it).
  ASSERT_TRUE(WaitUntil([&] { return Icon(form).has_value(); })) << "no notification icon";

  auto image = CaptureWindow(form);
  ASSERT_TRUE(image) << "cannot capture the window";
  EXPECT_TRUE(SaveBmp(*image, "vorlane.bmp"));
  const RECT client = ClientRectOnScreen(form);
  const POINT origin{client.left, client.top};
  const RECT pictureArea = AreaOf(picture, origin);
  EXPECT_GT(PixelsIn(pictureArea) - CountPixels(*image, pictureArea, kBlackPixel),
            PixelsIn(pictureArea) / 20)
      << "the bitmap is missing";
  const auto file = resources::TrayBitmap();
  auto bitmap = DecodeBmp24(file.data, file.size);
  ASSERT_TRUE(bitmap);
  EXPECT_TRUE(ShowsPicture(*image, pictureArea, *bitmap)) << "the bitmap is not shown whole";
  EXPECT_GT(CountPixels(*image, AreaOf(enabledLabel, origin), kGreenPixel), 0)
      << "the \"Enabled\" caption is not green";
  EXPECT_GT(CountPixels(*image, {0, pictureArea.bottom, image->width, image->height}, kBlackPixel),
            0)
      << "the background below the bitmap is not black";
}

// Placed in the game's folder among DLLs planted under system DLLs' names, it loads none of
// them and starts as usual.
TEST_F(Vorlane, LoadsNoDllPlantedBesideIt) {
  ASSERT_TRUE(Seed("mode", "False") && Seed("rtr", "False") && Seed("sw", "False"));
  auto planted = StartAmongPlantedDlls(game().root());
  ASSERT_TRUE(planted);
  EXPECT_NE(WaitForForm(), nullptr);
  // Some DLLs are loaded only when the window is first painted, which is done once it is idle.
  EXPECT_EQ(WaitForInputIdle(program.handle(), kTimeout.count()), 0u);
  EXPECT_EQ(planted->Loaded(), std::vector<std::string>{});
}

}  // namespace
}  // namespace e2e
