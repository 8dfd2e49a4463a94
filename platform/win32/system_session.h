#pragma once
// What the system needs set up on the thread before windows and pictures can be used: OLE
// (for the picture decoder) and the common controls.

namespace platform::win32 {

class SystemSession {
 public:
  SystemSession();
  ~SystemSession();
  SystemSession(const SystemSession&) = delete;
  SystemSession& operator=(const SystemSession&) = delete;

 private:
  bool oleStarted_ = false;
};

}  // namespace platform::win32
