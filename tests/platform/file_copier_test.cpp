#include "platform/services/file_copier.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/services/content_sum.h"
#include "platform/services/runtime_error.h"
#include "platform/services/staged_file_name.h"
#include "platform/services/staging.h"
#include "tests/platform/error_of.h"
#include "tests/support/byte_pattern.h"
#include "tests/support/copy_one.h"
#include "tests/support/temp_folder.h"

// The same cases run on the file system of each backend: POSIX in the native tests, Windows
// under Wine; what only one of them has comes at the end.
#ifdef _WIN32
#include "platform/win32/services/win32_file_system.h"
#include "platform/win32/windows_api.h"
#include "tests/support/held_open.h"
#else
#include <sys/wait.h>
#include <unistd.h>

#include "platform/headless/posix_file_system.h"
#endif

namespace platform {
namespace {

#ifdef _WIN32
using Files = win32::Win32FileSystem;
unsigned long ThisProcess() {
  return GetCurrentProcessId();
}
#else
using Files = headless::PosixFileSystem;
unsigned long ThisProcess() {
  return static_cast<unsigned long>(::getpid());
}
#endif

using test_support::CopyOne;
using test_support::ErrorOf;
using test_support::PatternBytes;

// Working folders with a crosshair archive and the mod's archive it replaces.
class FileCopierTest : public ::testing::Test {
 protected:
  FileCopierTest() {
    folder.Write("cr\\7\\menu.rfa", kNew);
    folder.Write("archives\\menu.rfa", kOld);
  }

  RuntimeError CopyError(const std::string& source, const std::string& destination) {
    return ErrorOf([&] { CopyOne(copier, source, destination); });
  }
  // The mod's archive is its old self, with nothing left beside it.
  void ExpectOldArchiveAlone() {
    EXPECT_TRUE(folder.Read("archives\\menu.rfa") == kOld) << "archives\\menu.rfa";
    EXPECT_EQ(folder.Names("archives"), "menu.rfa");
  }

  test_support::TempWorkingFolder folder;
  // Larger than one chunk, and different in length from each other.
  const std::string kNew = PatternBytes((5u << 20) / 2 + 17, 1);
  const std::string kOld = PatternBytes((3u << 20) + 5, 2);
  Files files;
  FileCopier copier{files};
};

TEST_F(FileCopierTest, ReplacesAnExistingDestinationWholeAndCreatesANewOne) {
  CopyOne(copier, "cr\\7\\menu.rfa", "archives\\menu.rfa");
  EXPECT_TRUE(folder.Read("archives\\menu.rfa") == kNew) << "archives\\menu.rfa";
  EXPECT_EQ(folder.Names("archives"), "menu.rfa");

  CopyOne(copier, "cr\\7\\menu.rfa", "archives\\fresh.rfa");
  EXPECT_TRUE(folder.Read("archives\\fresh.rfa") == kNew) << "archives\\fresh.rfa";
  // The copy is an ordinary file that can be replaced, whatever the source's attributes.
  folder.MakeReadOnly("cr\\7\\menu.rfa");
  CopyOne(copier, "cr\\7\\menu.rfa", "archives\\third.rfa");
  EXPECT_NO_THROW(files.CheckDestination("archives\\third.rfa"));
  EXPECT_EQ(folder.AllFiles(), (std::vector<std::string>{"archives/fresh.rfa", "archives/menu.rfa",
                                                         "archives/third.rfa", "cr/7/menu.rfa"}));
}

TEST_F(FileCopierTest, CopiesFilesOfEverySizeExactly) {
  for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{(1u << 20) - 1},
                                 std::size_t{1u << 20}, std::size_t{(3u << 20) + 17}}) {
    const std::string contents = PatternBytes(size, 3);
    folder.Write("big.rfa", contents);
    CopyOne(copier, "big.rfa", "copy.rfa");
    EXPECT_TRUE(folder.Read("copy.rfa") == contents) << size << " bytes";
  }
}

TEST_F(FileCopierTest, EachFailureHasItsNumberAndLeavesEverythingAsItWas) {
  folder.Write("archives\\locked.rfa", "old");
  folder.MakeReadOnly("archives\\locked.rfa");
  folder.MakeFolder("archives\\folder.rfa");
  folder.MakeFolder("cr\\8");
  const std::vector<std::string> before = folder.AllFiles();

  struct Case {
    const char* source;
    const char* destination;
    int number;
    const char* atFault;
  };
  for (const Case& c : {
           Case{"cr\\9\\menu.rfa", "archives\\menu.rfa", 76, "cr\\9\\menu.rfa"},
           Case{"cr\\7\\menu.rfa", "archives\\missing\\menu.rfa", 76,
                "archives\\missing\\menu.rfa"},
           Case{"cr\\8\\menu.rfa", "archives\\menu.rfa", 53, "cr\\8\\menu.rfa"},
           Case{"cr\\7\\menu.rfa", "archives\\locked.rfa", 70, "archives\\locked.rfa"},
           Case{"cr\\7\\menu.rfa", "archives\\folder.rfa", 70, "archives\\folder.rfa"},
           Case{"cr\\7", "archives\\menu.rfa", 75, "cr\\7"},
       }) {
    const RuntimeError error = CopyError(c.source, c.destination);
    EXPECT_EQ(error.number(), c.number) << c.source << " -> " << c.destination;
    EXPECT_EQ(error.path(), c.atFault);
  }
  EXPECT_EQ(folder.AllFiles(), before);
  EXPECT_TRUE(folder.Read("archives\\menu.rfa") == kOld);
  EXPECT_EQ(folder.Read("archives\\locked.rfa"), "old");
}

TEST_F(FileCopierTest, ReplacingChecksTheDestinationAgain) {
  Staging staging(files);
  const std::string staged = staging.Stage("cr\\7\\menu.rfa", "archives\\menu.rfa").first;
  folder.MakeReadOnly("archives\\menu.rfa");  // made read-only after staging
  const RuntimeError error = ErrorOf([&] { staging.Replace(staged, "archives\\menu.rfa"); });
  EXPECT_EQ(error.number(), error::kPermissionDenied);
  EXPECT_EQ(error.path(), "archives\\menu.rfa");
  staging.Remove(staged);
  EXPECT_FALSE(staging.Exists(staged));
  ExpectOldArchiveAlone();
}

TEST_F(FileCopierTest, CopyAllReplacesEverythingOrNothing) {
  folder.Write("rt\\2\\game.rfa", "new game");
  const std::vector<CopyStep> steps{{"cr\\7\\menu.rfa", "archives\\menu.rfa"},
                                    {"rt\\2\\game.rfa", "archives\\bf1942\\game.rfa"}};
  // The last step cannot be staged: its folder is missing, then its file is read-only.
  for (const int number : {error::kPathNotFound, error::kPermissionDenied}) {
    if (number == error::kPermissionDenied) {
      folder.Write("archives\\bf1942\\game.rfa", "old game");
      folder.MakeReadOnly("archives\\bf1942\\game.rfa");
    }
    const std::vector<std::string> before = folder.AllFiles();
    const RuntimeError error = ErrorOf([&] { copier.CopyAll(steps, "off", "on"); });
    EXPECT_EQ(error.number(), number) << "the copies were reported as done";
    EXPECT_EQ(error.path(), "archives\\bf1942\\game.rfa");
    EXPECT_TRUE(folder.Read("archives\\menu.rfa") == kOld) << "archives\\menu.rfa";
    EXPECT_EQ(folder.AllFiles(), before);
  }
  EXPECT_EQ(folder.Read("archives\\bf1942\\game.rfa"), "old game");

  folder.MakeWritable("archives\\bf1942\\game.rfa");
  copier.CopyAll(steps, "off", "on");
  // Until committed, the old contents wait beside, with the record that can put them back.
  const std::string self = "menu.rfa.~vl" + std::to_string(ThisProcess());
  EXPECT_NE(folder.Names("archives").find(self + ".record"), std::string::npos);
  EXPECT_NE(folder.Names("archives").find(self + "-"), std::string::npos);
  copier.Commit();
  EXPECT_TRUE(folder.Read("archives\\menu.rfa") == kNew) << "archives\\menu.rfa";
  EXPECT_EQ(folder.Read("archives\\bf1942\\game.rfa"), "new game");
  EXPECT_EQ(folder.Names("archives"), "bf1942 menu.rfa");
  EXPECT_EQ(folder.Names("archives\\bf1942"), "game.rfa");
}

// Fails the replacements and removals numbered in `failAt` (counted together from 1), to see
// what a copy that breaks half-way leaves behind.
class FailingReplace : public Files {
 public:
  explicit FailingReplace(std::vector<int> failAt) : failAt_(std::move(failAt)) {}
  void RenameOver(const std::string& from, const std::string& to) override {
    if (Fails()) throw RuntimeError(error::kPermissionDenied, to);
    Files::RenameOver(from, to);
  }
  Removal Remove(const std::string& path) noexcept override {
    return Fails() ? Removal::kRefused : Files::Remove(path);
  }

 private:
  bool Fails() { return std::find(failAt_.begin(), failAt_.end(), ++count_) != failAt_.end(); }
  std::vector<int> failAt_;
  int count_ = 0;
};

// Vorlane's switch of three files, of which the second is new.
class SwitchTest : public FileCopierTest {
 protected:
  SwitchTest() {
    folder.Write("mods\\vl1942\\bfm.con", "bf on");
    folder.Write("mods\\vl1942\\x1m.con", "x1 on");
    folder.Write("mods\\vl1942\\x2m.con", "x2 on");
    folder.Write("mods\\bf1942\\init.con", "bf off");
    folder.MakeFolder("mods\\xpack1");  // no init.con yet
    folder.Write("mods\\xpack2\\init.con", "x2 off");
    before = folder.AllFiles();
  }
  const std::vector<CopyStep> steps{{"mods\\vl1942\\bfm.con", "mods\\bf1942\\init.con"},
                                    {"mods\\vl1942\\x1m.con", "mods\\xpack1\\init.con"},
                                    {"mods\\vl1942\\x2m.con", "mods\\xpack2\\init.con"}};
  std::vector<std::string> before;
};

TEST_F(SwitchTest, CopyAllPutsBackWhatItReplacedWhenALaterReplacementFails) {
  FailingReplace failing({3});
  FileCopier careful(failing);
  EXPECT_THROW(careful.CopyAll(steps, "off", "on"), RuntimeError);
  EXPECT_EQ(folder.Read("mods\\bf1942\\init.con"), "bf off");
  EXPECT_FALSE(folder.Exists("mods\\xpack1\\init.con"));
  EXPECT_EQ(folder.Read("mods\\xpack2\\init.con"), "x2 off");
  EXPECT_EQ(folder.AllFiles(), before);

  copier.CopyAll(steps, "off", "on");
  copier.Commit();
  EXPECT_EQ(folder.Read("mods\\bf1942\\init.con"), "bf on");
  EXPECT_EQ(folder.Read("mods\\xpack1\\init.con"), "x1 on");
  EXPECT_EQ(folder.Read("mods\\xpack2\\init.con"), "x2 on");
  EXPECT_EQ(folder.AllFiles().size(), before.size() + 1);
}

// A scanner holds the files just placed longer than the retries: the third replacement fails,
// then putting back the first and removing the second fail too, and putting back the first
// again before the next CopyAll.
TEST_F(SwitchTest, CopyAllThatCannotPutBackSaysWhatIsNewAndKeepsTheOldUntilPutBack) {
  FailingReplace failing({3, 4, 5, 6});
  FileCopier careful(failing);
  try {
    careful.CopyAll(steps, "off", "on");
    FAIL() << "the failed copy went unnoticed";
  } catch (const CopyPartlyUndone& e) {
    EXPECT_EQ(e.number(), error::kPermissionDenied);
    EXPECT_EQ(e.path(), "mods\\xpack2\\init.con");
    EXPECT_EQ(e.stillNew(),
              (std::vector<std::string>{"mods\\bf1942\\init.con", "mods\\xpack1\\init.con"}));
  }
  EXPECT_EQ(folder.Read("mods\\bf1942\\init.con"), "bf on");
  EXPECT_EQ(folder.Read("mods\\xpack2\\init.con"), "x2 off");
  const auto all = folder.AllFiles();
  const auto kept = std::find_if(all.begin(), all.end(), [](const std::string& name) {
    return StagedFileOwner(name.substr(name.rfind('/') + 1), "init.con").has_value();
  });
  ASSERT_NE(kept, all.end()) << "the old contents were deleted";
  EXPECT_EQ(folder.Read(*kept), "bf off");

  const RuntimeError error = ErrorOf([&] { careful.CopyAll(steps, "off", "on"); });
  EXPECT_EQ(error.number(), error::kPermissionDenied)
      << "a copy went ahead of the files still to be put back";
  EXPECT_EQ(error.path(), "mods\\bf1942\\init.con");
  EXPECT_EQ(folder.Read(*kept), "bf off");
  EXPECT_EQ(folder.Read("mods\\xpack2\\init.con"), "x2 off");

  // Switching again puts back the old first, then makes them agree.
  careful.CopyAll(steps, "off", "on");
  careful.Commit();
  EXPECT_EQ(folder.Read("mods\\xpack2\\init.con"), "x2 on");
  EXPECT_FALSE(folder.Exists(*kept));
  EXPECT_EQ(folder.AllFiles().size(), before.size() + 1) << "only xpack1's new file was added";
}

// A scanner holds the record as the switch is committed: the switch stands all the same, and
// what is left of it is finished, not undone, both before the next switch and at the next start.
TEST_F(SwitchTest, ASwitchWhoseRecordCannotGoIsFinishedNotUndone) {
  const std::vector<CopyStep> first(steps.begin(), steps.begin() + 1);
  std::string saved = "off";
  for (const bool nextStart : {false, true}) {
    FailingReplace failing({2});  // the replacement, then the record's removal
    FileCopier careful(failing);
    SavedState state{[&] { return saved; }, [&](const std::string& now) { saved = now; }};
    careful.Repair({first[0].destination}, state);
    careful.CopyAll(first, "off", "on");
    saved = "on";
    careful.Commit();
    EXPECT_EQ(folder.AllFiles().size(), before.size() + 2)
        << "the record and the old contents stay";
    if (nextStart) {
      FileCopier next(files);
      EXPECT_TRUE(next.Repair({first[0].destination}, state).empty());
    } else {
      careful.CopyAll({}, "on", "on");
    }
    EXPECT_EQ(folder.Read("mods\\bf1942\\init.con"), "bf on");
    EXPECT_EQ(saved, "on");
    EXPECT_EQ(folder.AllFiles().size(), before.size()) << "left over";
    saved = "off";
    folder.Write("mods\\bf1942\\init.con", "bf off");
  }
}

// A switch stopped with every destination replaced, whose files were changed before the next
// start: that start goes forward where old contents are gone; where the disk proves neither way
// it changes nothing and names the files that hold neither, until a switch of them all.
TEST_F(SwitchTest, AStoppedSwitchGoesOnlyAsFarAsTheDiskProvesEveryFile) {
  const std::string third = steps[2].destination;
  // Saved when it stopped; the first file's old contents gone; the third written over.
  for (const auto& [stoppedWith, oldGone, thirdChanged, unsettled] :
       {std::tuple("off", true, false, std::vector<std::string>{}),
        std::tuple("off", true, true, std::vector{third}),
        std::tuple("on", false, true, std::vector{third})}) {
    SCOPED_TRACE(std::string(stoppedWith) + (oldGone ? ", old gone" : "") +
                 (thirdChanged ? ", third changed" : ""));
    std::string saved = stoppedWith;
    FileCopier stopped(files);
    stopped.CopyAll(steps, "off", "on");  // never committed
    for (const std::string& name : folder.AllFiles())
      if (oldGone && name.starts_with("mods/bf1942/init.con.~vl") && name.ends_with(".tmp"))
        std::filesystem::remove(name);
    if (thirdChanged) folder.Write(third, "the player's own");
    const auto changed = test_support::Snapshot();
    FileCopier next(files);
    EXPECT_EQ(next.Repair({steps[0].destination, steps[1].destination, third},
                          {[&] { return saved; }, [&](const std::string& now) { saved = now; }})
                  .unsettled,
              unsettled);
    if (unsettled.empty()) {
      EXPECT_EQ(saved, "on");
    } else {
      EXPECT_EQ(test_support::Snapshot(), changed);
      next.CopyAll(steps, saved, "on");
      next.Commit();
    }
    for (const CopyStep& step : steps)
      EXPECT_EQ(folder.Read(step.destination), folder.Read(step.source));
    EXPECT_EQ(folder.AllFiles().size(), before.size() + 1) << "left over";
    folder.Write(steps[0].destination, "bf off");
    std::filesystem::remove("mods/xpack1/init.con");
    folder.Write(third, "x2 off");
  }
}

// A file's sum is the same however its reads split it, and tells apart contents that differ in
// one bit, in the order of their words, or by trailing zeros.
TEST(ContentSum, IsTheSameHoweverTheBytesComeAndTellsContentsApart) {
  const std::string bytes = PatternBytes(1000, 4);
  const auto sum = [](const std::string& text, std::size_t piece) {
    ContentSum summed;
    for (std::size_t at = 0; at < text.size(); at += piece)
      summed.Add(text.data() + at, std::min(piece, text.size() - at));
    return summed.Digest();
  };
  for (const std::size_t piece : {1, 3, 7, 8, 13, 999})
    EXPECT_EQ(sum(bytes, piece), sum(bytes, bytes.size())) << piece;
  std::string changed = bytes;
  changed[500] ^= 1;
  std::string swapped = bytes;
  std::swap_ranges(swapped.begin(), swapped.begin() + 4, swapped.begin() + 8);
  for (const std::string& other : {changed, swapped, bytes + '\0', bytes.substr(0, 999)})
    EXPECT_NE(sum(other, other.size()), sum(bytes, bytes.size()));
}

TEST(StagedFileName, NamesItsOwnerAndIsToldApartFromOtherFiles) {
  EXPECT_EQ(StagedFileName("archives\\menu.rfa", 4242, 7), "archives\\menu.rfa.~vl4242-7.tmp");
  EXPECT_EQ(StagedFileOwner("menu.rfa.~vl4242-7.tmp", "menu.rfa"), 4242u);
  EXPECT_EQ(StagedFileOwner("MENU.RFA.~VL4242-7.TMP", "menu.rfa"), 4242u);
  // A record: the first of a process, and a later one where an earlier process of its id left one.
  EXPECT_EQ(RecordFileOwner("menu.rfa.~vl4242.record", "menu.rfa"), 4242u);
  EXPECT_EQ(RecordFileOwner("menu.rfa.~vl4242-3.record", "menu.rfa"), 4242u);
  EXPECT_FALSE(RecordFileOwner("menu.rfa.~vl4242-.record", "menu.rfa"));
  for (const char* other :
       {"menu.rfa", "menu.rfa.~vl-7.tmp", "menu.rfa.~vl4242-.tmp", "menu.rfa.~vl4242-7.tmp.bak",
        "menu.rfa.~vl4242.tmp", "game.rfa.~vl4242-7.tmp", "menu.rfa.~vl99999999999-1.tmp",
        "xmenu.rfa.~vl4242-7.tmp"}) {
    EXPECT_FALSE(StagedFileOwner(other, "menu.rfa")) << other;
  }
}

#ifdef _WIN32
using test_support::HeldOpen;

// Not shared at all, or shared for reading and writing but not for deletion: in use either way.
TEST_F(FileCopierTest, ADestinationHeldOpenRaises70AndStaysAsItWas) {
  for (const DWORD sharing : {DWORD{0}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
    HeldOpen game("archives\\menu.rfa", GENERIC_READ, sharing);
    ASSERT_TRUE(game.valid());
    const RuntimeError error = CopyError("cr\\7\\menu.rfa", "archives\\menu.rfa");
    EXPECT_EQ(error.number(), error::kPermissionDenied) << "sharing " << sharing;
    EXPECT_EQ(error.path(), "archives\\menu.rfa");
  }
  ExpectOldArchiveAlone();
}

TEST_F(FileCopierTest, ASourceThatCannotBeReadLeavesTheDestinationWhole) {
  {
    HeldOpen writer("cr\\7\\menu.rfa", GENERIC_WRITE, 0);
    ASSERT_TRUE(writer.valid());
    const RuntimeError error = CopyError("cr\\7\\menu.rfa", "archives\\menu.rfa");
    EXPECT_EQ(error.number(), error::kPermissionDenied);
    EXPECT_EQ(error.path(), "cr\\7\\menu.rfa");
  }
  ExpectOldArchiveAlone();
}

// True if a read of the region LockFile has locked in another handle fails, as on Windows.
bool ReadsRespectLocks(const std::string& path, DWORD offset) {
  HeldOpen reader(path, GENERIC_READ, FILE_SHARE_READ);
  OVERLAPPED at{};
  at.Offset = offset;
  char byte = 0;
  DWORD got = 0;
  return !::ReadFile(reader.get(), &byte, 1, &got, &at);
}

TEST_F(FileCopierTest, AFailureHalfWayThroughTheBytesLeavesNothingBehind) {
  // Another program locks the source from its second megabyte on: the first chunk is staged,
  // the second cannot be read.
  HeldOpen locker("cr\\7\\menu.rfa", GENERIC_READ, FILE_SHARE_READ);
  ASSERT_TRUE(locker.valid());
  ASSERT_TRUE(LockFile(locker.get(), 1u << 20, 0, 1u << 20, 0));
  if (!ReadsRespectLocks("cr\\7\\menu.rfa", 1u << 20))
    GTEST_SKIP() << "this system does not hold reads to byte-range locks (Wine)";
  const RuntimeError error = CopyError("cr\\7\\menu.rfa", "archives\\menu.rfa");
  EXPECT_EQ(error.number(), error::kPathFileAccess);
  EXPECT_EQ(error.path(), "cr\\7\\menu.rfa");
  UnlockFile(locker.get(), 1u << 20, 0, 1u << 20, 0);
  ExpectOldArchiveAlone();
}

TEST_F(FileCopierTest, OurFilesGoAlsoWhenAScannerHoldsThemForAMoment) {
  std::unique_ptr<HeldOpen> scanner;
  Files waiting([&scanner](unsigned long) { scanner.reset(); });
  Staging staging(waiting);
  const std::string staged = staging.Stage("cr\\7\\menu.rfa", "archives\\menu.rfa").first;
  scanner = std::make_unique<HeldOpen>(staged, GENERIC_READ, FILE_SHARE_READ);
  ASSERT_TRUE(scanner->valid());
  EXPECT_TRUE(staging.Remove(staged));
  EXPECT_EQ(folder.Names("archives"), "menu.rfa");
}

TEST(Win32FolderOf, NamesTheFolderInAFormTheSystemAccepts) {
  EXPECT_EQ(win32::FolderOf("menu.rfa"), ".");
  EXPECT_EQ(win32::FolderOf("archives\\menu.rfa"), "archives");
  EXPECT_EQ(win32::FolderOf("mods\\bf1942\\init.con"), "mods\\bf1942");
  EXPECT_EQ(win32::FolderOf("\\init.con"), "\\");
  EXPECT_EQ(win32::FolderOf("C:\\init.con"), "C:\\");
  EXPECT_EQ(win32::FolderOf("C:init.con"), "C:");
  EXPECT_EQ(win32::FolderOf("archives/menu.rfa"), "archives");
}
#else
TEST_F(FileCopierTest, ACopyClearsAwayWhatCopiesOfStoppedProgramsStagedButNothingElse) {
  // A process id that is surely gone: a child that has ended and been waited for.
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const auto staged = [](pid_t owner, const char* destination) {
    return StagedFileName(destination, static_cast<std::uint32_t>(owner), 3);
  };
  folder.Write(staged(gone, "archives\\menu.rfa"), "half a copy");
  folder.Write(staged(gone, "archives\\other.rfa"), "another destination's");
  folder.Write(staged(1, "archives\\menu.rfa"), "a copy still running elsewhere");
  folder.Write("archives\\menu.rfa.~vlnotes.tmp", "not ours");

  CopyOne(copier, "cr\\7\\menu.rfa", "archives\\menu.rfa");
  EXPECT_TRUE(folder.Read("archives\\menu.rfa") == kNew);
  EXPECT_FALSE(folder.Exists(staged(gone, "archives\\menu.rfa")));
  EXPECT_TRUE(folder.Exists(staged(gone, "archives\\other.rfa")));
  EXPECT_TRUE(folder.Exists(staged(1, "archives\\menu.rfa")));
  EXPECT_TRUE(folder.Exists("archives\\menu.rfa.~vlnotes.tmp"));
}
#endif

}  // namespace
}  // namespace platform
