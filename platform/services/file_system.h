#pragma once
// The file operations copying is built from (staging.h), each a step a backend does with one
// or two system calls. Paths are relative to the working directory and written with
// backslashes. A failure raises a RuntimeError carrying the runtime's number (76 missing
// folder, 53 missing source file, 70 destination not writable, 61 disk full, 75 anything else)
// and the path at fault.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/services/content_sum.h"
#include "platform/services/runtime_error.h"

namespace platform {

// A step that failed because another program holds the file open, which virus scanners, the
// search indexer and backup programs do for a moment with a file just written: worth trying
// again. Error 70, permission denied, once the tries are used up.
class FileInUse : public RuntimeError {
 public:
  explicit FileInUse(std::string path) : RuntimeError(error::kPermissionDenied, std::move(path)) {}
};

enum class NewName {
  kMade,
  kTaken,    // the name exists already
  kRefused,  // for any other reason: no links on this volume, say
};

// What a file is, as far as telling contents apart needs: its size, and which file it is on its
// volume together with when it was last written, which a rename and a second link both keep.
// The identity is empty where the system keeps no index of its files.
struct FileFacts {
  std::uint64_t size = 0;
  std::string identity;
};

enum class Removal {
  kGone,  // removed, or nothing was there
  kInUse,
  kRefused,
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Raises what a copy from `source` meets: 76 when a folder on its path is missing, 53 when
  // the file is missing from an existing folder, 75 when it is a folder.
  virtual void CheckSource(const std::string& source) = 0;
  // Raises what replacing `destination` meets: 76 when its folder is missing; 70 when it is a
  // folder or read-only, and FileInUse while another program holds it open. A new file passes.
  virtual void CheckDestination(const std::string& destination) = 0;
  // Makes the file `name`, which must not exist yet, with the bytes of `source`, written
  // through to the disk, and adds those bytes to `sum`; false when the name is taken. A failure
  // to read raises with `source` as the path at fault, a failure to write with `destination`;
  // the caller removes `name`.
  virtual bool CopyToNew(const std::string& source, const std::string& name,
                         const std::string& destination, ContentSum& sum) = 0;
  // Makes the file `name`, which must not exist yet, holding `contents`, written through to the
  // disk; false when the name is taken. A failure raises with `name` as the path at fault; the
  // caller removes `name`.
  virtual bool WriteNew(const std::string& name, const std::string& contents) = 0;
  // The contents of the small file `path`, or nothing when it cannot be read.
  virtual std::optional<std::string> ReadAll(const std::string& path) = 0;
  // Adds the bytes of the file `path` to `sum`; false when it cannot be read whole.
  virtual bool ReadInto(const std::string& path, ContentSum& sum) = 0;
  // The facts of the file `path`, or nothing when there is none.
  virtual std::optional<FileFacts> Facts(const std::string& path) = 0;
  // Gives the file `path` the further name `name`, a second link to the same file: no byte is
  // copied or written, and `name` keeps the contents when `path` is replaced.
  virtual NewName LinkToNew(const std::string& path, const std::string& name) = 0;
  // Puts the file `from` in the place of `to` in one step. Refuses, with 70, a `to` that is a
  // folder or read-only (as Windows does, also where the system itself would not); FileInUse
  // while another program holds `to` open.
  virtual void RenameOver(const std::string& from, const std::string& to) = 0;
  // Puts the name `path` now has on the disk, where a rename is only written later: a file
  // system without a journal (FAT32, exFAT) may otherwise keep a later change and lose this one
  // at a power cut. Raises what writing `path` meets.
  virtual void PutOnDisk(const std::string& path) = 0;
  virtual Removal Remove(const std::string& path) noexcept = 0;
  virtual bool Exists(const std::string& path) = 0;
  // The plain names of the entries of the folder `path` lies in: at least all those that begin
  // with the plain name of `path`.
  virtual std::vector<std::string> NamesBeside(const std::string& path) = 0;
  // What tells the working folder from every other folder, however its path is spelled; empty
  // when it cannot be told.
  virtual std::string FolderIdentity() = 0;
  virtual std::uint32_t ProcessId() = 0;
  // True when no process of that id runs any longer.
  virtual bool ProcessIsGone(std::uint32_t processId) = 0;
  // Waits before a step that found a file in use is tried again.
  virtual void Wait(unsigned long milliseconds) = 0;
};

}  // namespace platform
