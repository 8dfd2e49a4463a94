// The faults only Windows can show, under Wine: a destination another program holds open, the
// copying program ended half-way by TerminateProcess, a full disk reported by the system.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "crosshairs/form1.h"
#include "crosshairs/module1.h"
#include "platform/win32/services/win32_file_system.h"
#include "platform/win32/windows_api.h"
#include "tests/faults/mod_folder.h"
#include "tests/support/byte_pattern.h"
#include "tests/support/expected_texts.h"
#include "tests/support/held_open.h"
#include "tests/support/temp_folder.h"
#include "tests/vorlane/game_root.h"
#include "vorlane/form1.h"
#include "vorlane/module1.h"

namespace faults {
namespace {

using Crosshairs =
    Program<platform::win32::Win32FileSystem, crosshairs::Module1, crosshairs::Form1>;
using Vorlane = Program<platform::win32::Win32FileSystem, vorlane::Module1, vorlane::Form1>;
using test_support::HeldOpen;

constexpr DWORD kWaitMs = 30000;

// This test program started again in one of its other modes (windows_main.cpp), ended at the
// object's end if it still runs.
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
  bool Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
  bool EndsWithinTheWait() const {
    return WaitForSingleObject(info_.hProcess, kWaitMs) == WAIT_OBJECT_0;
  }
  // Ends it at once, as the task manager would; false if it had ended already.
  bool End() {
    if (!Running()) return false;
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, kWaitMs);
    return true;
  }

 private:
  PROCESS_INFORMATION info_{};
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
  // Clicks `clicked` while another program holds `file` open: the program tells `told` and
  // changes no file.
  template <typename Run, typename Clicked>
  void ClickWhileHeldOpen(Run& program, Clicked& clicked, const std::string& file,
                          const expected::Boxes& told) {
    const auto before = test_support::Snapshot();
    {
      HeldOpen game(file);
      ASSERT_TRUE(game.valid());
      program.env.messageBox.Expect(platform::box::kOk);
      program.env.ui.Click(clicked);
    }
    EXPECT_EQ(program.env.messageBox.shown(), told);
    EXPECT_EQ(test_support::Snapshot(), before);
  }

  test_support::TempWorkingFolder files;
};

TEST_F(InUseTest, ApplyWithTheMenuArchiveOpenInTheGameFailsAndKeepsIt) {
  Crosshairs program("crosshairs", LayOutMod(files));
  program.Start();
  ASSERT_NO_FATAL_FAILURE(
      ClickWhileHeldOpen(program, program.form.Mapply, crosshairs::kCrosshairArchive,
                         expected::Told("crosshairs", expected::kOtherFailureMessage)));
  EXPECT_EQ(program.module1.InstallFailed, "0");
}

TEST_F(InUseTest, EnableWithAnExpansionFileOpenInTheGameChangesNothing) {
  vorlane::LayOutGameRoot(files);
  Vorlane program("vorlane", vorlane::Choices("False", "True", "True"));
  program.Start();
  const vorlane::ModeCopy& heldRow = std::end(vorlane::kModeCopies)[-1];
  ASSERT_NO_FATAL_FAILURE(ClickWhileHeldOpen(
      program, program.form.Option2, heldRow.destination,
      expected::Told("vorlane",
                     expected::SwitchFailed(heldRow.destination, expected::kReadOnlyReason))));
  EXPECT_EQ(program.env.settings.Get("vorlane", "setting", "mode"), "False");
  EXPECT_TRUE(program.form.Option1.value());
}

// A switch ended after its last copy, before its mode was saved: the next start puts back what
// it can, says which file another program holds, and the start after puts that one back too,
// with the mode as it was saved all along.
TEST_F(InUseTest, AStoppedSwitchWhoseFileIsHeldIsPutBackAtTheStartAfter) {
  vorlane::LayOutGameRoot(files);
  ASSERT_TRUE(OtherProcess("--enable-all-and-stop").EndsWithinTheWait());
  const vorlane::ModeCopy& heldRow = std::end(vorlane::kModeCopies)[-1];
  ASSERT_EQ(files.Read(heldRow.destination), vorlane::PreparedContents(heldRow.enableSource));

  for (const bool held : {true, false}) {
    Vorlane program("vorlane", vorlane::Choices("False", "True", "True"));
    std::optional<HeldOpen> game;
    if (held) {
      game.emplace(heldRow.destination);
      program.env.messageBox.Expect(platform::box::kOk);
    }
    program.Start();
    game.reset();

    EXPECT_EQ(program.env.messageBox.shown(),
              held ? expected::Told("vorlane", vorlane::StoppedSwitchMessage(platform::RepairReport{
                                                   .inUse = {heldRow.destination}}))
                   : expected::Boxes{});
    for (const vorlane::ModeCopy& row : vorlane::kModeCopies) {
      const bool stillNew = held && &row == &heldRow;
      EXPECT_EQ(files.Read(row.destination), stillNew ? vorlane::PreparedContents(row.enableSource)
                                                      : vorlane::OldContents(row.destination));
      // Held, its old contents wait beside it, with the record beside the first, for the start
      // after.
      EXPECT_EQ(OursBeside(row.destination), stillNew || (held && &row == &vorlane::kModeCopies[0]))
          << row.destination;
    }
    EXPECT_EQ(program.env.settings.Get("vorlane", "setting", "mode"), "False");
  }
}

// A virus scanner or indexer that opens a file for a moment.
TEST_F(InUseTest, AFileOpenedForAMomentFailsNeitherApplyNorASwitch) {
  {
    Crosshairs program("crosshairs", LayOutMod(files));
    program.Start();
    HeldOpen scanner(crosshairs::kCrosshairArchive, GENERIC_READ, 0, 200);
    ASSERT_TRUE(scanner.valid());
    program.env.messageBox.Expect(platform::box::kNo);
    program.env.ui.Click(program.form.Mapply);
    EXPECT_EQ(program.env.messageBox.shown(), expected::Boxes{expected::kExitQuestionBox});
    EXPECT_EQ(files.Read(crosshairs::kCrosshairArchive), "new menu");
  }
  vorlane::LayOutGameRoot(files);
  Vorlane program("vorlane", vorlane::Choices("False", "False", "False"));
  program.Start();
  const vorlane::ModeCopy& row = vorlane::Row(vorlane::Gate::kAlways);
  HeldOpen scanner(row.destination, GENERIC_READ, 0, 200);
  ASSERT_TRUE(scanner.valid());
  program.env.ui.Click(program.form.Option2);
  EXPECT_TRUE(program.env.messageBox.shown().empty());
  EXPECT_EQ(files.Read(row.destination), vorlane::PreparedContents(row.enableSource));
  EXPECT_EQ(program.env.settings.Get("vorlane", "setting", "mode"), "True");
}

// --- the copying program ended half-way ---------------------------------------------------------

TEST(TerminatedCopy, TheDestinationStaysWholeAndTheNextCopyWorks) {
  test_support::TempWorkingFolder files;
  LayOutLargeCopy();
  OtherProcess copying("--copy");
  ASSERT_TRUE(EndHalfWay([&] { return copying.Running(); }, [&] { return copying.End(); }))
      << "the copy was not caught half-way";
  platform::win32::Win32FileSystem fileSystem;
  ExpectEndedCopyHarmless(copying.id(), fileSystem);
}

// --- a full disk --------------------------------------------------------------------------------

// The mod folder whose archives folder is a small disk of its own, mounted for this test by
// CTest (see CMakeLists.txt); VL_SMALL_DISK_MOD names it as a host path.
class FullDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* mod = std::getenv("VL_SMALL_DISK_MOD");
    if (mod == nullptr) GTEST_SKIP() << "VL_SMALL_DISK_MOD is not set";
    const std::string path = std::string("Z:") + mod;
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path);
    ULARGE_INTEGER total{};
    if (!GetDiskFreeSpaceExA("archives\\", nullptr, &total, nullptr) ||
        total.QuadPart > (16u << 20))
      GTEST_SKIP() << "no small disk is mounted on " << path << "\\archives (mounting needs root)";
    stored = LayOutMod(files, test_support::PatternBytes(2 << 20, 7));
  }
  void TearDown() override {
    if (previous_.empty()) return;
    for (const char* made : {"cr", "rt", "archives\\bf1942", "archives\\menu.rfa"})
      std::filesystem::remove_all(made);
    std::filesystem::current_path(previous_);
  }

  test_support::WorkingFolderFiles files;
  platform::headless::MemorySettingsStore stored;
  std::filesystem::path previous_;  // empty until the mod folder is entered
};

TEST_F(FullDiskTest, ASingleCopyRaises61AndLeavesTheDestinationWhole) {
  platform::win32::Win32FileSystem fileSystem;
  ExpectCopyOntoAFullDiskFails(fileSystem, files);
}

TEST_F(FullDiskTest, ApplyOntoAFullDiskIsTheOtherFailure) {
  Crosshairs program("crosshairs", stored);
  program.Start();
  program.env.messageBox.Expect(platform::box::kOk);
  program.env.ui.Click(program.form.Mapply);
  EXPECT_EQ(program.env.messageBox.shown(),
            expected::Told("crosshairs", expected::kOtherFailureMessage));
  ExpectOldArchives(files);
}

}  // namespace
}  // namespace faults
