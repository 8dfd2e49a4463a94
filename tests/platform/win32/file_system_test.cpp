#include "platform/win32/services/win32_file_system.h"
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/services/file_copier.h"
#include "platform/services/runtime_error.h"
#include "platform/services/staging.h"
#include "tests/support/byte_pattern.h"
#include "tests/support/copy_one.h"
#include "tests/support/temp_folder.h"

namespace platform::win32 {
namespace {

using test_support::PatternBytes;

// A file held open by "another program": a handle with the given sharing, closed at the end.
class HeldOpen {
 public:
  HeldOpen(const std::string& path, DWORD access, DWORD sharing)
      : handle_(CreateFileA(path.c_str(), access, sharing, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldOpen() {
    if (valid()) CloseHandle(handle_);
  }
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// The copy contract through the portable copier, on real folders in the working directory.
class Win32FileCopyTest : public ::testing::Test {
 protected:
  Win32FileCopyTest() {
    folder_.MakeFolder("cr");
    folder_.MakeFolder("cr\\7");
    folder_.MakeFolder("archives");
    folder_.Write("cr\\7\\menu.rfa", newContents_);
    folder_.Write("archives\\menu.rfa", oldContents_);
  }

  // Copies and returns the error raised (number and path), or 0 when the copy succeeded.
  RuntimeError CopyError(const std::string& source, const std::string& destination) {
    try {
      test_support::CopyOne(copier_, source, destination);
    } catch (const RuntimeError& error) {
      return error;
    }
    return RuntimeError(0);
  }

  test_support::TempWorkingFolder folder_;
  // Larger than one chunk, and different in length from the new contents.
  const std::string newContents_ = PatternBytes((5u << 20) / 2 + 17, 1);
  const std::string oldContents_ = PatternBytes((3u << 20) + 5, 2);
  Win32FileSystem files_;
  Staging staging_{files_};
  FileCopier copier_{files_};
};

TEST_F(Win32FileCopyTest, ReplacesAnExistingDestinationByteForByte) {
  test_support::CopyOne(copier_, "cr\\7\\menu.rfa", "archives\\menu.rfa");
  EXPECT_TRUE(folder_.Read("archives\\menu.rfa") == newContents_) << "archives\\menu.rfa";
  EXPECT_EQ(folder_.Names("archives"), "menu.rfa");

  test_support::CopyOne(copier_, "cr\\7\\menu.rfa", "archives\\new.rfa");
  EXPECT_TRUE(folder_.Read("archives\\new.rfa") == newContents_) << "archives\\new.rfa";
  // The copy is an ordinary file, whatever the source's attributes.
  folder_.MakeReadOnly("cr\\7\\menu.rfa");
  test_support::CopyOne(copier_, "cr\\7\\menu.rfa", "archives\\third.rfa");
  EXPECT_EQ(GetFileAttributesA("archives\\third.rfa") & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(Win32FileCopyTest, MissingFoldersRaise76AndMissingFilesRaise53) {
  RuntimeError error = CopyError("rt\\2\\game.rfa", "archives\\game.rfa");
  EXPECT_EQ(error.number(), error::kPathNotFound);
  EXPECT_EQ(error.path(), "rt\\2\\game.rfa");

  error = CopyError("cr\\7\\menu.rfa", "archives\\bf1942\\game.rfa");
  EXPECT_EQ(error.number(), error::kPathNotFound);
  EXPECT_EQ(error.path(), "archives\\bf1942\\game.rfa");

  error = CopyError("cr\\7\\missing.rfa", "archives\\menu.rfa");
  EXPECT_EQ(error.number(), error::kFileNotFound);
  EXPECT_EQ(error.path(), "cr\\7\\missing.rfa");

  error = CopyError("cr\\7", "archives\\menu.rfa");  // a folder as source
  EXPECT_EQ(error.number(), error::kPathFileAccess);

  EXPECT_TRUE(folder_.Read("archives\\menu.rfa") == oldContents_) << "archives\\menu.rfa";
  EXPECT_EQ(folder_.Names("archives"), "menu.rfa");
}

TEST_F(Win32FileCopyTest, AnUnwritableDestinationRaises70AndStaysAsItWas) {
  folder_.MakeReadOnly("archives\\menu.rfa");
  RuntimeError error = CopyError("cr\\7\\menu.rfa", "archives\\menu.rfa");
  EXPECT_EQ(error.number(), error::kPermissionDenied);
  EXPECT_EQ(error.path(), "archives\\menu.rfa");
  folder_.MakeWritable("archives\\menu.rfa");

  {
    HeldOpen game("archives\\menu.rfa", GENERIC_READ, 0);
    ASSERT_TRUE(game.valid());
    error = CopyError("cr\\7\\menu.rfa", "archives\\menu.rfa");
    EXPECT_EQ(error.number(), error::kPermissionDenied);
    EXPECT_EQ(error.path(), "archives\\menu.rfa");
  }
  {
    // Shared for reading and writing but not for deletion: still in use.
    HeldOpen reader("archives\\menu.rfa", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(reader.valid());
    EXPECT_EQ(CopyError("cr\\7\\menu.rfa", "archives\\menu.rfa").number(),
              error::kPermissionDenied);
  }

  folder_.MakeFolder("archives\\bf1942");
  error = CopyError("cr\\7\\menu.rfa", "archives\\bf1942");
  EXPECT_EQ(error.number(), error::kPermissionDenied);
  EXPECT_EQ(error.path(), "archives\\bf1942");

  EXPECT_TRUE(folder_.Read("archives\\menu.rfa") == oldContents_) << "archives\\menu.rfa";
  EXPECT_EQ(folder_.Names("archives"), "bf1942 menu.rfa");
}

TEST_F(Win32FileCopyTest, ASourceThatCannotBeReadLeavesTheDestinationWhole) {
  {
    HeldOpen writer("cr\\7\\menu.rfa", GENERIC_WRITE, 0);
    ASSERT_TRUE(writer.valid());
    const RuntimeError error = CopyError("cr\\7\\menu.rfa", "archives\\menu.rfa");
    EXPECT_EQ(error.number(), error::kPermissionDenied);
    EXPECT_EQ(error.path(), "cr\\7\\menu.rfa");
  }
  EXPECT_TRUE(folder_.Read("archives\\menu.rfa") == oldContents_) << "archives\\menu.rfa";
  EXPECT_EQ(folder_.Names("archives"), "menu.rfa");
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

TEST_F(Win32FileCopyTest, AFailureHalfWayThroughTheBytesLeavesNothingBehind) {
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
  EXPECT_TRUE(folder_.Read("archives\\menu.rfa") == oldContents_);
  EXPECT_EQ(folder_.Names("archives"), "menu.rfa");
}

TEST_F(Win32FileCopyTest, ReplacingChecksTheDestinationAgain) {
  const std::string staged = staging_.Stage("cr\\7\\menu.rfa", "archives\\menu.rfa").first;
  folder_.MakeReadOnly("archives\\menu.rfa");  // made read-only after staging
  try {
    staging_.Replace(staged, "archives\\menu.rfa");
    FAIL() << "a read-only file was replaced";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), error::kPermissionDenied);
    EXPECT_EQ(error.path(), "archives\\menu.rfa");
  }
  EXPECT_TRUE(folder_.Read("archives\\menu.rfa") == oldContents_);
  staging_.Remove(staged);
  EXPECT_FALSE(staging_.Exists(staged));
  EXPECT_EQ(folder_.Names("archives"), "menu.rfa");
}

TEST_F(Win32FileCopyTest, OurFilesGoAlsoWhenAScannerHoldsThemForAMoment) {
  std::unique_ptr<HeldOpen> scanner;
  Win32FileSystem files([&scanner](unsigned long) { scanner.reset(); });
  Staging staging(files);
  const std::string staged = staging.Stage("cr\\7\\menu.rfa", "archives\\menu.rfa").first;
  scanner = std::make_unique<HeldOpen>(staged, GENERIC_READ, FILE_SHARE_READ);
  ASSERT_TRUE(scanner->valid());
  EXPECT_TRUE(staging.Remove(staged));
  EXPECT_EQ(folder_.Names("archives"), "menu.rfa");
}

TEST_F(Win32FileCopyTest, CopyAllReplacesEverythingOrNothing) {
  folder_.MakeFolder("rt");
  folder_.MakeFolder("rt\\2");
  folder_.MakeFolder("archives\\bf1942");
  folder_.Write("rt\\2\\game.rfa", "new game");
  folder_.Write("archives\\bf1942\\game.rfa", "old game");
  const std::vector<CopyStep> steps = {{"cr\\7\\menu.rfa", "archives\\menu.rfa"},
                                       {"rt\\2\\game.rfa", "archives\\bf1942\\game.rfa"}};

  folder_.MakeReadOnly("archives\\bf1942\\game.rfa");
  try {
    copier_.CopyAll(steps, "off", "on");
    FAIL() << "the copies were reported as done";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), error::kPermissionDenied);
    EXPECT_EQ(error.path(), "archives\\bf1942\\game.rfa");
  }
  EXPECT_TRUE(folder_.Read("archives\\menu.rfa") == oldContents_) << "archives\\menu.rfa";
  EXPECT_EQ(folder_.Read("archives\\bf1942\\game.rfa"), "old game");
  EXPECT_EQ(folder_.Names("archives"), "bf1942 menu.rfa");
  EXPECT_EQ(folder_.Names("archives\\bf1942"), "game.rfa");

  folder_.MakeWritable("archives\\bf1942\\game.rfa");
  copier_.CopyAll(steps, "off", "on");
  // Until committed, the old contents wait beside, with the record that can put them back.
  const std::string self = "menu.rfa.~vl" + std::to_string(GetCurrentProcessId());
  EXPECT_NE(folder_.Names("archives").find(self + ".record"), std::string::npos);
  EXPECT_NE(folder_.Names("archives").find(self + "-"), std::string::npos);
  copier_.Commit();
  EXPECT_TRUE(folder_.Read("archives\\menu.rfa") == newContents_) << "archives\\menu.rfa";
  EXPECT_EQ(folder_.Read("archives\\bf1942\\game.rfa"), "new game");
  EXPECT_EQ(folder_.Names("archives"), "bf1942 menu.rfa");
  EXPECT_EQ(folder_.Names("archives\\bf1942"), "game.rfa");
}

TEST(Win32FolderOf, NamesTheFolderInAFormTheSystemAccepts) {
  EXPECT_EQ(FolderOf("menu.rfa"), ".");
  EXPECT_EQ(FolderOf("archives\\menu.rfa"), "archives");
  EXPECT_EQ(FolderOf("mods\\bf1942\\init.con"), "mods\\bf1942");
  EXPECT_EQ(FolderOf("\\init.con"), "\\");
  EXPECT_EQ(FolderOf("C:\\init.con"), "C:\\");
  EXPECT_EQ(FolderOf("C:init.con"), "C:");
  EXPECT_EQ(FolderOf("archives/menu.rfa"), "archives");
}

}  // namespace
}  // namespace platform::win32
