#include "platform/file_copier.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/posix_file_system.h"
#include "platform/runtime_error.h"
#include "tests/support/temp_folder.h"

namespace platform {
namespace {

using headless::PosixFileSystem;
using test_support::TempWorkingFolder;

int CopyError(FileCopier& copier, const std::string& source, const std::string& destination,
              std::string* path = nullptr) {
  try {
    copier.Copy(source, destination);
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
  copier.Copy("cr\\7\\menu.rfa", "archives\\menu.rfa");
  EXPECT_EQ(folder.Read("archives\\menu.rfa"), "new crosshair");

  copier.Copy("cr\\7\\menu.rfa", "archives\\fresh.rfa");
  EXPECT_EQ(folder.Read("archives\\fresh.rfa"), "new crosshair");
  EXPECT_EQ(folder.AllFiles(),
            (std::vector<std::string>{"archives/fresh.rfa", "archives/menu.rfa", "cr/7/menu.rfa"}));
}

TEST_F(FileCopierTest, CopiesLargeFilesExactly) {
  std::string big(3 * 1024 * 1024 + 17, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 31 % 251);
  folder.Write("big.rfa", big);
  copier.Copy("big.rfa", "copy.rfa");
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

// Fails the n-th replacement, to see what a copy that breaks half-way leaves behind.
class FailingReplace : public PosixFileSystem {
 public:
  explicit FailingReplace(int failAt) : failAt_(failAt) {}
  void Replace(const std::string& staged, const std::string& destination) override {
    if (++count_ == failAt_) throw RuntimeError(error::kPermissionDenied, destination);
    PosixFileSystem::Replace(staged, destination);
  }

 private:
  int failAt_;
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
    copier.CopyAll(steps);
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
  FailingReplace failing(3);
  FileCopier careful(failing);
  EXPECT_THROW(careful.CopyAll(steps), RuntimeError);
  EXPECT_EQ(folder.Read("mods\\bf1942\\init.con"), "bf off");
  EXPECT_FALSE(folder.Exists("mods\\xpack1\\init.con"));
  EXPECT_EQ(folder.Read("mods\\xpack2\\init.con"), "x2 off");
  EXPECT_EQ(folder.AllFiles(), before);

  copier.CopyAll(steps);
  EXPECT_EQ(folder.Read("mods\\bf1942\\init.con"), "bf on");
  EXPECT_EQ(folder.Read("mods\\xpack1\\init.con"), "x1 on");
  EXPECT_EQ(folder.Read("mods\\xpack2\\init.con"), "x2 on");
  EXPECT_EQ(folder.AllFiles().size(), before.size() + 1);
}

}  // namespace
}  // namespace platform
