#pragma once
// The file operations on a POSIX system, for the native tests: backslashes in the program's
// paths are folder separators, and a file without write permission stands for a read-only one.
#include "platform/file_system.h"

namespace platform::headless {

class PosixFileSystem : public FileSystem {
 public:
  std::string Stage(const std::string& source, const std::string& destination) override;
  std::string KeepAside(const std::string& path) override;
  void Replace(const std::string& staged, const std::string& destination) override;
  bool Exists(const std::string& path) override;
  bool Remove(const std::string& path) noexcept override;
};

// The program's path ("mods\bf1942\init.con") as a POSIX path ("mods/bf1942/init.con").
std::string ToPosixPath(const std::string& path);

}  // namespace platform::headless
