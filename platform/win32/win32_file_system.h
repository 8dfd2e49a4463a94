#pragma once
// The file operations on Windows, through the ANSI API: paths relative to the working
// directory, written with backslashes.
#include <functional>
#include <string>

#include "platform/file_system.h"

namespace platform::win32 {

class Win32FileSystem : public FileSystem {
 public:
  // How the file system waits before it tries a step again that failed because another
  // program had the file open; the system's Sleep unless a test passes its own.
  using Wait = std::function<void(unsigned long milliseconds)>;

  Win32FileSystem();
  explicit Win32FileSystem(Wait waitWhileInUse);

  std::string Stage(const std::string& source, const std::string& destination) override;
  std::string KeepAside(const std::string& path) override;
  void Replace(const std::string& staged, const std::string& destination) override;
  bool Exists(const std::string& path) override;
  bool Remove(const std::string& path) noexcept override;

 private:
  void CheckDestination(const std::string& destination);

  Wait waitWhileInUse_;
};

// The folder a path names its file in, in a form the system accepts on its own: "." for a bare
// name, "\" for "\name", "C:\" for "C:\name", "C:" for "C:name".
std::string FolderOf(const std::string& path);

}  // namespace platform::win32
