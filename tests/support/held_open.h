#pragma once
// A file held open by "another program" (the game, a virus scanner) under Windows: a handle of
// the test's own with the given access and sharing, which the system weighs against the
// program's handles as it would another process's.
#include <string>
#include <thread>

#include "platform/win32/windows_api.h"

namespace test_support {

class HeldOpen {
 public:
  // Held until the object's end, or let go after `forMs` milliseconds, as a scanner does.
  explicit HeldOpen(const std::string& path, DWORD access = GENERIC_READ, DWORD sharing = 0,
                    DWORD forMs = INFINITE)
      : handle_(CreateFileA(path.c_str(), access, sharing, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (valid() && forMs != INFINITE) {
      lettingGo_ = std::thread([handle = handle_, forMs] {
        Sleep(forMs);
        CloseHandle(handle);
      });
    }
  }
  ~HeldOpen() {
    if (lettingGo_.joinable()) {
      lettingGo_.join();
    } else if (valid()) {
      CloseHandle(handle_);
    }
  }
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  const HANDLE handle_;
  std::thread lettingGo_;
};

}  // namespace test_support
