#pragma once
// The POSIX file system with a record of every path the program handed it, so that a test can
// tell which files a program reached for, whatever the outcome; and that can stop the program
// dead at a chosen change, as a kill or a power cut does. As a disk without a journal (FAT32,
// exFAT) it has no links, and a power cut loses every rename and removal in a folder that was
// not put on the disk since.
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless/posix_file_system.h"

namespace faults {

// Thrown where the program is stopped: nothing it would do after runs, no undo, no clean-up.
struct Stopped {};

class RecordingFileSystem : public platform::headless::PosixFileSystem {
 public:
  using Base = platform::headless::PosixFileSystem;
  // What a power cut keeps is this file system's own business: the disk below need not sync.
  RecordingFileSystem() { SkipSyncs(); }

  void CheckSource(const std::string& source) override {
    Note({source});
    Base::CheckSource(source);
  }
  void CheckDestination(const std::string& destination) override {
    Note({destination});
    Base::CheckDestination(destination);
  }
  bool CopyToNew(const std::string& source, const std::string& name, const std::string& destination,
                 platform::ContentSum& sum) override {
    Note({source, name, destination});
    Change();
    const bool made = Base::CopyToNew(source, name, destination, sum);
    Flushed(name);  // flushing a file writes its folder along
    return made;
  }
  bool WriteNew(const std::string& name, const std::string& contents) override {
    Note({name});
    Change();
    const bool made = Base::WriteNew(name, contents);
    Flushed(name);
    return made;
  }
  platform::NewName LinkToNew(const std::string& path, const std::string& name) override {
    Note({path, name});
    if (withoutJournal) return platform::NewName::kRefused;
    Change();
    return Base::LinkToNew(path, name);
  }
  void RenameOver(const std::string& from, const std::string& to) override {
    Note({from, to});
    Change();
    Unflushed(from);
    Unflushed(to);
    Base::RenameOver(from, to);
  }
  void PutOnDisk(const std::string& path) override {
    Note({path});
    Base::PutOnDisk(path);
    Flushed(path);
  }
  platform::Removal Remove(const std::string& path) noexcept override {
    Note({path});
    if (Stopping()) return platform::Removal::kGone;  // the program stops at its next change
    Unflushed(path);
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
    if (Stopping()) throw Stopped{};
  }

  // A power cut, after a stop: every rename and removal not yet on the disk is undone.
  void LoseUnflushed() {
    for (const auto& [path, contents] : unflushed_) {
      const std::string file = platform::headless::ToPosixPath(path);
      if (contents) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << *contents;
      } else {
        std::remove(file.c_str());
      }
    }
    unflushed_.clear();
  }

  bool stopped() const { return stopped_; }

  std::vector<std::string> paths;
  int stopAt = 0;
  int changes = 0;
  bool withoutJournal = false;

 private:
  bool Stopping() {
    stopped_ = stopped_ || (stopAt > 0 && ++changes >= stopAt);
    return stopped_;
  }
  void Note(std::initializer_list<std::string> handed) noexcept {
    paths.insert(paths.end(), handed.begin(), handed.end());
  }
  static std::string Folder(const std::string& path) {
    const auto cut = path.find_last_of('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
  }
  // Keeps what `path` holds until its folder goes to the disk, unless kept already.
  void Unflushed(const std::string& path) {
    if (!withoutJournal || unflushed_.contains(path)) return;
    std::ifstream in(platform::headless::ToPosixPath(path), std::ios::binary);
    std::optional<std::string> contents;
    if (in) {
      std::ostringstream read;
      read << in.rdbuf();
      contents = read.str();
    }
    unflushed_[path] = contents;
  }
  void Flushed(const std::string& path) {
    std::erase_if(unflushed_,
                  [&](const auto& entry) { return Folder(entry.first) == Folder(path); });
  }

  bool stopped_ = false;
  std::map<std::string, std::optional<std::string>>
      unflushed_;  // what each path held when last on the disk
};

}  // namespace faults
