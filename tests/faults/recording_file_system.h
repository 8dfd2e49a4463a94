#pragma once
// The POSIX file system with a record of every path the program handed it, so that a test can
// tell which files a program reached for, whatever the outcome.
#include <string>
#include <vector>

#include "platform/headless/posix_file_system.h"

namespace faults {

class RecordingFileSystem : public platform::FileSystem {
 public:
  std::string Stage(const std::string& source, const std::string& destination) override {
    paths.push_back(source);
    paths.push_back(destination);
    std::string staged = files_.Stage(source, destination);
    paths.push_back(staged);
    return staged;
  }
  std::string KeepAside(const std::string& path) override {
    paths.push_back(path);
    std::string aside = files_.KeepAside(path);
    paths.push_back(aside);
    return aside;
  }
  void Replace(const std::string& staged, const std::string& destination) override {
    paths.push_back(staged);
    paths.push_back(destination);
    files_.Replace(staged, destination);
  }
  bool Exists(const std::string& path) override {
    paths.push_back(path);
    return files_.Exists(path);
  }
  bool Remove(const std::string& path) noexcept override {
    paths.push_back(path);
    return files_.Remove(path);
  }

  std::vector<std::string> paths;

 private:
  platform::headless::PosixFileSystem files_;
};

}  // namespace faults
