// Each way a copy can fail, through crosshairs' Apply and through vorlane's Enable: what the
// player is told, and that no file of the game is lost, changed or left behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "crosshairs/form1.h"
#include "crosshairs/module1.h"
#include "platform/headless/headless_environment.h"
#include "platform/headless/posix_file_system.h"
#include "platform/services/file_copier.h"
#include "platform/services/runtime_error.h"
#include "tests/faults/fault_files.h"
#include "tests/support/copy_one.h"
#include "tests/support/expected_texts.h"
#include "tests/support/temp_folder.h"
#include "tests/vorlane/game_root.h"
#include "vorlane/form1.h"
#include "vorlane/module1.h"

namespace faults {
namespace {

namespace fs = std::filesystem;
using platform::headless::HeadlessEnvironment;
using platform::headless::PosixFileSystem;

constexpr std::size_t kSmallDisk = 1 << 20;

// Names of the entries that differ between two snapshots (contents are too long to print).
std::vector<std::string> Differences(const std::map<std::string, std::string>& before,
                                     const std::map<std::string, std::string>& after) {
  std::vector<std::string> names;
  for (const auto& [name, contents] : before) {
    const auto found = after.find(name);
    if (found == after.end()) {
      names.push_back("lost " + name);
    } else if (found->second != contents) {
      names.push_back("changed " + name);
    }
  }
  for (const auto& [name, contents] : after)
    if (!before.contains(name)) names.push_back("new " + name);
  return names;
}

void ReplaceWithFolder(const std::string& path) {
  fs::remove(path);
  fs::create_directories(path);
  WriteText(path + "/keep.txt", "kept");
}

// Lays a fault into the working folder. A fault that needs a small disk mounts it in `disk`.
using Breaker = std::function<void(std::unique_ptr<SmallDisk>& disk)>;

// --- crosshairs: Apply with crosshair 7 and reticle 2 -------------------------------------------

struct ApplyFault {
  const char* name;
  Breaker breakIt;
  const char* message;
};

void PrintTo(const ApplyFault& fault, std::ostream* out) {
  *out << fault.name;
}

class ApplyFaultTest : public ::testing::TestWithParam<ApplyFault> {
 protected:
  ApplyFaultTest() {
    folder.Write("cr\\7\\menu.rfa", "new menu");
    folder.Write("rt\\2\\game.rfa", "new game");
    folder.Write("archives\\menu.rfa", "old menu");
    folder.Write("archives\\bf1942\\game.rfa", "old game");
    env.settings.Save("Vorlane", "crosshair", "cr", "7");
    env.settings.Save("Vorlane", "crosshair", "rt", "2");
  }

  test_support::TempWorkingFolder folder;
  HeadlessEnvironment<PosixFileSystem> env{"crosshairs"};
  crosshairs::Module1 module1{env.runtime};
  crosshairs::Form1 form{env.runtime, module1};
  std::unique_ptr<SmallDisk> disk;  // last: unmounted before the folder goes
};

TEST_P(ApplyFaultTest, SaysWhichKindOfFailureAndKeepsEveryFile) {
  env.runtime.Run(form);
  GetParam().breakIt(disk);
  if (disk && !disk->mounted()) GTEST_SKIP() << disk->reason();
  const auto before = Snapshot();
  env.messageBox.Expect(platform::box::kOk);

  env.ui.Click(form.Mapply);

  const auto& boxes = env.messageBox.shown();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, GetParam().message);
  EXPECT_EQ(boxes[0].flags, platform::box::kOkOnly);
  EXPECT_EQ(boxes[0].title, "crosshairs");
  EXPECT_EQ(Differences(before, Snapshot()), std::vector<std::string>{});
  EXPECT_FALSE(env.runtime.ended());
  EXPECT_EQ(module1.InstallFailed, "0");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ApplyFaultTest,
    ::testing::Values(
        ApplyFault{"MissingSourceFolder", [](auto&) { fs::remove_all("cr/7"); },
                   expected::kMissingFolderMessage},
        ApplyFault{"MissingDestinationFolder", [](auto&) { fs::remove_all("archives"); },
                   expected::kMissingFolderMessage},
        ApplyFault{"MissingSourceFile", [](auto&) { fs::remove("cr/7/menu.rfa"); },
                   expected::kOtherFailureMessage},
        ApplyFault{"ReadOnlyDestination", [](auto&) { ::chmod("archives/menu.rfa", 0444); },
                   expected::kOtherFailureMessage},
        ApplyFault{"DestinationIsAFolder", [](auto&) { ReplaceWithFolder("archives/menu.rfa"); },
                   expected::kOtherFailureMessage},
        ApplyFault{"SourceIsAFolder", [](auto&) { ReplaceWithFolder("cr/7/menu.rfa"); },
                   expected::kOtherFailureMessage},
        ApplyFault{"DiskFull",
                   [](auto& disk) {
                     fs::remove_all("archives");
                     disk = std::make_unique<SmallDisk>("archives", kSmallDisk);
                     if (!disk->mounted()) return;
                     WriteText("archives/menu.rfa", "old menu");
                     WriteText("archives/bf1942/game.rfa", "old game");
                     WritePattern("cr/7/menu.rfa", 2 * kSmallDisk, 7);
                   },
                   expected::kOtherFailureMessage}),
    [](const auto& test) { return std::string(test.param.name); });

// --- vorlane: Enable with both expansions ticked ------------------------------------------------

struct EnableFault {
  const char* name;
  Breaker breakIt;
  std::string file;
  const char* reason;
};

// Faults are laid on the last file of the copy table, so that those before it are copied
// already when it fails; as POSIX paths, and its folder.
const vorlane::ModeCopy& kLast = std::end(vorlane::kModeCopies)[-1];
const std::string kLastSource = platform::headless::ToPosixPath(kLast.enableSource);
const std::string kLastDestination = platform::headless::ToPosixPath(kLast.destination);
const std::string kLastFolder = fs::path(kLastDestination).parent_path().string();
const std::string kSources = fs::path(kLastSource).parent_path().string();

void PrintTo(const EnableFault& fault, std::ostream* out) {
  *out << fault.name;
}

class EnableFaultTest : public ::testing::TestWithParam<EnableFault> {
 protected:
  EnableFaultTest() {
    vorlane::LayOutGameRoot(folder);
    env.settings.Save("Vorlane", "setting", "mode", "False");
    env.settings.Save("Vorlane", "setting", "rtr", "True");
    env.settings.Save("Vorlane", "setting", "sw", "True");
  }

  test_support::TempWorkingFolder folder;
  HeadlessEnvironment<PosixFileSystem> env{"vorlane"};
  vorlane::Module1 module1{env.runtime};
  vorlane::Form1 form{env.runtime, module1};
  std::unique_ptr<SmallDisk> disk;
};

TEST_P(EnableFaultTest, NamesTheFileAndWhyAndChangesNothing) {
  env.runtime.Run(form);
  GetParam().breakIt(disk);
  if (disk && !disk->mounted()) GTEST_SKIP() << disk->reason();
  const auto before = Snapshot();
  env.messageBox.Expect(platform::box::kOk);

  env.ui.Click(form.Option2);

  const auto& boxes = env.messageBox.shown();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, expected::SwitchFailed(GetParam().file, GetParam().reason));
  EXPECT_EQ(boxes[0].title, "vorlane");
  EXPECT_EQ(Differences(before, Snapshot()), std::vector<std::string>{});
  EXPECT_EQ(env.settings.Get("vorlane", "setting", "mode"), "False");
  EXPECT_EQ(module1.ModeEnabled, "False");
  EXPECT_TRUE(form.Option1.value());
  EXPECT_FALSE(env.runtime.ended());
}

// A small disk for the last file's folder, holding its old file of `oldSize` bytes, with a new
// one of `newSize` bytes to copy onto it.
Breaker FullExpansionDisk(std::size_t oldSize, std::size_t newSize) {
  return [=](std::unique_ptr<SmallDisk>& disk) {
    fs::remove_all(kLastFolder);
    disk = std::make_unique<SmallDisk>(kLastFolder, kSmallDisk);
    if (!disk->mounted()) return;
    WritePattern(kLastDestination, oldSize, 2);
    WritePattern(kLastSource, newSize, 3);
  };
}

INSTANTIATE_TEST_SUITE_P(
    Faults, EnableFaultTest,
    ::testing::Values(
        EnableFault{"MissingSourceFolder", [](auto&) { fs::remove_all(kSources); },
                    vorlane::kModeCopies[0].enableSource, expected::kMissingFolderReason},
        EnableFault{"MissingDestinationFolder", [](auto&) { fs::remove_all(kLastFolder); },
                    kLast.destination, expected::kMissingFolderReason},
        EnableFault{"MissingSourceFile", [](auto&) { fs::remove(kLastSource); }, kLast.enableSource,
                    expected::kMissingFileReason},
        EnableFault{"ReadOnlyDestination", [](auto&) { ::chmod(kLastDestination.c_str(), 0444); },
                    kLast.destination, expected::kReadOnlyReason},
        EnableFault{"DestinationIsAFolder", [](auto&) { ReplaceWithFolder(kLastDestination); },
                    kLast.destination, expected::kReadOnlyReason},
        EnableFault{"SourceIsAFolder", [](auto&) { ReplaceWithFolder(kLastSource); },
                    kLast.enableSource, expected::kCannotCopyReason},
        EnableFault{"DiskFull", FullExpansionDisk(1000, 2 * kSmallDisk), kLast.destination,
                    expected::kDiskFullReason}),
    [](const auto& test) { return std::string(test.param.name); });

// The old files are kept aside as second links, not copies: a disk with room for the new file
// beside the old one, but not for another copy of the old one, still takes the switch.
TEST_F(EnableFaultTest, KeepingTheOldFilesAsideTakesNoRoom) {
  env.runtime.Run(form);
  FullExpansionDisk(400 << 10, 500 << 10)(disk);
  if (!disk->mounted()) GTEST_SKIP() << disk->reason();
  const auto gameFiles = folder.AllFiles();
  env.ui.Click(form.Option2);
  EXPECT_TRUE(env.messageBox.shown().empty());
  EXPECT_TRUE(SameBytes(kLastDestination, kLastSource));
  EXPECT_EQ(folder.AllFiles(), gameFiles);  // no staged file left behind
  EXPECT_EQ(env.settings.Get("vorlane", "setting", "mode"), "True");
}

// --- the copy itself ----------------------------------------------------------------------------

TEST(FullDisk, ASingleCopyRaises61AndLeavesTheDestinationWhole) {
  test_support::TempWorkingFolder folder;
  SmallDisk disk("archives", kSmallDisk);
  if (!disk.mounted()) GTEST_SKIP() << disk.reason();
  folder.Write("archives\\menu.rfa", "old menu");
  WritePattern("menu.rfa", 2 * kSmallDisk, 1);
  PosixFileSystem files;
  platform::FileCopier copier(files);

  try {
    test_support::CopyOne(copier, "menu.rfa", "archives\\menu.rfa");
    ADD_FAILURE() << "a copy onto a full disk was reported as done";
  } catch (const platform::RuntimeError& error) {
    EXPECT_EQ(error.number(), platform::error::kDiskFull);
    EXPECT_EQ(error.path(), "archives\\menu.rfa");
  }
  EXPECT_EQ(folder.Read("archives\\menu.rfa"), "old menu");
  EXPECT_EQ(Snapshot("archives"), (std::map<std::string, std::string>{{"menu.rfa", "old menu"}}));
}

}  // namespace
}  // namespace faults
