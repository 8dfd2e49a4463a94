#pragma once
// Fresh temporary folders, one of them the working directory while it lives, with helpers to
// lay out and read back files by the programs' own backslash paths. The same on POSIX and on
// Windows.
#include <map>
#include <string>
#include <vector>

namespace test_support {

// Every file below `folder` (relative, with forward slashes) with its contents; a folder shows
// as its name followed by '/' and no contents, so that an emptied or new folder shows too.
std::map<std::string, std::string> Snapshot(const std::string& folder = ".");

// Files by paths relative to the working directory, written with backslashes as the programs
// write them.
class WorkingFolderFiles {
 public:
  // Makes the folder and any missing folders above it.
  void MakeFolder(const std::string& folder) const;
  // Writes `contents` whole, making the file's folders; throws if it cannot.
  void Write(const std::string& file, const std::string& contents) const;
  // The file's contents, or "<missing>" when it cannot be read.
  std::string Read(const std::string& file) const;
  bool Exists(const std::string& file) const;
  void MakeReadOnly(const std::string& file) const;
  void MakeWritable(const std::string& file) const;
  // The names of the entries of `folder` (files and folders), sorted, separated by spaces.
  std::string Names(const std::string& folder) const;
};

// A new, empty folder in the temporary folder, removed with everything in it, read-only files
// included, when the object goes away.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // Every file below the folder, relative, with forward slashes, sorted.
  std::vector<std::string> AllFiles() const;

 private:
  std::string path_;
};

// A temporary folder that is the working directory while it lives.
class TempWorkingFolder : public TempFolder, public WorkingFolderFiles {
 public:
  TempWorkingFolder();
  ~TempWorkingFolder();

 private:
  std::string previous_;
};

}  // namespace test_support
