#pragma once
// The file operations copying is built from, on a POSIX system, for the native tests: backslashes
// in the program's paths are folder separators, and a file without write permission stands for
// a read-only one. No other program holds a file here, so nothing is ever in use.
#include "platform/services/file_system.h"

namespace platform::headless {

class PosixFileSystem : public FileSystem {
 public:
  void CheckSource(const std::string& source) override;
  void CheckDestination(const std::string& destination) override;
  bool CopyToNew(const std::string& source, const std::string& name, const std::string& destination,
                 ContentSum& sum) override;
  bool WriteNew(const std::string& name, const std::string& contents) override;
  std::optional<std::string> ReadAll(const std::string& path) override;
  bool ReadInto(const std::string& path, ContentSum& sum) override;
  std::optional<FileFacts> Facts(const std::string& path) override;
  NewName LinkToNew(const std::string& path, const std::string& name) override;
  void RenameOver(const std::string& from, const std::string& to) override;
  void PutOnDisk(const std::string& path) override;
  Removal Remove(const std::string& path) noexcept override;
  bool Exists(const std::string& path) override;
  std::vector<std::string> NamesBeside(const std::string& path) override;
  std::string FolderIdentity() override;
  std::uint32_t ProcessId() override;
  bool ProcessIsGone(std::uint32_t processId) override;
  void Wait(unsigned long milliseconds) override;

 protected:
  // Whether what is written is put on the disk before a step returns; a file system that stands
  // for another disk keeps what a power cut would keep itself.
  void SkipSyncs() { syncs_ = false; }

 private:
  bool Synced(int descriptor) const;
  bool syncs_ = true;
};

// The program's path ("mods\bf1942\init.con") as a POSIX path ("mods/bf1942/init.con").
std::string ToPosixPath(const std::string& path);

}  // namespace platform::headless
