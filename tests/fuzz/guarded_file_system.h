#pragma once
// A file system for fuzzing that touches no disk: it checks that every path the program asks
// for stays inside the folders the program may use, and fails every copy as a missing folder.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/services/file_system.h"
#include "platform/services/runtime_error.h"

namespace fuzzing {

// Whether `path` stays below one of `folders`, never climbing out or naming a drive or the root.
inline bool Confined(std::string_view path, const std::vector<std::string>& folders) {
  if (path.find("..") != std::string_view::npos || path.find(':') != std::string_view::npos ||
      path.find('/') != std::string_view::npos || path.starts_with("\\"))
    return false;
  return std::any_of(folders.begin(), folders.end(),
                     [&](const std::string& folder) { return path.starts_with(folder); });
}

class GuardedFileSystem : public platform::FileSystem {
 public:
  void Allow(std::vector<std::string> prefixes) { allowed_ = std::move(prefixes); }

  void CheckSource(const std::string& source) override { Check(source); }
  void CheckDestination(const std::string& destination) override { Refuse(destination); }
  bool CopyToNew(const std::string& source, const std::string& name, const std::string& destination,
                 platform::ContentSum&) override {
    Check(source);
    Check(name);
    Refuse(destination);
  }
  bool WriteNew(const std::string& name, const std::string&) override { Refuse(name); }
  std::optional<std::string> ReadAll(const std::string& path) override {
    Check(path);
    return std::nullopt;
  }
  bool ReadInto(const std::string& path, platform::ContentSum&) override {
    Check(path);
    return false;
  }
  std::optional<platform::FileFacts> Facts(const std::string& path) override {
    Check(path);
    return std::nullopt;
  }
  platform::NewName LinkToNew(const std::string& path, const std::string& name) override {
    Check(name);
    Refuse(path);
  }
  void RenameOver(const std::string& from, const std::string& to) override {
    Check(from);
    Refuse(to);
  }
  void PutOnDisk(const std::string& path) override { Refuse(path); }
  platform::Removal Remove(const std::string&) noexcept override {
    return platform::Removal::kGone;
  }
  bool Exists(const std::string& path) override {
    Check(path);
    return false;
  }
  std::vector<std::string> NamesBeside(const std::string& path) override {
    Check(path);
    return {};
  }
  std::string FolderIdentity() override { return "fuzzed"; }
  std::uint32_t ProcessId() override { return 1; }
  bool ProcessIsGone(std::uint32_t) override { return false; }
  void Wait(unsigned long) override {}

 private:
  // Every copy fails as a missing folder.
  [[noreturn]] void Refuse(const std::string& path) const {
    Check(path);
    throw platform::RuntimeError(platform::error::kPathNotFound, path);
  }
  void Check(std::string_view path) const {
    if (!Confined(path, allowed_)) std::abort();
  }

  std::vector<std::string> allowed_;
};

// Splits the fuzzer's bytes into `count` texts at NUL bytes (missing ones are empty).
inline std::vector<std::string> SplitTexts(const unsigned char* data, std::size_t size,
                                           std::size_t count) {
  std::vector<std::string> texts(count);
  std::size_t which = 0;
  for (std::size_t i = 0; i < size && which < count; ++i) {
    if (data[i] == 0) {
      ++which;
    } else {
      texts[which].push_back(static_cast<char>(data[i]));
    }
  }
  return texts;
}

}  // namespace fuzzing
