#pragma once
// Functions of system DLLs that only some runs need, loaded on first use, so that a program that
// never needs the DLL does not load and start it with every start.
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// `name` in `library`, or nullptr if either is missing. The library stays loaded to the end of
// the process; callers keep the answer rather than asking again.
template <typename Function>
Function LibraryFunction(const char* library, const char* name) {
  HMODULE module = LoadLibraryA(library);
  if (module == nullptr) return nullptr;
  // Through void(*)(), the one function type every other converts to without complaint.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace platform::win32
