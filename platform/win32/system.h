#pragma once
// What the programs ask of the system itself: DLLs from the system folder alone, the thread's
// session (the common controls at once, OLE only when a picture first needs it), functions of
// system DLLs loaded on first use, and the filter on messages from programs of lower integrity.
// The programs run on Windows XP SP3 and later: what later versions brought they look up as they
// run and do without where it is missing.
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// The functions of Windows after XP that the programs use where the system has them; each is
// nullptr where it does not. Tests pass their own to stand for an older system.
struct LaterSystemFunctions {
  // Windows 8, and Vista and 7 with update KB2533623: keeps every later DLL search to the folders
  // named.
  BOOL(WINAPI* setDefaultDllDirectories)(DWORD directories) = nullptr;
  // Windows Vista: lets a message through the filter of the whole process.
  BOOL(WINAPI* changeWindowMessageFilter)(UINT message, DWORD action) = nullptr;
  // Windows 7: lets a message through the filter of one window.
  BOOL(WINAPI* changeWindowMessageFilterEx)
  (HWND window, UINT message, DWORD action, void* status) = nullptr;
};

// This system's own, looked up once.
const LaterSystemFunctions& ThisSystem();

// Keeps every later DLL load of the process, the system's own included, to the system folder,
// so that no DLL in the program's folder or the working folder is ever loaded in place of a
// system DLL: the programs stand in folders that users can write to, and may run elevated.
// The first thing a program does: its static imports are only of DLLs that Windows takes from
// the system folder anyway (KnownDLLs), every other is loaded after this call. The DLLs that the
// windows' system libraries load late by name are loaded here at once from the system folder,
// also where the search cannot be restricted (XP, and Vista and 7 before update KB2533623), where
// the program's folder stays in the search and every system DLL is loaded by its full path.
void LoadDllsFromSystemFolderOnly(const LaterSystemFunctions& system = ThisSystem());

// `library` ("uxtheme.dll") from the system folder, or from the side-by-side store where the
// program's manifest names it (the version 6 common controls); nullptr if it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* library,
                          const LaterSystemFunctions& system = ThisSystem());

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

// `name` in `module`, or nullptr if either is missing.
template <typename Function>
Function ModuleFunction(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  // Through void(*)(), the one function type every other converts to without complaint.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// `name` in `library`, or nullptr if either is missing: for functions only some runs need, so
// that a program that never needs the DLL does not load and start it with every start. The
// library stays loaded to the end of the process; callers keep the answer rather than asking
// again.
template <typename Function>
Function LibraryFunction(const wchar_t* library, const char* name) {
  return ModuleFunction<Function>(LoadSystemLibrary(library), name);
}

// Lets `message` reach `window` from any program. A program running elevated gets none of the
// messages of programs of lower integrity by default, also not the shell's "TaskbarCreated"
// broadcast, after which it must add its notification icons again. Windows 7 and later filter
// each window, Vista the whole process; XP has no filter, and there this does nothing. False if
// the filter could not be changed.
bool AllowFromAnyProgram(HWND window, UINT message,
                         const LaterSystemFunctions& system = ThisSystem());

}  // namespace platform::win32
