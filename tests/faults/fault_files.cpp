#include "tests/faults/fault_files.h"

#include <sys/mount.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace faults {
namespace {

constexpr std::size_t kChunk = 1 << 20;

}  // namespace

void WriteText(const std::string& path, const std::string& contents) {
  const std::filesystem::path target = path;
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path());
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out << contents;
  if (!out) throw std::runtime_error("cannot write " + path);
}

void WritePattern(const std::string& path, std::size_t size, unsigned seed) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::vector<char> chunk(kChunk);
  unsigned state = seed * 2654435761u + 1;
  for (std::size_t written = 0; written < size;) {
    const std::size_t count = std::min(kChunk, size - written);
    for (std::size_t i = 0; i < count; ++i) {
      state = state * 1103515245u + 12345u;
      chunk[i] = static_cast<char>(state >> 16);
    }
    out.write(chunk.data(), static_cast<std::streamsize>(count));
    written += count;
  }
  if (!out) throw std::runtime_error("cannot write " + path);
}

bool SameBytes(const std::string& a, const std::string& b) {
  std::ifstream first(a, std::ios::binary);
  std::ifstream second(b, std::ios::binary);
  if (!first || !second) return false;
  std::vector<char> one(kChunk);
  std::vector<char> two(kChunk);
  for (;;) {
    first.read(one.data(), static_cast<std::streamsize>(one.size()));
    second.read(two.data(), static_cast<std::streamsize>(two.size()));
    const auto got = static_cast<std::size_t>(first.gcount());
    if (got != static_cast<std::size_t>(second.gcount())) return false;
    if (std::memcmp(one.data(), two.data(), got) != 0) return false;
    if (got < kChunk) return true;  // both ended at the same byte
  }
}

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
