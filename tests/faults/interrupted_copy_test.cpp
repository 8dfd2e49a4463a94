// Copies cut short because the program was killed in the middle of them: every destination is
// still whole, the next start puts a switch's files and its saved mode back together, and
// nothing of the program's own is left beside them.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "crosshairs/form1.h"
#include "crosshairs/module1.h"
#include "platform/headless/headless_environment.h"
#include "platform/headless/posix_file_system.h"
#include "platform/services/file_copier.h"
#include "platform/services/runtime_error.h"
#include "tests/faults/fault_files.h"
#include "tests/faults/recording_file_system.h"
#include "tests/support/temp_folder.h"
#include "tests/vorlane/game_root.h"
#include "vorlane/form1.h"
#include "vorlane/module1.h"

namespace faults {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kArchive = std::size_t{256} << 20;
constexpr std::uintmax_t kKillAfter = std::uintmax_t{32} << 20;

// The files beside the destination that are not the destination, with their sizes.
std::map<std::string, std::uintmax_t> OthersBeside(const std::string& folder,
                                                   const std::string& destination) {
  std::map<std::string, std::uintmax_t> others;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    std::error_code ignored;
    if (name != destination) others[name] = entry.file_size(ignored);
  }
  return others;
}

TEST(InterruptedCopy, KilledHalfWayTheDestinationStaysWholeAndTheNextCopyWorks) {
  test_support::TempWorkingFolder folder;
  fs::create_directories("cr/7");
  fs::create_directories("archives");
  WritePattern("cr/7/menu.rfa", kArchive, 1);
  WritePattern("archives/menu.rfa", 3 << 20, 2);
  WritePattern("old-menu.rfa", 3 << 20, 2);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    platform::headless::PosixFileSystem files;
    platform::FileCopier copier(files);
    try {
      copier.Copy("cr\\7\\menu.rfa", "archives\\menu.rfa");
    } catch (...) {
      ::_exit(1);
    }
    ::_exit(0);
  }

  // Killed as soon as its copy beside the destination has grown past a first part.
  bool killed = false;
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (!killed && std::chrono::steady_clock::now() < deadline) {
    if (::waitpid(child, &status, WNOHANG) == child) break;
    for (const auto& [name, size] : OthersBeside("archives", "menu.rfa")) {
      if (size < kKillAfter) continue;
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      killed = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  ASSERT_TRUE(killed) << "the copy was not caught half-way";
  ASSERT_TRUE(WIFSIGNALED(status));

  EXPECT_TRUE(SameBytes("archives/menu.rfa", "old-menu.rfa") ||
              SameBytes("archives/menu.rfa", "cr/7/menu.rfa"))
      << "the destination is neither its old nor its new self";
  // What the killed copy left is its own unfinished copy, named after its process so that it
  // can never be taken for anyone else's.
  const auto left = OthersBeside("archives", "menu.rfa");
  for (const auto& [name, size] : left) {
    EXPECT_EQ(name.rfind("menu.rfa.~vl" + std::to_string(child) + "-", 0), 0u) << name;
    EXPECT_LT(size, kArchive) << name;
  }

  platform::headless::PosixFileSystem files;
  platform::FileCopier copier(files);
  copier.Copy("cr\\7\\menu.rfa", "archives\\menu.rfa");
  EXPECT_TRUE(SameBytes("archives/menu.rfa", "cr/7/menu.rfa"));
  // The next copy to the same destination clears away what the killed one left.
  EXPECT_TRUE(OthersBeside("archives", "menu.rfa").empty()) << "a staged file was left behind";
}

// A program run on the working folder, with the settings a previous run left.
template <typename Module, typename Window>
struct ProgramRun {
  ProgramRun(const char* title, const platform::headless::MemorySettingsStore& saved) : env(title) {
    env.settings = saved;
    env.settings.beforeWrite = [this] { env.files.Change(); };
    env.runtime.Run(form);
  }
  platform::headless::HeadlessEnvironment<RecordingFileSystem> env;
  Module module1{env.runtime};
  Window form{env.runtime, module1};
};

// Runs `act` on a fresh start and stops the program dead at its `step`th change of a file or a
// setting; false once the program got to its end before that. `saved` takes what was stored.
template <typename Run, typename Act>
bool StopsAt(int step, const char* title, platform::headless::MemorySettingsStore& saved, Act act) {
  Run run(title, saved);
  run.env.files.stopAt = step;
  bool stopped = false;
  try {
    act(run);
  } catch (const Stopped&) {
    stopped = true;
  }
  saved = run.env.settings;
  saved.beforeWrite = nullptr;
  return stopped || run.env.files.stopped();
}

using VorlaneRun = ProgramRun<vorlane::Module1, vorlane::Form1>;
using CrosshairsRun = ProgramRun<crosshairs::Module1, crosshairs::Form1>;

TEST(StoppedSwitch, AtEveryStepTheNextStartHasTheOldSetOrTheNewWithItsModeAndNothingElse) {
  int stops = 0;
  for (int step = 1;; ++step) {
    test_support::TempWorkingFolder folder;
    vorlane::LayOutGameRoot(folder);
    const auto gameFiles = folder.AllFiles();
    platform::headless::MemorySettingsStore saved;
    for (const char* key : {"rtr", "sw"}) saved.Save("Vorlane", "setting", key, "True");
    saved.Save("Vorlane", "setting", "mode", "False");

    if (!StopsAt<VorlaneRun>(step, "vorlane", saved,
                             [](VorlaneRun& run) { run.env.ui.Click(run.form.Option2); }))
      break;
    ++stops;
    VorlaneRun next("vorlane", saved);
    const std::string mode = next.env.settings.Get("vorlane", "setting", "mode");
    EXPECT_TRUE(next.env.messageBox.shown().empty()) << "stopped at " << step;
    for (const vorlane::ModeCopy& row : vorlane::kModeCopies) {
      EXPECT_EQ(folder.Read(row.destination), mode == "True"
                                                  ? vorlane::PreparedContents(row.enableSource)
                                                  : vorlane::OldContents(row.destination))
          << "stopped at " << step;
    }
    EXPECT_EQ(next.form.Option2.value(), mode == "True") << "stopped at " << step;
    EXPECT_EQ(folder.AllFiles(), gameFiles) << "stopped at " << step;
  }
  // For each file: staged, kept aside, replaced, its old contents removed; the record written
  // and removed; the three choices saved and flushed.
  EXPECT_EQ(stops, 4 * static_cast<int>(std::size(vorlane::kModeCopies)) + 6);
}

TEST(StoppedApply, AtEveryStepTheNextStartFindsEachArchiveWholeAndNothingElse) {
  int stops = 0;
  for (int step = 1;; ++step) {
    test_support::TempWorkingFolder folder;
    folder.Write("cr\\7\\menu.rfa", "new menu");
    folder.Write("rt\\2\\game.rfa", "new game");
    folder.Write("archives\\menu.rfa", "old menu");
    folder.Write("archives\\bf1942\\game.rfa", "old game");
    const auto modFiles = folder.AllFiles();
    platform::headless::MemorySettingsStore saved;
    saved.Save("Vorlane", "crosshair", "cr", "7");
    saved.Save("Vorlane", "crosshair", "rt", "2");

    if (!StopsAt<CrosshairsRun>(step, "crosshairs", saved, [](CrosshairsRun& run) {
          run.env.messageBox.Expect(platform::box::kNo);
          run.env.ui.Click(run.form.Mapply);
        }))
      break;
    ++stops;
    CrosshairsRun next("crosshairs", saved);
    EXPECT_TRUE(next.env.messageBox.shown().empty()) << "stopped at " << step;
    const std::string menu = folder.Read("archives\\menu.rfa");
    const std::string game = folder.Read("archives\\bf1942\\game.rfa");
    EXPECT_TRUE(menu == "old menu" || menu == "new menu") << "stopped at " << step;
    EXPECT_TRUE(game == "old game" || game == "new game") << "stopped at " << step;
    EXPECT_EQ(folder.AllFiles(), modFiles) << "stopped at " << step;
  }
  EXPECT_EQ(stops, 6);  // two saves, then for each archive a copy staged and put in place
}

}  // namespace
}  // namespace faults
