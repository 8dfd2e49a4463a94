#pragma once
// What the system needs set up on the thread before windows and pictures can be used: the
// common controls at once, OLE (for the picture decoder) only when a picture first needs it.

namespace platform::win32 {

class SystemSession {
 public:
  SystemSession();
  ~SystemSession();  // ends OLE on the thread if it was started
  SystemSession(const SystemSession&) = delete;
  SystemSession& operator=(const SystemSession&) = delete;
};

// Starts OLE on the calling thread unless it runs already; a later SystemSession's end stops
// it again.
void StartOle();

}  // namespace platform::win32
