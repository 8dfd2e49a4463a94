#include "platform/services/file_copier.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/headless/posix_file_system.h"
#include "platform/services/content_sum.h"
#include "platform/services/runtime_error.h"
#include "platform/services/staged_file_name.h"
#include "tests/support/copy_one.h"
#include "tests/support/temp_folder.h"

namespace platform {
namespace {

using headless::PosixFileSystem;
using test_support::TempWorkingFolder;

int CopyError(FileCopier& copier, const std::string& source, const std::string& destination,
              std::string* path = nullptr) {
  try {
    test_support::CopyOne(copier, source, destination);
  } catch (const RuntimeError& e) {
    if (path) *path = e.path();
    return e.number();
  }
  return 0;
}

class FileCopierTest : public ::testing::Test {
 protected:
  TempWorkingFolder folder;
  PosixFileSystem files;
  FileCopier copier{files};
};

TEST_F(FileCopierTest, ReplacesAnExistingDestinationWholeAndCreatesANewOne) {
  folder.Write("cr\\7\\menu.rfa", "new crosshair");
  folder.Write("archives\\menu.rfa", "the old crosshair archive, longer than the new one");
  test_support::CopyOne(copier, "cr\\7\\menu.rfa", "archives\\menu.rfa");
  EXPECT_EQ(folder.Read("archives\\menu.rfa"), "new crosshair");

  test_support::CopyOne(copier, "cr\\7\\menu.rfa", "archives\\fresh.rfa");
  EXPECT_EQ(folder.Read("archives\\fresh.rfa"), "new crosshair");
  EXPECT_EQ(folder.AllFiles(),
            (std::vector<std::string>{"archives/fresh.rfa", "archives/menu.rfa", "cr/7/menu.rfa"}));
}

TEST_F(FileCopierTest, CopiesLargeFilesExactly) {
  std::string big(3 * 1024 * 1024 + 17, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 31 % 251);
  folder.Write("big.rfa", big);
  test_support::CopyOne(copier, "big.rfa", "copy.rfa");
  EXPECT_EQ(folder.Read("copy.rfa"), big);
}

TEST_F(FileCopierTest, EachFailureHasItsNumberAndLeavesEverythingAsItWas) {
  folder.Write("cr\\7\\menu.rfa", "crosshair");
  folder.Write("archives\\menu.rfa", "old");
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
    std::string atFault;
    EXPECT_EQ(CopyError(copier, c.source, c.destination, &atFault), c.number)
        << c.source << " -> " << c.destination;
    EXPECT_EQ(atFault, c.atFault);
  }
  EXPECT_EQ(folder.AllFiles(), before);
  EXPECT_EQ(folder.Read("archives\\menu.rfa"), "old");
  EXPECT_EQ(folder.Read("archives\\locked.rfa"), "old");
}

// Fails the replacements and removals numbered in `failAt` (counted together from 1), to see
// what a copy that breaks half-way leaves behind.
class FailingReplace : public PosixFileSystem {
 public:
  explicit FailingReplace(std::vector<int> failAt) : failAt_(std::move(failAt)) {}
  void RenameOver(const std::string& from, const std::string& to) override {
    if (Fails()) throw RuntimeError(error::kPermissionDenied, to);
    PosixFileSystem::RenameOver(from, to);
  }
  Removal Remove(const std::string& path) noexcept override {
    return Fails() ? Removal::kRefused : PosixFileSystem::Remove(path);
  }

 private:
  bool Fails() { return std::find(failAt_.begin(), failAt_.end(), ++count_) != failAt_.end(); }
  std::vector<int> failAt_;
  int count_ = 0;
};

TEST_F(FileCopierTest, CopyAllChangesNothingWhenAStepCannotBeStaged) {
  folder.Write("mods\\vl1942\\bfm.con", "bf on");
  folder.Write("mods\\vl1942\\x1m.con", "x1 on");
  folder.Write("mods\\bf1942\\init.con", "bf off");
  const std::vector<std::string> before = folder.AllFiles();
  const std::vector<CopyStep> steps{{"mods\\vl1942\\bfm.con", "mods\\bf1942\\init.con"},
                                    {"mods\\vl1942\\x1m.con", "mods\\xpack1\\init.con"}};
  try {
    copier.CopyAll(steps, "off", "on");
    FAIL() << "the missing folder went unnoticed";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), 76);
    EXPECT_EQ(e.path(), "mods\\xpack1\\init.con");
  }
  EXPECT_EQ(folder.Read("mods\\bf1942\\init.con"), "bf off");
  EXPECT_EQ(folder.AllFiles(), before);
}

TEST_F(FileCopierTest, CopyAllPutsBackWhatItReplacedWhenALaterReplacementFails) {
  folder.Write("mods\\vl1942\\bfm.con", "bf on");
  folder.Write("mods\\vl1942\\x1m.con", "x1 on");
  folder.Write("mods\\vl1942\\x2m.con", "x2 on");
  folder.Write("mods\\bf1942\\init.con", "bf off");
  folder.MakeFolder("mods\\xpack1");  // no init.con yet
  folder.Write("mods\\xpack2\\init.con", "x2 off");
  const std::vector<std::string> before = folder.AllFiles();
  const std::vector<CopyStep> steps{{"mods\\vl1942\\bfm.con", "mods\\bf1942\\init.con"},
                                    {"mods\\vl1942\\x1m.con", "mods\\xpack1\\init.con"},
                                    {"mods\\vl1942\\x2m.con", "mods\\xpack2\\init.con"}};
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
TEST_F(FileCopierTest, CopyAllThatCannotPutBackSaysWhatIsNewAndKeepsTheOldUntilPutBack) {
  folder.Write("mods\\vl1942\\bfm.con", "bf on");
  folder.Write("mods\\vl1942\\x1m.con", "x1 on");
  folder.Write("mods\\vl1942\\x2m.con", "x2 on");
  folder.Write("mods\\bf1942\\init.con", "bf off");
  folder.MakeFolder("mods\\xpack1");
  folder.Write("mods\\xpack2\\init.con", "x2 off");
  const std::vector<CopyStep> steps{{"mods\\vl1942\\bfm.con", "mods\\bf1942\\init.con"},
                                    {"mods\\vl1942\\x1m.con", "mods\\xpack1\\init.con"},
                                    {"mods\\vl1942\\x2m.con", "mods\\xpack2\\init.con"}};
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

  try {
    careful.CopyAll(steps, "off", "on");
    FAIL() << "a copy went ahead of the files still to be put back";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), error::kPermissionDenied);
    EXPECT_EQ(e.path(), "mods\\bf1942\\init.con");
  }
  EXPECT_EQ(folder.Read(*kept), "bf off");
  EXPECT_EQ(folder.Read("mods\\xpack2\\init.con"), "x2 off");

  careful.CopyAll(steps, "off",
                  "on");  // switching again puts back the old first, then makes them agree
  careful.Commit();
  EXPECT_EQ(folder.Read("mods\\xpack2\\init.con"), "x2 on");
  EXPECT_FALSE(folder.Exists(*kept));
  EXPECT_EQ(folder.AllFiles().size(), 6u);  // the three sets and the three files they replaced
}

// A scanner holds the record as the switch is committed: the switch stands all the same, and
// what is left of it is finished, not undone, both before the next switch and at the next start.
TEST_F(FileCopierTest, ASwitchWhoseRecordCannotGoIsFinishedNotUndone) {
  folder.Write("mods\\vl1942\\bfm.con", "bf on");
  folder.Write("mods\\bf1942\\init.con", "bf off");
  const std::vector<CopyStep> steps{{"mods\\vl1942\\bfm.con", "mods\\bf1942\\init.con"}};
  std::string saved = "off";
  for (const bool nextStart : {false, true}) {
    FailingReplace failing({2});  // the replacement, then the record's removal
    FileCopier careful(failing);
    SavedState state{[&] { return saved; }, [&](const std::string& now) { saved = now; }};
    careful.Repair({steps[0].destination}, state);
    careful.CopyAll(steps, "off", "on");
    saved = "on";
    careful.Commit();
    EXPECT_EQ(folder.AllFiles().size(), 4u) << "the record and the old contents stay";
    if (nextStart) {
      FileCopier next(files);
      EXPECT_TRUE(next.Repair({steps[0].destination}, state).empty());
    } else {
      careful.CopyAll({}, "on", "on");
    }
    EXPECT_EQ(folder.Read("mods\\bf1942\\init.con"), "bf on");
    EXPECT_EQ(saved, "on");
    EXPECT_EQ(folder.AllFiles().size(), 2u) << "left over";
    saved = "off";
    folder.Write("mods\\bf1942\\init.con", "bf off");
  }
}

TEST_F(FileCopierTest, ACopyClearsAwayWhatCopiesOfStoppedProgramsStagedButNothingElse) {
  // A process id that is surely gone: a child that has ended and been waited for.
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const auto staged = [](pid_t owner, const char* destination) {
    return StagedFileName(destination, static_cast<std::uint32_t>(owner), 3);
  };
  folder.Write("cr\\7\\menu.rfa", "new");
  folder.Write("archives\\menu.rfa", "old");
  folder.Write(staged(gone, "archives\\menu.rfa"), "half a copy");
  folder.Write(staged(gone, "archives\\other.rfa"), "another destination's");
  folder.Write(staged(1, "archives\\menu.rfa"), "a copy still running elsewhere");
  folder.Write("archives\\menu.rfa.~vlnotes.tmp", "not ours");

  test_support::CopyOne(copier, "cr\\7\\menu.rfa", "archives\\menu.rfa");
  EXPECT_EQ(folder.Read("archives\\menu.rfa"), "new");
  EXPECT_FALSE(folder.Exists(staged(gone, "archives\\menu.rfa")));
  EXPECT_TRUE(folder.Exists(staged(gone, "archives\\other.rfa")));
  EXPECT_TRUE(folder.Exists(staged(1, "archives\\menu.rfa")));
  EXPECT_TRUE(folder.Exists("archives\\menu.rfa.~vlnotes.tmp"));
}

// A file's sum is the same however its reads split it, and tells apart contents that differ in
// one bit, in the order of their words, or by trailing zeros.
TEST(ContentSum, IsTheSameHoweverTheBytesComeAndTellsContentsApart) {
  std::string bytes(1000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 % 251);
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

}  // namespace
}  // namespace platform
