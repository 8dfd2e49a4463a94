#pragma once
// Helpers of the fault tests: large files written and compared in chunks, snapshots of a whole
// folder, and a small file system mounted for a disk that fills up.
#include <cstddef>
#include <map>
#include <string>

namespace faults {

// Writes `contents` to `path` (forward slashes), making its folders.
void WriteText(const std::string& path, const std::string& contents);
// Writes `size` bytes of a pattern that differs from offset to offset and from seed to seed.
void WritePattern(const std::string& path, std::size_t size, unsigned seed);
// True if both files exist and hold the same bytes.
bool SameBytes(const std::string& a, const std::string& b);

// Every file below `folder` (relative, with forward slashes) with its contents; a folder shows
// as its name followed by '/' and no contents, so that an emptied or new folder shows too.
std::map<std::string, std::string> Snapshot(const std::string& folder = ".");

// A file system of `bytes` bytes (tmpfs) mounted on `folder`, which is made if missing, for
// the life of the object. Mounting needs root: when refused, mounted() is false and reason()
// says why.
class SmallDisk {
 public:
  SmallDisk(std::string folder, std::size_t bytes);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool mounted() const { return mounted_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string folder_;
  bool mounted_ = false;
  std::string reason_;
};

}  // namespace faults
