// A copy cut short because the program was killed in the middle of it: the destination is still
// whole, and the next copy works.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/headless/posix_file_system.h"
#include "platform/services/file_copier.h"
#include "platform/services/runtime_error.h"
#include "tests/faults/fault_files.h"
#include "tests/support/temp_folder.h"

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

}  // namespace
}  // namespace faults
