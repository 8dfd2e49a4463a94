#pragma once
// The POSIX file system with a record of every path the program handed it, so that a test can
// tell which files a program reached for, whatever the outcome; and that can stop the program
// dead at a chosen change, as a kill or a power cut does.
#include <string>
#include <vector>

#include "platform/headless/posix_file_system.h"

namespace faults {

// Thrown where the program is stopped: nothing it would do after runs, no undo, no clean-up.
struct Stopped {};

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
    Change();
    return Base::CopyToNew(source, name, destination);
  }
  bool WriteNew(const std::string& name, const std::string& contents) override {
    Note({name});
    Change();
    return Base::WriteNew(name, contents);
  }
  platform::NewName LinkToNew(const std::string& path, const std::string& name) override {
    Note({path, name});
    Change();
    return Base::LinkToNew(path, name);
  }
  void RenameOver(const std::string& from, const std::string& to) override {
    Note({from, to});
    Change();
    Base::RenameOver(from, to);
  }
  platform::Removal Remove(const std::string& path) noexcept override {
    Note({path});
    if (stopped_ || (stopAt > 0 && ++changes >= stopAt)) {
      stopped_ = true;  // raises nothing here: the program stops at its next change
      return platform::Removal::kGone;
    }
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

  // Counts a change the program makes to its files or its settings; at the `stopAt`th and
  // after it (0: never), the change is not made and the program stops.
  void Change() {
    if (stopped_ || (stopAt > 0 && ++changes >= stopAt)) {
      stopped_ = true;
      throw Stopped{};
    }
  }

  bool stopped() const { return stopped_; }

  std::vector<std::string> paths;
  int stopAt = 0;
  int changes = 0;

 private:
  bool stopped_ = false;
  void Note(std::initializer_list<std::string> handed) noexcept {
    paths.insert(paths.end(), handed.begin(), handed.end());
  }
};

}  // namespace faults
