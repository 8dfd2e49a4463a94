// vorlane, worked end to end: the first run, switching from the window and from the icon's
// popup menu, a switch that cannot complete or is stopped dead, hiding and restoring, leaving,
// a restarting shell, what the window shows, and a long soak of switches and icon callbacks.
#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <utility>

#include "platform/services/copy_record.h"
#include "platform/services/staged_file_name.h"
#include "resources/embedded_pictures.h"
#include "tests/e2e/capture.h"
#include "tests/e2e/scenario.h"
#include "tests/e2e/usage.h"
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

// The icons that Wine shows in its own tray window when no desktop tray runs; none on Windows.
std::vector<HWND> WineTrayIcons() {
  HWND tray = FindWindowA(nullptr, "Wine System Tray");
  if (tray == nullptr || !IsWindowVisible(tray)) return {};
  std::vector<HWND> icons;
  for (HWND child : Descendants(tray)) {
    if (GetParent(child) == tray && IsWindowVisible(child)) icons.push_back(child);
  }
  return icons;
}

// The host's processes beneath the programs run under Wine, which shows the host's root as Z:.
const fs::path kHostProcesses = "Z:\\proc";

// A folder's file index: the same by whichever path (a link in /proc included) it is reached.
std::optional<std::pair<DWORD, DWORD>> FolderIndex(const fs::path& folder) {
  HANDLE handle = CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION information{};
  const BOOL known = GetFileInformationByHandle(handle, &information);
  CloseHandle(handle);
  if (!known) return std::nullopt;
  return std::pair{information.nFileIndexHigh, information.nFileIndexLow};
}

std::string FirstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

// The state letter in /proc/PID/stat, after the name in parentheses: 'T' while stopped.
char StateOf(int pid) {
  const std::string stat = FirstLine(kHostProcesses / std::to_string(pid) / "stat");
  const auto nameEnd = stat.rfind(')');
  return nameEnd == std::string::npos || nameEnd + 2 >= stat.size() ? '?' : stat[nameEnd + 2];
}

// The host process id of the program `exeName` ("vorlane.exe") working in `workingFolder`;
// nothing where there is none (or no host's /proc to look in: not under Wine).
std::optional<int> HostProcessOf(const std::string& exeName, const fs::path& workingFolder) {
  const auto folder = FolderIndex(workingFolder);
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(kHostProcesses, error)) {
    // The host names a Wine process after its exe, at most 15 characters of it; /proc's other
    // entries have no such name, but for "self", the driver.
    if (FirstLine(entry.path() / "comm") != exeName.substr(0, 15)) continue;
    if (folder && FolderIndex(entry.path() / "cwd") == folder)
      return std::stoi(entry.path().filename().string());
  }
  return std::nullopt;
}

// Stops the process (SIGSTOP) or, not `held`, lets it go on (SIGCONT), as a program that hangs
// would be; true once it shows the new state. The host's shell sends the signal: Wine starts a
// host program like a Windows one, but its end cannot be waited for.
bool HoldHostProcess(int pid, bool held) {
  std::string command =
      "sh -c \"kill -" + std::string(held ? "STOP " : "CONT ") + std::to_string(pid) + "\"";
  STARTUPINFOA startup{sizeof startup};
  PROCESS_INFORMATION shell{};
  if (!CreateProcessA("Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &shell))
    return false;
  CloseHandle(shell.hThread);
  CloseHandle(shell.hProcess);
  return WaitUntil([pid, held] { return (StateOf(pid) == 'T') == held; });
}

std::string FolderOf(Gate gate) {
  return fs::path(Row(gate).destination).parent_path().string();
}

class Vorlane : public Scenario {
 protected:
  Vorlane()
      : Scenario({"setting",
                  {"mode", "rtr", "sw"},
                  {"False", "False", "False"},
                  "Vorlane",
                  [](const GameFolder& game) { return game.root(); }}) {}

  bool Start() override {
    iconsBefore_ = WineTrayIcons();
    return Scenario::Start();
  }
  // Started completely: its icon is in place too, so that Wine's tray window, shown for it, takes
  // no keys meant for the window.
  HWND Started() override {
    HWND form = Scenario::Started();
    if (form == nullptr || WaitUntil([&] { return Icon(form).has_value(); })) return form;
    ADD_FAILURE() << "no notification icon";
    return nullptr;
  }
  // The option selected ("True" for Enable, "False" for Disable, else "both" or "none") and
  // whether RTR and SW are ticked.
  Strings Shown(HWND form) override {
    const auto ticked = [&](const char* caption) {
      return CheckState(FindButton(form, caption)) == BST_CHECKED;
    };
    const bool enable = ticked("Enable");
    return {enable == ticked("Disable") ? (enable ? "both" : "none")
            : enable                    ? "True"
                                        : "False",
            ticked("RTR") ? "True" : "False", ticked("SW") ? "True" : "False"};
  }
  // What the game's files of the copy table hold, in its order: "Enable", "Disable",
  // "original", "missing" or the unexpected bytes.
  Strings Files() override {
    return vorlane::InstalledSets(
        [&](const std::string& file) { return ReadBytes(game().file(file)); },
        &GameFolder::Original);
  }

  // Files of the program's own beside the game's: staged copies, kept-aside contents, records.
  Strings LeftOvers() {
    Strings found;
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
    HWND form = StartWith({"False", "True", "True"});
    if (form == nullptr) return false;
    const fs::path record =
        game().file(platform::RecordFileName(kModeCopies[0].destination, program.id(), 0));
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

    Click(FindButton(form, "Enable"));
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
    std::printf("stopped %s: %s, files %s, mode saved %s\n",
                instant == StopAt::kRecordWritten ? "once the record was seen"
                                                  : "once the first file was replaced",
                !seen    ? "passed unseen"
                : caught ? "record kept"
                         : "record already gone",
                testing::PrintToString(Files()).c_str(),
                Setting("mode").value_or("<none>").c_str());
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
    HWND form = WaitForWindow();
    ASSERT_NE(form, nullptr);
    const bool enabled = Setting("mode") == "True";
    EXPECT_TRUE(Holds(form, {enabled ? "True" : "False", "True", "True"},
                      Sets(enabled ? "Enable" : "Disable")));
    EXPECT_EQ(LeftOvers(), Strings{});
    EXPECT_TRUE(MessageBoxesOf(program.id()).empty());
    std::printf("started again: files %s, mode saved %s\n", Files()[0].c_str(),
                Setting("mode").value_or("<none>").c_str());
  }

  // Where its icon is on screen: from the shell where it can tell, else, in Wine's tray window,
  // the one icon that was not there before the program started. Nothing if it is not shown.
  std::optional<RECT> Icon(HWND form) {
    NOTIFYICONIDENTIFIER identifier{sizeof(NOTIFYICONIDENTIFIER), form, kIconId, {}};
    RECT place{};
    const HRESULT result = Shell_NotifyIconGetRect(&identifier, &place);
    if (SUCCEEDED(result)) return place;
    std::vector<HWND> added;
    for (HWND icon : WineTrayIcons()) {
      if (std::ranges::find(iconsBefore_, icon) == iconsBefore_.end()) added.push_back(icon);
    }
    if (result != E_NOTIMPL || added.size() != 1 || !GetWindowRect(added[0], &place)) return {};
    return place;
  }
  // A real click on its icon. Wine's tray window is an ordinary window that others may cover: it
  // is raised above them first, as a taskbar stays.
  bool ClickIcon(HWND form, MouseButton button) {
    const auto place = Icon(form);
    if (!place) return false;
    const POINT centre = Centre(*place);
    if (HWND tray = FindWindowA(nullptr, "Wine System Tray")) {
      SetWindowPos(tray, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      if (!WaitUntil([&] { return GetAncestor(WindowFromPoint(centre), GA_ROOT) == tray; }))
        return false;
    }
    return ClickAt(centre, button);
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

 private:
  std::vector<HWND> iconsBefore_;
};

TEST_F(Vorlane, FirstRunShowsTheNoticeThenTheModeOffAndAddsTheIcon) {
  HWND form = FirstRunNoticeThenWindow();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(Holds(form, {"False", "False", "False"}, Sets("original")));
  RECT client{};
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, 126);
  EXPECT_EQ(client.bottom, 154);
  EXPECT_EQ(GetWindowLongA(form, GWL_STYLE) & WS_CAPTION, 0) << "the window has a title bar";
}

TEST_F(Vorlane, EnableAndDisableFromTheWindowAndTheIconCopyTheMatchingSets) {
  HWND form = StartWith();
  ASSERT_NE(form, nullptr);

  // Ticking the boxes saves them and copies nothing.
  for (const char* box : {"RTR", "SW"}) {
    ASSERT_TRUE(Click(FindButton(form, box)));
    ASSERT_TRUE(WaitForCheckState(FindButton(form, box), BST_CHECKED));
  }
  EXPECT_TRUE(Reaches(form, {"False", "True", "True"}, Sets("original")));

  ASSERT_TRUE(Click(FindButton(form, "Enable")));
  EXPECT_TRUE(Reaches(form, {"True", "True", "True"}, Sets("Enable")));

  // The popup offers what it offered since the start, "&Enable", until a tray command is used:
  // D matches no entry, so E typed after it is the one that switches, again to Enable.
  for (const ModeCopy& row : kModeCopies) ASSERT_TRUE(game().PutBackOriginal(row.destination));
  HWND popup = OpenPopup(form);
  ASSERT_NE(popup, nullptr) << "no popup menu";
  PostChar(popup, 'd');
  PostChar(popup, 'e');
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(popup); })) << "the popup did not close";
  EXPECT_TRUE(Reaches(form, {"True", "True", "True"}, Sets("Enable")))
      << "the popup offers Disable";

  // Now it offers "&Disable".
  ASSERT_TRUE(ChooseFromPopup(form, 'd'));
  EXPECT_TRUE(Reaches(form, {"False", "True", "True"}, Sets("Disable")));

  // Unticking SW leaves xpack2 out of the next switch.
  ASSERT_TRUE(Click(FindButton(form, "SW")));
  ASSERT_TRUE(WaitForCheckState(FindButton(form, "SW"), BST_UNCHECKED));
  ASSERT_TRUE(ChooseFromPopup(form, 'e'));
  EXPECT_TRUE(Reaches(form, {"True", "True", "False"}, Sets("Enable", "Enable", "Disable")));
  EXPECT_TRUE(MessageBoxesOf(program.id()).empty());
  EXPECT_TRUE(program.Running());

  // The next start shows the saved state and copies nothing.
  program.Kill();
  ASSERT_TRUE(game().PutBackOriginal(Row(Gate::kAlways).destination));
  ExpectTheNextStartShows({"True", "True", "False"}, Sets("original", "Enable", "Disable"));
}

TEST_F(Vorlane, TheKeyboardAloneSwitchesTheModeAndTicksABox) {
  HWND form = StartWith();
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(BringToKeyboard(form));
  // Tab enters the mode group at Disable, the mode in force; Down selects Enable.
  PressKey(VK_TAB);
  PressKey(VK_DOWN);
  EXPECT_TRUE(Reaches(form, {"True", "False", "False"}, Sets("Enable", "original", "original")));
  // On to RTR, ticked with Space; Shift+Tab returns to the group at Enable.
  PressKey(VK_TAB);
  PressKey(VK_SPACE);
  EXPECT_TRUE(Reaches(form, {"True", "True", "False"}, Sets("Enable", "original", "original")));
  PressKey(VK_TAB, true);
  PressKey(VK_DOWN);  // wraps round to Disable
  EXPECT_TRUE(Reaches(form, {"False", "True", "False"}, Sets("Disable", "Disable", "original")));
  PressKey(VK_UP);  // and back to Enable
  EXPECT_TRUE(Reaches(form, {"True", "True", "False"}, Sets("Enable", "Enable", "original")));
  // Held down, a key switches once however many key-downs the keyboard repeats. RTR is
  // unticked after it, so that its last save tells when the held key's work is done.
  PressKey(VK_DOWN, false, 4);
  PressKey(VK_TAB);
  PressKey(VK_SPACE);
  EXPECT_TRUE(Reaches(form, {"False", "False", "False"}, Sets("Disable", "Disable", "original")));
  EXPECT_TRUE(MessageBoxesOf(program.id()).empty());
}

TEST_F(Vorlane, ASwitchThatCannotCompleteChangesNothingAndTheProgramGoesOn) {
  HWND form = StartWith({"False", "False", "True"});
  ASSERT_NE(form, nullptr);
  ASSERT_EQ(Shown(form), (Strings{"False", "False", "True"}));
  // The box naming the file whose folder is gone, with nothing changed; answered, the window
  // shows the mode in force again and the program goes on.
  const auto failsAt = [&](Gate gate, const Strings& settings, const Strings& sets) {
    auto failure = ExpectMessageBox(
        program.id(), "vorlane",
        expected::SwitchFailed(Row(gate).destination, expected::kMissingFolderReason));
    ASSERT_TRUE(failure) << "no message for the missing " << FolderOf(gate) << " folder";
    EXPECT_TRUE(Holds(nullptr, settings, sets));
    ASSERT_TRUE(Answer(*failure, IDOK));
    EXPECT_TRUE(Reaches(form, settings, sets)) << "the option does not show the mode in force";
    ASSERT_TRUE(program.Running());
  };

  // From the window.
  fs::remove_all(game().file(FolderOf(Gate::kSw)));
  ASSERT_TRUE(Click(FindButton(form, "Enable")));
  ASSERT_NO_FATAL_FAILURE(
      failsAt(Gate::kSw, {"False", "False", "True"}, Sets("original", "original", "missing")));

  // From the popup menu, with RTR ticked and its folder gone as well.
  ASSERT_TRUE(Click(FindButton(form, "RTR")));
  ASSERT_TRUE(Reaches(form, {"False", "True", "True"}, Sets("original", "original", "missing")));
  fs::remove_all(game().file(FolderOf(Gate::kRtr)));
  ASSERT_TRUE(ChooseFromPopup(form, 'e'));
  ASSERT_NO_FATAL_FAILURE(
      failsAt(Gate::kRtr, {"False", "True", "True"}, Sets("original", "missing", "missing")));

  // Once the folders are back, the popup still offers Enable, and it works.
  for (Gate gate : {Gate::kRtr, Gate::kSw})
    ASSERT_TRUE(game().PutBackOriginal(Row(gate).destination));
  ASSERT_TRUE(ChooseFromPopup(form, 'e'));
  EXPECT_TRUE(Reaches(form, {"True", "True", "True"}, Sets("Enable")));
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
  ASSERT_TRUE(Seed({"False", "True", "True"}) && Start());

  auto told = ExpectMessageBox(
      program.id(), "vorlane",
      vorlane::StoppedSwitchMessage(platform::RepairReport{.leftAlone = {record}}));
  ASSERT_TRUE(told) << "nothing told";
  ASSERT_TRUE(Answer(*told, IDOK));
  ASSERT_NE(WaitForWindow(), nullptr);
  EXPECT_EQ(ReadBytes(victim), "the player's own");
  EXPECT_EQ(ReadBytes(game().file(record)), planted);
  EXPECT_EQ(Files(), Sets("original"));
}

TEST_F(Vorlane, MinimisingHidesTheWindowAndALeftClickOnTheIconRestoresIt) {
  HWND form = StartWith();
  ASSERT_NE(form, nullptr);
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
  EXPECT_EQ(Files(), Sets("original"));
}

TEST_F(Vorlane, ASecondCopyInTheSameFolderBringsBackTheHiddenWindowAndEnds) {
  HWND form = StartWith();
  ASSERT_NE(form, nullptr);
  ShowWindowAsync(form, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(form); })) << "still visible";
  ExpectASecondCopyBringsBack(form);
  EXPECT_TRUE(Icon(form).has_value());
}

// A first copy that hangs (its host process stopped) does not leave a second copy ending with
// nothing shown: the second says so in a box of the program's title, and ends once answered.
TEST_F(Vorlane, ASecondCopyBesideAFirstThatHangsSaysSoAndEnds) {
  if (!fs::exists(kHostProcesses / "self"))
    GTEST_SKIP() << "no host process to stop: not under Wine";
  HWND form = StartWith();
  ASSERT_NE(form, nullptr);
  // The host's view of the process (its name, its folder) may lag behind its window.
  std::optional<int> host;
  ASSERT_TRUE(WaitUntil([&] {
    return (host = HostProcessOf(fs::path(CurrentTarget().exe).filename().string(), game().root()))
        .has_value();
  })) << "no host process of the first copy in "
      << game().root();
  ASSERT_TRUE(HoldHostProcess(*host, true));
  struct Resume {
    int pid;
    ~Resume() { HoldHostProcess(pid, false); }
  } resume{*host};

  Program second;
  ASSERT_TRUE(StartProgram(second, game().root()));
  auto box = ExpectMessageBox(second.id(), "vorlane", expected::HolderNotAnswering("vorlane"));
  ASSERT_TRUE(box);
  // The whole box, its title bar too, once its inner area is drawn where it stays.
  RECT place{};
  const auto image = CaptureWindow(box->window) && GetWindowRect(box->window, &place)
                         ? CaptureScreen(place)
                         : std::nullopt;
  EXPECT_TRUE(image && SaveBmp(*image, "vorlane-not-answering.bmp")) << "cannot capture the box";
  EXPECT_TRUE(Answer(*box, IDOK));
  EXPECT_TRUE(second.WaitForExit(kTimeout.count())) << "the second copy still runs";
  EXPECT_EQ(second.ExitCode(), 0u);

  ASSERT_TRUE(HoldHostProcess(*host, false));
  PostMessageA(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(15000)) << "the first copy did not close once continued";
}

// Ended from the popup's last entry, Exit, or by closing its window, it takes its icon along.
TEST_F(Vorlane, ExitFromThePopupRemovesTheIconAndEndsTheProgram) {
  HWND form = StartWith({"True", "False", "False"});
  ASSERT_NE(form, nullptr);
  HWND popup = OpenPopup(form);
  ASSERT_NE(popup, nullptr);
  PostKey(popup, VK_UP);
  PostKey(popup, VK_RETURN);
  EXPECT_TRUE(program.WaitForExit(15000)) << "still running after Exit";
  EXPECT_TRUE(WaitUntil([&] { return !Icon(form).has_value(); })) << "the icon stays";
  EXPECT_TRUE(Holds(nullptr, {"True", "False", "False"}, Sets("original")));
}

TEST_F(Vorlane, ClosingTheWindowRemovesTheIconToo) {
  HWND form = StartWith();
  ASSERT_NE(form, nullptr);
  PostMessageA(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(15000)) << "still running after its window closed";
  EXPECT_TRUE(WaitUntil([&] { return !Icon(form).has_value(); })) << "the icon stays";
}

TEST_F(Vorlane, TheIconComesBackWhenTheShellRestarts) {
  HWND form = StartWith();
  ASSERT_NE(form, nullptr);
  // A restarting shell has forgotten every icon, then tells the top-level windows.
  NOTIFYICONDATAA icon{};
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = form;
  icon.uID = kIconId;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
  ASSERT_TRUE(WaitUntil([&] { return !Icon(form).has_value(); }));
  PostMessageA(form, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return Icon(form).has_value(); })) << "the icon does not come back";
  // And it works as before.
  ASSERT_TRUE(ChooseFromPopup(form, 'e'));
  EXPECT_TRUE(Reaches(form, {"True", "False", "False"}, Sets("Enable", "original", "original")));
}

TEST_F(Vorlane, WindowShowsTheBitmapAndGreenCaptions) {
  HWND form = StartWith({"True", "True", "False"});
  ASSERT_NE(form, nullptr);
  HWND picture = ChildAt(form, {0, 0});
  HWND enabledLabel = FindControl(form, "Enabled");
  ASSERT_NE(picture, nullptr);
  ASSERT_NE(enabledLabel, nullptr);

  auto image = CaptureWindow(form);
  ASSERT_TRUE(image) << "cannot capture the window";
  EXPECT_TRUE(SaveBmp(*image, "vorlane.bmp"));
  const RECT pictureArea = AreaOf(*image, picture);
  EXPECT_GT(PixelsIn(pictureArea) - CountPixels(*image, pictureArea, kBlackPixel),
            PixelsIn(pictureArea) / 20)
      << "the bitmap is missing";
  const auto file = resources::TrayBitmap();
  auto bitmap = DecodeBmp24(file.data, file.size);
  ASSERT_TRUE(bitmap);
  EXPECT_TRUE(ShowsPicture(*image, pictureArea, *bitmap)) << "the bitmap is not shown whole";
  EXPECT_GT(CountPixels(*image, AreaOf(*image, enabledLabel), kGreenPixel), 0)
      << "the \"Enabled\" caption is not green";
  EXPECT_GT(CountPixels(*image, {0, pictureArea.bottom, image->width, image->height}, kBlackPixel),
            0)
      << "the background below the bitmap is not black";
}

// Placed in the game's folder among DLLs planted under system DLLs' names, it loads none of
// them and starts as usual.
TEST_F(Vorlane, LoadsNoDllPlantedBesideIt) {
  ExpectNoPlantedDllLoaded();
}

// Worked for a long time (see usage.h), with sent clicks and callbacks that are each done once
// handled.
class VorlaneSoak : public Vorlane {};

TEST_F(VorlaneSoak, AThousandEnableDisableCycles) {
  HWND form = StartWith({"False", "True", "True"});
  ASSERT_NE(form, nullptr);
  HWND enable = FindButton(form, "Enable");
  HWND disable = FindButton(form, "Disable");
  ASSERT_NE(enable, nullptr);
  ASSERT_NE(disable, nullptr);
  ASSERT_EQ(Shown(form), (Strings{"False", "True", "True"}));
  // Each switch is done once its click is handled: the files show it at once.
  auto switchTo = [&](HWND option, const char* set) {
    return ClickAndWait(option) && CheckState(option) == BST_CHECKED && Files() == Sets(set);
  };
  Soak(program, "vorlane Enable/Disable cycles", Cycles(1000, 50),
       [&](int) { return switchTo(enable, "Enable") && switchTo(disable, "Disable"); });
  EXPECT_TRUE(Holds(form, {"False", "True", "True"}, Sets("Disable")));
  EXPECT_TRUE(MessageBoxesOf(program.id()).empty());

  // And the last switch in the other direction still works.
  ASSERT_TRUE(ClickAndWait(enable));
  EXPECT_TRUE(Holds(form, {"True", "True", "True"}, Sets("Enable")));
}

TEST_F(VorlaneSoak, AThousandIconCallbacks) {
  HWND form = StartWith({"False", "True", "True"});
  ASSERT_NE(form, nullptr);
  // The icon reports mouse messages to the window as WM_MOUSEMOVE, the message in the X
  // position: movement, left press and release, right press.
  constexpr WORD kMovement[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN};

  Soak(program, "vorlane icon callbacks", Cycles(1000, 50), [&](int i) {
    // Now and then the window is minimised, which hides it: the left release brings it back.
    if (i % 10 == 0) {
      PostMessageA(form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      if (!WaitUntil([&] { return !IsWindowVisible(form); })) {
        ADD_FAILURE() << "the minimised window stays visible";
        return false;
      }
    }
    for (WORD message : kMovement) {
      if (!Ask(form, WM_MOUSEMOVE, 0, MAKELPARAM(message, 0))) return false;
    }
    if (!IsWindowVisible(form) || IsIconic(form)) {
      ADD_FAILURE() << "a left click on the icon does not bring the window back";
      return false;
    }
    return true;
  });

  // The right release opens the icon's popup menu; Escape closes it again.
  Soak(program, "vorlane icon popup menu", Cycles(50, 3), [&](int) {
    PostMessageA(form, WM_MOUSEMOVE, 0, MAKELPARAM(WM_RBUTTONUP, 0));
    HWND popup = WaitForPopupMenu(program.id());
    if (popup == nullptr) {
      ADD_FAILURE() << "no popup menu";
      return false;
    }
    PostKey(popup, VK_ESCAPE);
    return WaitUntil([&] { return !IsWindowVisible(popup); });
  });
  EXPECT_TRUE(Holds(form, {"False", "True", "True"}, Sets("original")))
      << "an icon callback switched the mode";
}

}  // namespace
}  // namespace e2e
