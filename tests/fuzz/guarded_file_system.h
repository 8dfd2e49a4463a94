#pragma once
// A file system for fuzzing that touches no disk: it checks that every path the program asks
// for stays inside the folders the program may use, and fails every copy as a missing folder.
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/runtime_error.h"

namespace fuzzing {

class GuardedFileSystem : public platform::FileSystem {
 public:
  explicit GuardedFileSystem(std::vector<std::string> allowedPrefixes = {})
      : allowed_(std::move(allowedPrefixes)) {}
  void Allow(std::vector<std::string> prefixes) { allowed_ = std::move(prefixes); }

  std::string Stage(const std::string& source, const std::string& destination) override {
    Check(source);
    Check(destination);
    throw platform::RuntimeError(platform::error::kPathNotFound, source);
  }
  std::string KeepAside(const std::string& path) override {
    Check(path);
    throw platform::RuntimeError(platform::error::kPathNotFound, path);
  }
  void Replace(const std::string&, const std::string& destination) override {
    Check(destination);
    throw platform::RuntimeError(platform::error::kPathNotFound, destination);
  }
  bool Exists(const std::string& path) override {
    Check(path);
    return false;
  }
  bool Remove(const std::string&) noexcept override { return true; }

 private:
  void Check(std::string_view path) const {
    if (path.find("..") != std::string_view::npos || path.find(':') != std::string_view::npos ||
        path.find('/') != std::string_view::npos || path.starts_with("\\"))
      std::abort();
    for (const auto& prefix : allowed_)
      if (path.starts_with(prefix)) return;
    std::abort();
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
