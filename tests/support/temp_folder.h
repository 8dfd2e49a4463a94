#pragma once
// A fresh temporary folder that is the working directory while the object lives, with helpers
// to lay out and read back files by the programs' own backslash paths.
#include <string>
#include <vector>

namespace test_support {

class TempWorkingFolder {
 public:
  TempWorkingFolder();
  ~TempWorkingFolder();
  TempWorkingFolder(const TempWorkingFolder&) = delete;
  TempWorkingFolder& operator=(const TempWorkingFolder&) = delete;

  const std::string& path() const { return path_; }

  // Paths below are relative and use backslashes, as the programs write them.
  void MakeFolder(const std::string& folder);
  void Write(const std::string& file, const std::string& contents);
  std::string Read(const std::string& file) const;
  bool Exists(const std::string& file) const;
  void MakeReadOnly(const std::string& file);
  // Every file below the folder, relative, with forward slashes, sorted.
  std::vector<std::string> AllFiles() const;

 private:
  std::string path_;
  std::string previous_;
};

}  // namespace test_support
