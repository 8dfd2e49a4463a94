#pragma once
// The few file operations that copying is built from. Paths are relative to the working
// directory and written with backslashes; each failure raises a RuntimeError carrying the
// runtime's number (76 missing folder, 53 missing source file, 70 destination not writable,
// 61 disk full, 75 anything else) and the path at fault.
#include <string>

namespace platform {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Checks that `source` is a readable file and that `destination` lies in an existing folder
  // and can be replaced (not a folder, not read-only, not held open by another program), then
  // streams the source's bytes into a new file of a unique name beside the destination and
  // returns that name. On failure nothing is left behind.
  virtual std::string Stage(const std::string& source, const std::string& destination) = 0;
  // Gives the file `path` a second name beside it, under which its contents stay as they are
  // when `path` is replaced, and returns that name: a second link to the same file where the
  // file system has links (no byte is copied or written), else a flushed copy.
  virtual std::string KeepAside(const std::string& path) = 0;
  // Replaces `destination` with the staged file `staged` in one step.
  virtual void Replace(const std::string& staged, const std::string& destination) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // Removes a file of ours (a staged copy, a kept-aside one, or a copy that must be undone);
  // never raises. True once nothing is left under that name.
  virtual bool Remove(const std::string& path) noexcept = 0;
};

}  // namespace platform
