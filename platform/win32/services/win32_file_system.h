#pragma once
// The file operations copying is built from, on Windows through the ANSI API: paths relative to
// the working directory, written with backslashes.
#include <functional>
#include <string>

#include "platform/services/file_system.h"

namespace platform::win32 {

class Win32FileSystem : public FileSystem {
 public:
  // How the file system waits before a step that found a file in use is tried again; the
  // system's Sleep unless a test passes its own.
  using Waiting = std::function<void(unsigned long milliseconds)>;

  Win32FileSystem();
  explicit Win32FileSystem(Waiting waiting);

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
  void Wait(unsigned long milliseconds) override { waiting_(milliseconds); }

 private:
  Waiting waiting_;
};

// The folder a path names its file in, in a form the system accepts on its own: "." for a bare
// name, "\" for "\name", "C:\" for "C:\name", "C:" for "C:name".
std::string FolderOf(const std::string& path);

}  // namespace platform::win32
