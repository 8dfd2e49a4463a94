// The faults only Windows can show, under Wine: a destination another program holds open, the
// copying program ended half-way by TerminateProcess, a full disk reported by the system.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

#include "crosshairs/form1.h"
#include "crosshairs/module1.h"
#include "platform/headless/headless_environment.h"
#include "platform/services/file_copier.h"
#include "platform/services/runtime_error.h"
#include "platform/win32/services/win32_file_system.h"
#include "platform/win32/windows_api.h"
#include "tests/faults/large_files.h"
#include "tests/support/byte_pattern.h"
#include "tests/support/copy_one.h"
#include "tests/support/expected_texts.h"
#include "tests/support/temp_folder.h"
#include "tests/vorlane/game_root.h"
#include "vorlane/form1.h"
#include "vorlane/module1.h"

namespace faults {
namespace {

using Environment = platform::headless::HeadlessEnvironment<platform::win32::Win32FileSystem>;

constexpr DWORD kWaitMs = 30000;

// --- files --------------------------------------------------------------------------------------

// The entries of `folder` with their sizes.
std::map<std::string, unsigned long long> Entries(const std::string& folder) {
  std::map<std::string, unsigned long long> entries;
  WIN32_FIND_DATAA entry{};
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::string name = entry.cFileName;
    if (name != "." && name != "..")
      entries[name] =
          (static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return entries;
}

// --- another process: this test program started again in one of its other modes -----------------

class OtherProcess {
 public:
  explicit OtherProcess(const std::string& arguments) {
    char self[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine = "\"" + std::string(self) + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_))
      throw std::runtime_error("cannot start " + commandLine);
  }
  ~OtherProcess() {
    End();
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  OtherProcess(const OtherProcess&) = delete;
  OtherProcess& operator=(const OtherProcess&) = delete;

  DWORD id() const { return info_.dwProcessId; }
  HANDLE handle() const { return info_.hProcess; }
  bool Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
  // Ends it at once, as the task manager would; returns false if it had ended already.
  bool End() {
    if (!Running()) return false;
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, kWaitMs);
    return true;
  }

 private:
  PROCESS_INFORMATION info_{};
};

// `file` held open, without sharing, by another process until End() or the object's end, or
// only for `forMs` milliseconds, as a virus scanner does.
class HeldOpen : public OtherProcess {
 public:
  explicit HeldOpen(const std::string& file, const std::string& forMs = "")
      : OtherProcess("--hold \"" + file + "\" " + forMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kWaitMs && Running()) {
      HANDLE probe = CreateFileA(file.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (probe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION) {
        held_ = true;
        return;
      }
      if (probe != INVALID_HANDLE_VALUE) CloseHandle(probe);
      Sleep(5);
    }
  }
  bool held() const { return held_; }

 private:
  bool held_ = false;
};

// The mod folder before crosshair 7 and reticle 2 are applied: new archives to copy, old ones in
// their place.
void LayOutMod(const test_support::WorkingFolderFiles& files, const std::string& newMenu) {
  files.Write("cr\\7\\menu.rfa", newMenu);
  files.Write("rt\\2\\game.rfa", "new game");
  files.Write("archives\\menu.rfa", "old menu");
  files.Write("archives\\bf1942\\game.rfa", "old game");
}

// crosshairs on the real file system, started with crosshair 7 and reticle 2 saved.
struct RunningCrosshairs {
  RunningCrosshairs() {
    env.settings.Save("Vorlane", "crosshair", "cr", "7");
    env.settings.Save("Vorlane", "crosshair", "rt", "2");
    env.runtime.Run(form);
  }
  Environment env{"crosshairs"};
  crosshairs::Module1 module1{env.runtime};
  crosshairs::Form1 form{env.runtime, module1};
};

// Whether a file the program made lies beside `destination`: staged, kept aside or a record.
bool OursBeside(const std::string& destination) {
  const auto folder = std::filesystem::path(destination).parent_path();
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().filename().string().find(".~vl") != std::string::npos) return true;
  return false;
}

// --- a destination in use -----------------------------------------------------------------------

class InUseTest : public ::testing::Test {
 protected:
  // Clicks `clicked` while another program holds `file` open, and answers the one message box
  // the click shows.
  template <typename Clicked>
  void ClickWhileHeldOpen(Environment& env, Clicked& clicked, const std::string& file) {
    HeldOpen game(file);
    ASSERT_TRUE(game.held());
    env.messageBox.Expect(platform::box::kOk);
    env.ui.Click(clicked);
    game.End();
    ASSERT_EQ(env.messageBox.shown().size(), 1u);
  }

  test_support::TempWorkingFolder files;
};

TEST_F(InUseTest, ApplyWithTheMenuArchiveOpenInTheGameFailsAndKeepsIt) {
  LayOutMod(files, "new menu");
  RunningCrosshairs crosshairs;
  auto& [env, module1, form] = crosshairs;

  ASSERT_NO_FATAL_FAILURE(ClickWhileHeldOpen(env, form.Mapply, "archives\\menu.rfa"));
  EXPECT_EQ(env.messageBox.shown()[0].text, expected::kOtherFailureMessage);
  EXPECT_EQ(files.Read("archives\\menu.rfa"), "old menu");
  EXPECT_EQ(files.Read("archives\\bf1942\\game.rfa"), "old game");
  EXPECT_EQ(files.Names("archives"), "bf1942 menu.rfa");
  EXPECT_EQ(module1.InstallFailed, "0");
}

TEST_F(InUseTest, EnableWithAnExpansionFileOpenInTheGameChangesNothing) {
  vorlane::LayOutGameRoot(files);
  Environment env("vorlane");
  env.settings.Save("Vorlane", "setting", "mode", "False");
  env.settings.Save("Vorlane", "setting", "rtr", "True");
  env.settings.Save("Vorlane", "setting", "sw", "True");
  vorlane::Module1 module1(env.runtime);
  vorlane::Form1 form(env.runtime, module1);
  env.runtime.Run(form);

  const vorlane::ModeCopy& heldRow = std::end(vorlane::kModeCopies)[-1];
  ASSERT_NO_FATAL_FAILURE(ClickWhileHeldOpen(env, form.Option2, heldRow.destination));
  EXPECT_EQ(env.messageBox.shown()[0].text,
            expected::SwitchFailed(heldRow.destination, expected::kReadOnlyReason));
  for (const vorlane::ModeCopy& row : vorlane::kModeCopies) {
    EXPECT_EQ(files.Read(row.destination), vorlane::OldContents(row.destination));
    EXPECT_FALSE(OursBeside(row.destination)) << row.destination;
  }
  EXPECT_EQ(env.settings.Get("vorlane", "setting", "mode"), "False");
  EXPECT_TRUE(form.Option1.value());
}

// A switch ended after its last copy, before its mode was saved: the next start puts back what
// it can, says which file another program holds, and the start after puts that one back too,
// with the mode as it was saved all along.
TEST_F(InUseTest, AStoppedSwitchWhoseFileIsHeldIsPutBackAtTheStartAfter) {
  vorlane::LayOutGameRoot(files);
  std::string copies = "--copy-all";
  for (const vorlane::ModeCopy& row : vorlane::kModeCopies)
    copies += std::string(" ") + row.enableSource + " " + row.destination;
  OtherProcess switching(copies);
  ASSERT_EQ(WaitForSingleObject(switching.handle(), kWaitMs), WAIT_OBJECT_0);
  const vorlane::ModeCopy& heldRow = std::end(vorlane::kModeCopies)[-1];
  ASSERT_EQ(files.Read(heldRow.destination), vorlane::PreparedContents(heldRow.enableSource));

  for (const bool held : {true, false}) {
    Environment env("vorlane");
    for (const char* key : {"rtr", "sw"}) env.settings.Save("Vorlane", "setting", key, "True");
    env.settings.Save("Vorlane", "setting", "mode", "False");
    vorlane::Module1 module1(env.runtime);
    vorlane::Form1 form(env.runtime, module1);
    std::unique_ptr<HeldOpen> game;
    if (held) game = std::make_unique<HeldOpen>(heldRow.destination);
    if (held) env.messageBox.Expect(platform::box::kOk);
    env.runtime.Run(form);
    game.reset();

    const auto& boxes = env.messageBox.shown();
    ASSERT_EQ(boxes.size(), held ? 1u : 0u);
    if (held) {
      EXPECT_EQ(boxes[0].text, vorlane::StoppedSwitchMessage(
                                   platform::RepairReport{.inUse = {heldRow.destination}}));
    }
    for (const vorlane::ModeCopy& row : vorlane::kModeCopies) {
      const bool stillNew = held && &row == &heldRow;
      EXPECT_EQ(files.Read(row.destination), stillNew ? vorlane::PreparedContents(row.enableSource)
                                                      : vorlane::OldContents(row.destination));
    }
    EXPECT_EQ(env.settings.Get("vorlane", "setting", "mode"), "False");
    // Held, its old contents wait beside it, with the record beside the first, for the start
    // after.
    for (const vorlane::ModeCopy& row : vorlane::kModeCopies) {
      EXPECT_EQ(OursBeside(row.destination),
                held && (&row == &heldRow || &row == &vorlane::kModeCopies[0]))
          << row.destination;
    }
  }
}

// A virus scanner or indexer that opens a file for a moment.
TEST_F(InUseTest, AFileOpenedForAMomentFailsNeitherApplyNorASwitch) {
  LayOutMod(files, "new menu");
  {
    RunningCrosshairs crosshairs;
    auto& [env, module1, form] = crosshairs;
    HeldOpen scanner("archives\\menu.rfa", "200");
    ASSERT_TRUE(scanner.held());
    env.messageBox.Expect(platform::box::kNo);
    env.ui.Click(form.Mapply);
    ASSERT_EQ(env.messageBox.shown().size(), 1u);
    EXPECT_EQ(env.messageBox.shown()[0].text, expected::kExitQuestion);
    EXPECT_EQ(files.Read("archives\\menu.rfa"), "new menu");
  }
  files.Write("mods\\vl1942\\bfm.con", "bf on");
  files.Write("mods\\bf1942\\init.con", "bf off");
  Environment env("vorlane");
  for (const char* key : {"mode", "rtr", "sw"})
    env.settings.Save("Vorlane", "setting", key, "False");
  vorlane::Module1 module1(env.runtime);
  vorlane::Form1 form(env.runtime, module1);
  env.runtime.Run(form);
  HeldOpen scanner("mods\\bf1942\\init.con", "200");
  ASSERT_TRUE(scanner.held());
  env.ui.Click(form.Option2);
  EXPECT_TRUE(env.messageBox.shown().empty());
  EXPECT_EQ(files.Read("mods\\bf1942\\init.con"), "bf on");
  EXPECT_EQ(env.settings.Get("vorlane", "setting", "mode"), "True");
}

// --- the copying program ended half-way ---------------------------------------------------------

TEST(TerminatedCopy, TheDestinationStaysWholeAndTheNextCopyWorks) {
  test_support::TempWorkingFolder files;
  files.MakeFolder("cr\\7");
  files.MakeFolder("archives");
  WritePattern("cr\\7\\menu.rfa", std::size_t{256} << 20, 1);
  WritePattern("archives\\menu.rfa", 3 << 20, 2);
  WritePattern("old-menu.rfa", 3 << 20, 2);

  OtherProcess copying("--copy cr\\7\\menu.rfa archives\\menu.rfa");
  // Ended as soon as its copy beside the destination has grown past a first part.
  bool ended = false;
  const DWORD start = GetTickCount();
  while (!ended && GetTickCount() - start < 4 * kWaitMs && copying.Running()) {
    for (const auto& [name, size] : Entries("archives")) {
      if (name != "menu.rfa" && size >= (32u << 20)) {
        ended = copying.End();
        break;
      }
    }
    Sleep(1);
  }
  ASSERT_TRUE(ended) << "the copy was not caught half-way";

  EXPECT_TRUE(SameBytes("archives\\menu.rfa", "old-menu.rfa") ||
              SameBytes("archives\\menu.rfa", "cr\\7\\menu.rfa"))
      << "the destination is neither its old nor its new self";
  // What the ended copy left is its own unfinished copy, named after its process.
  auto left = Entries("archives");
  left.erase("menu.rfa");
  for (const auto& [name, size] : left)
    EXPECT_EQ(name.rfind("menu.rfa.~vl" + std::to_string(copying.id()) + "-", 0), 0u) << name;

  platform::win32::Win32FileSystem fileSystem;
  platform::FileCopier copier(fileSystem);
  test_support::CopyOne(copier, "cr\\7\\menu.rfa", "archives\\menu.rfa");
  EXPECT_TRUE(SameBytes("archives\\menu.rfa", "cr\\7\\menu.rfa"));
  auto after = Entries("archives");
  after.erase("menu.rfa");
  // The next copy to the same destination clears away what the ended one left.
  EXPECT_TRUE(after.empty()) << "a staged file was left behind";
}

// --- a full disk --------------------------------------------------------------------------------

// The mod folder whose archives folder is a small disk of its own, mounted for this test by
// CTest (see CMakeLists.txt); VL_SMALL_DISK_MOD names it as a host path.
class FullDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* mod = std::getenv("VL_SMALL_DISK_MOD");
    if (mod == nullptr) GTEST_SKIP() << "VL_SMALL_DISK_MOD is not set";
    std::string path = std::string("Z:") + mod;
    for (char& c : path)
      if (c == '/') c = '\\';
    GetCurrentDirectoryA(MAX_PATH, previous_);
    ASSERT_TRUE(SetCurrentDirectoryA(path.c_str())) << path;
    entered_ = true;
    ULARGE_INTEGER total{};
    if (!GetDiskFreeSpaceExA("archives\\", nullptr, &total, nullptr) ||
        total.QuadPart > (16u << 20))
      GTEST_SKIP() << "no small disk is mounted on " << path << "\\archives (mounting needs root)";
    LayOutMod(files, test_support::PatternBytes(2 << 20, 7));
  }
  void TearDown() override {
    if (!entered_) return;
    for (const char* made : {"cr", "rt", "archives\\bf1942", "archives\\menu.rfa"})
      std::filesystem::remove_all(made);
    SetCurrentDirectoryA(previous_);
  }

  test_support::WorkingFolderFiles files;
  char previous_[MAX_PATH + 1] = {};
  bool entered_ = false;
};

TEST_F(FullDiskTest, ASingleCopyRaises61AndLeavesTheDestinationWhole) {
  platform::win32::Win32FileSystem fileSystem;
  platform::FileCopier copier(fileSystem);
  try {
    test_support::CopyOne(copier, "cr\\7\\menu.rfa", "archives\\menu.rfa");
    ADD_FAILURE() << "a copy onto a full disk was reported as done";
  } catch (const platform::RuntimeError& error) {
    EXPECT_EQ(error.number(), platform::error::kDiskFull);
    EXPECT_EQ(error.path(), "archives\\menu.rfa");
  }
  EXPECT_EQ(files.Read("archives\\menu.rfa"), "old menu");
  EXPECT_EQ(files.Names("archives"), "bf1942 menu.rfa");
}

TEST_F(FullDiskTest, ApplyOntoAFullDiskIsTheOtherFailure) {
  RunningCrosshairs crosshairs;
  auto& [env, module1, form] = crosshairs;
  env.messageBox.Expect(platform::box::kOk);
  env.ui.Click(form.Mapply);

  ASSERT_EQ(env.messageBox.shown().size(), 1u);
  EXPECT_EQ(env.messageBox.shown()[0].text, expected::kOtherFailureMessage);
  EXPECT_EQ(files.Read("archives\\menu.rfa"), "old menu");
  EXPECT_EQ(files.Read("archives\\bf1942\\game.rfa"), "old game");
  EXPECT_EQ(files.Names("archives"), "bf1942 menu.rfa");
}

}  // namespace
}  // namespace faults
