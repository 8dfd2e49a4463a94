// Each way a copy can fail, through crosshairs' Apply and through vorlane's Enable: what the
// player is told, and that no file of the game is lost, changed or left behind.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "crosshairs/form1.h"
#include "crosshairs/module1.h"
#include "platform/headless/posix_file_system.h"
#include "tests/faults/mod_folder.h"
#include "tests/support/byte_pattern.h"
#include "tests/support/expected_texts.h"
#include "tests/support/temp_folder.h"
#include "tests/vorlane/game_root.h"
#include "vorlane/form1.h"
#include "vorlane/module1.h"

namespace faults {
namespace {

namespace fs = std::filesystem;
using platform::headless::PosixFileSystem;
using test_support::Snapshot;
using Crosshairs = Program<PosixFileSystem, crosshairs::Module1, crosshairs::Form1>;
using Vorlane = Program<PosixFileSystem, vorlane::Module1, vorlane::Form1>;

constexpr std::size_t kSmallDisk = 1 << 20;

// A file system of `bytes` bytes (tmpfs) mounted on `folder`, which is made if missing, for
// the life of the object. Mounting needs root, or the user and mount namespace of their own that
// CTest runs the fault tests in (own_mount_namespace.sh): where refused, reason() says why.
class SmallDisk {
 public:
  SmallDisk(std::string folder, std::size_t bytes) : folder_(std::move(folder)) {
    fs::create_directories(folder_);
    const std::string options = "size=" + std::to_string(bytes);
    if (::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) != 0)
      reason_ = "cannot mount a small file system on " + folder_ + ": " + std::strerror(errno);
  }
  ~SmallDisk() {
    if (mounted()) ::umount2(folder_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool mounted() const { return reason_.empty(); }
  const std::string& reason() const { return reason_; }

 private:
  std::string folder_;
  std::string reason_;
};

// Names of the entries that differ between two snapshots (contents are too long to print).
std::vector<std::string> Differences(const std::map<std::string, std::string>& before,
                                     const std::map<std::string, std::string>& after) {
  std::vector<std::string> names;
  for (const auto& [name, contents] : before) {
    if (!after.contains(name) || after.at(name) != contents)
      names.push_back((after.contains(name) ? "changed " : "lost ") + name);
  }
  for (const auto& [name, contents] : after)
    if (!before.contains(name)) names.push_back("new " + name);
  return names;
}

// The copy a fault is laid on, as POSIX paths: crosshair 7's archive, or the last file of
// vorlane's copy table, so that those before it are copied already when it fails.
struct Copy {
  std::string source;
  std::string destination;
};
const Copy kCrosshairCopy{"cr/7/menu.rfa", "archives/menu.rfa"};
const vorlane::ModeCopy& kLast = std::end(vorlane::kModeCopies)[-1];
const Copy kLastCopy{vorlane::NativePath(kLast.enableSource),
                     vorlane::NativePath(kLast.destination)};

void ReplaceWithFolder(const std::string& path) {
  fs::remove(path);
  fs::create_directories(path);
  std::ofstream(path + "/keep.txt") << "kept";
}

// A small disk for the destination's folder, holding what it held, with an old file of
// `oldSize` bytes at the destination and a new one of `newSize` bytes to copy onto it.
void FillDisk(const Copy& copy, std::unique_ptr<SmallDisk>& disk, std::size_t oldSize,
              std::size_t newSize) {
  const std::string folder = fs::path(copy.destination).parent_path().string();
  const auto held = Snapshot(folder);
  fs::remove_all(folder);
  disk = std::make_unique<SmallDisk>(folder, kSmallDisk);
  if (!disk->mounted()) return;
  for (const auto& [name, contents] : held)
    if (!name.ends_with('/'))
      test_support::WorkingFolderFiles().Write((fs::path(folder) / name).string(), contents);
  WritePattern(copy.destination, oldSize, 2);
  WritePattern(copy.source, newSize, 3);
}

// A fault laid on a copy (a fault that needs a small disk mounts it in `disk`), what Apply says
// of it, and the file a switch names with the reason it gives.
struct Fault {
  const char* name;
  void (*breakIt)(const Copy& copy, std::unique_ptr<SmallDisk>& disk);
  const char* applyMessage;
  const char* switchFile;
  const char* switchReason;
};

void PrintTo(const Fault& fault, std::ostream* out) {
  *out << fault.name;
}

class CopyFaultTest : public ::testing::TestWithParam<Fault> {
 protected:
  // Starts `program`, lays the fault on `copy` and clicks `clicked`: the player is told `told`,
  // and no file changed.
  template <typename Run, typename Clicked>
  void BreakAndClick(Run& program, Clicked& clicked, const Copy& copy,
                     const expected::Boxes& told) {
    program.Start();
    GetParam().breakIt(copy, disk);
    if (disk && !disk->mounted()) GTEST_SKIP() << disk->reason();
    const auto before = Snapshot();
    program.env.messageBox.Expect(platform::box::kOk);
    program.env.ui.Click(clicked);
    EXPECT_EQ(program.env.messageBox.shown(), told);
    EXPECT_EQ(Differences(before, Snapshot()), std::vector<std::string>{});
    EXPECT_FALSE(program.env.runtime.ended());
  }

  test_support::TempWorkingFolder folder;
  std::unique_ptr<SmallDisk> disk;  // last: unmounted before the folder goes
};

TEST_P(CopyFaultTest, ApplySaysWhichKindOfFailureAndKeepsEveryFile) {
  Crosshairs program("crosshairs", LayOutMod(folder));
  BreakAndClick(program, program.form.Mapply, kCrosshairCopy,
                expected::Told("crosshairs", GetParam().applyMessage));
  if (IsSkipped()) return;
  EXPECT_EQ(program.module1.InstallFailed, "0");
}

// Enable with both expansions ticked.
TEST_P(CopyFaultTest, EnableNamesTheFileAndWhyAndChangesNothing) {
  vorlane::LayOutGameRoot(folder);
  Vorlane program("vorlane", vorlane::Choices("False", "True", "True"));
  BreakAndClick(program, program.form.Option2, kLastCopy,
                expected::Told("vorlane", expected::SwitchFailed(GetParam().switchFile,
                                                                 GetParam().switchReason)));
  if (IsSkipped()) return;
  EXPECT_EQ(program.env.settings.Get("vorlane", "setting", "mode"), "False");
  EXPECT_EQ(program.module1.ModeEnabled, "False");
  EXPECT_TRUE(program.form.Option1.value());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CopyFaultTest,
    ::testing::Values(
        Fault{"MissingSourceFolder",
              [](const Copy& c, auto&) { fs::remove_all(fs::path(c.source).parent_path()); },
              expected::kMissingFolderMessage, vorlane::kModeCopies[0].enableSource,
              expected::kMissingFolderReason},
        Fault{"MissingDestinationFolder",
              [](const Copy& c, auto&) { fs::remove_all(fs::path(c.destination).parent_path()); },
              expected::kMissingFolderMessage, kLast.destination, expected::kMissingFolderReason},
        Fault{"MissingSourceFile", [](const Copy& c, auto&) { fs::remove(c.source); },
              expected::kOtherFailureMessage, kLast.enableSource, expected::kMissingFileReason},
        Fault{"ReadOnlyDestination",
              [](const Copy& c, auto&) { ::chmod(c.destination.c_str(), 0444); },
              expected::kOtherFailureMessage, kLast.destination, expected::kReadOnlyReason},
        Fault{"DestinationIsAFolder",
              [](const Copy& c, auto&) { ReplaceWithFolder(c.destination); },
              expected::kOtherFailureMessage, kLast.destination, expected::kReadOnlyReason},
        Fault{"SourceIsAFolder", [](const Copy& c, auto&) { ReplaceWithFolder(c.source); },
              expected::kOtherFailureMessage, kLast.enableSource, expected::kCannotCopyReason},
        Fault{"DiskFull",
              [](const Copy& c, auto& disk) { FillDisk(c, disk, 1000, 2 * kSmallDisk); },
              expected::kOtherFailureMessage, kLast.destination, expected::kDiskFullReason}),
    [](const auto& test) { return std::string(test.param.name); });

// The old files are kept aside as second links, not copies: a disk with room for the new file
// beside the old one, but not for another copy of the old one, still takes the switch.
TEST_F(CopyFaultTest, KeepingTheOldFilesAsideTakesNoRoom) {
  vorlane::LayOutGameRoot(folder);
  Vorlane program("vorlane", vorlane::Choices("False", "True", "True"));
  program.Start();
  FillDisk(kLastCopy, disk, 400 << 10, 500 << 10);
  if (!disk->mounted()) GTEST_SKIP() << disk->reason();
  const auto gameFiles = folder.AllFiles();
  program.env.ui.Click(program.form.Option2);
  EXPECT_TRUE(program.env.messageBox.shown().empty());
  EXPECT_TRUE(SameBytes(kLastCopy.destination, kLastCopy.source));
  EXPECT_EQ(folder.AllFiles(), gameFiles);  // no staged file left behind
  EXPECT_EQ(program.env.settings.Get("vorlane", "setting", "mode"), "True");
}

TEST(FullDisk, ASingleCopyRaises61AndLeavesTheDestinationWhole) {
  test_support::TempWorkingFolder folder;
  SmallDisk disk("archives", kSmallDisk);
  if (!disk.mounted()) GTEST_SKIP() << disk.reason();
  LayOutMod(folder, test_support::PatternBytes(2 * kSmallDisk, 1));
  PosixFileSystem files;
  ExpectCopyOntoAFullDiskFails(files, folder);
}

}  // namespace
}  // namespace faults
