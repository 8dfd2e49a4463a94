#pragma once
// Helpers of the native fault tests: snapshots of a whole folder, and a small file system
// mounted for a disk that fills up.
#include <cstddef>
#include <map>
#include <string>

namespace faults {

// Every file below `folder` (relative, with forward slashes) with its contents; a folder shows
// as its name followed by '/' and no contents, so that an emptied or new folder shows too.
std::map<std::string, std::string> Snapshot(const std::string& folder = ".");

// A file system of `bytes` bytes (tmpfs) mounted on `folder`, which is made if missing, for
// the life of the object. Mounting needs root, or the user and mount namespace of their own that
// CTest runs the fault tests in (own_mount_namespace.sh): when refused, mounted() is false and
// reason() says why.
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
