#pragma once
// What the programs ask of the system itself: DLLs from the system folder alone, the thread's
// session (the common controls at once, OLE only when a picture first needs it), functions of
// system DLLs loaded on first use, and the filter on messages from programs of lower integrity.
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// Keeps every later DLL load of the process, the system's own included, to the system folder,
// so that no DLL in the program's folder or the working folder is ever loaded in place of a
// system DLL: the programs stand in folders that users can write to, and may run elevated.
// The first thing a program does: its static imports are only of DLLs that Windows takes from
// the system folder anyway (KnownDLLs), every other is loaded after this call. The DLLs that the
// windows' system libraries load late by name are loaded here at once from the system folder,
// also where the search cannot be restricted (Vista and 7 before update KB2533623).
void LoadDllsFromSystemFolderOnly();

// `library` ("uxtheme.dll") from the system folder, or from the side-by-side store where the
// program's manifest names it (the version 6 common controls); nullptr if it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* library);

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
Function LibraryFunction(const wchar_t* library, const char* name) {
  HMODULE module = LoadSystemLibrary(library);
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
