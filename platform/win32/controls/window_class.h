#pragma once
// Registering the window classes of our own windows.
#include "platform/win32/windows_api.h"

namespace platform::win32 {

struct WindowClassDesign {
  const char* name;
  WNDPROC procedure;
  int extraBytes = 0;    // window bytes of each window, for GetWindowLongPtr
  HICON icon = nullptr;  // what its windows show, at the system's two sizes
  HICON smallIcon = nullptr;
};

// Registers the class, or finds it registered already (by an earlier backend in the same
// process); its atom either way. Throws std::runtime_error if neither works.
ATOM RegisterWindowClass(HINSTANCE instance, const WindowClassDesign& design);

}  // namespace platform::win32
