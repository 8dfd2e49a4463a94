#include "tests/faults/fault_files.h"

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace faults {

std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string name = std::filesystem::relative(entry.path(), folder).generic_string();
    if (entry.is_directory()) {
      files[name + "/"] = "";
      continue;
    }
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    files[name] = contents.str();
  }
  return files;
}

SmallDisk::SmallDisk(std::string folder, std::size_t bytes) : folder_(std::move(folder)) {
  std::filesystem::create_directories(folder_);
  const std::string options = "size=" + std::to_string(bytes);
  if (::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) == 0) {
    mounted_ = true;
  } else {
    reason_ = "cannot mount a small file system on " + folder_ + ": " + std::strerror(errno);
  }
}

SmallDisk::~SmallDisk() {
  if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
}

}  // namespace faults
