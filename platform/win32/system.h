#pragma once
// What the programs ask of the system itself: the thread's session (the common controls at
// once, OLE only when a picture first needs it), functions of system DLLs loaded on first use,
// and the filter on messages from programs of lower integrity.
#include "platform/win32/windows_api.h"

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

// `name` in `library`, or nullptr if either is missing: for functions only some runs need, so
// that a program that never needs the DLL does not load and start it with every start. The
// library stays loaded to the end of the process; callers keep the answer rather than asking
// again.
template <typename Function>
Function LibraryFunction(const char* library, const char* name) {
  HMODULE module = LoadLibraryA(library);
  if (module == nullptr) return nullptr;
  // Through void(*)(), the one function type every other converts to without complaint.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Lets `message` reach `window` from any program. A program running elevated gets none of the
// messages of programs of lower integrity by default, also not the shell's "TaskbarCreated"
// broadcast, after which it must add its notification icons again. ChangeWindowMessageFilterEx
// exists from Windows 7 on; where it is missing (and with it the filter) this does nothing.
// False if the filter could not be changed.
bool AllowFromAnyProgram(HWND window, UINT message);

}  // namespace platform::win32
