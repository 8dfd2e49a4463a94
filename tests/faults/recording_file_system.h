#pragma once
// The POSIX file system with a record of every path the program handed it, so that a test can
// tell which files a program reached for, whatever the outcome.
#include <string>
#include <vector>

#include "platform/headless/posix_file_system.h"

namespace faults {

class RecordingFileSystem : public platform::headless::PosixFileSystem {
 public:
  using Base = platform::headless::PosixFileSystem;

  void CheckSource(const std::string& source) override {
    Note({source});
    Base::CheckSource(source);
  }
  void CheckDestination(const std::string& destination) override {
    Note({destination});
    Base::CheckDestination(destination);
  }
  bool CopyToNew(const std::string& source, const std::string& name,
                 const std::string& destination) override {
    Note({source, name, destination});
    return Base::CopyToNew(source, name, destination);
  }
  platform::NewName LinkToNew(const std::string& path, const std::string& name) override {
    Note({path, name});
    return Base::LinkToNew(path, name);
  }
  void RenameOver(const std::string& from, const std::string& to) override {
    Note({from, to});
    Base::RenameOver(from, to);
  }
  platform::Removal Remove(const std::string& path) noexcept override {
    Note({path});
    return Base::Remove(path);
  }
  bool Exists(const std::string& path) override {
    Note({path});
    return Base::Exists(path);
  }
  std::vector<std::string> NamesBeside(const std::string& path) override {
    Note({path});
    return Base::NamesBeside(path);
  }

  std::vector<std::string> paths;

 private:
  void Note(std::initializer_list<std::string> handed) noexcept {
    paths.insert(paths.end(), handed.begin(), handed.end());
  }
};

}  // namespace faults
