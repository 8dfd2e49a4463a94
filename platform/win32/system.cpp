#include "platform/win32/system.h"

#include <string>

namespace platform::win32 {
namespace {

// What the common controls and visual styles load by name once the windows appear, where the
// search restriction may not reach (on a Windows without it; under Wine, a delay-loaded import
// of its own DLLs searches the program's folder first). None is a KnownDLL.
constexpr const wchar_t* kLoadedByTheWindows[] = {L"uxtheme.dll", L"msimg32.dll"};

// Whether the manifest has the loader take `library` from the side-by-side store: loaded by
// name, it then comes from there and never from a folder of the search.
bool InSideBySideStore(const wchar_t* library) {
  ACTCTX_SECTION_KEYED_DATA found{};
  found.cbSize = sizeof found;
  return FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, library,
                                  &found) != FALSE;
}

std::wstring SystemFolderPath(const wchar_t* library) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(folder, length) + L"\\" + library;
}

// Loading and starting OLE takes tens of milliseconds and megabytes: only JPEG and GIF pictures
// need it, so ole32 is not even loaded before.
thread_local bool oleStarted = false;

using OleInitializeFunction = HRESULT(WINAPI*)(LPVOID);
using OleUninitializeFunction = void(WINAPI*)();

constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW, for one window
constexpr DWORD kAdd = 1;    // MSGFLT_ADD, for the whole process

using InitCommonControlsFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

}  // namespace

// kernel32 and user32 are loaded with every program: its imports.
const LaterSystemFunctions& ThisSystem() {
  static const LaterSystemFunctions system{
      .setDefaultDllDirectories =
          ModuleFunction<decltype(LaterSystemFunctions::setDefaultDllDirectories)>(
              GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories"),
      .changeWindowMessageFilter =
          ModuleFunction<decltype(LaterSystemFunctions::changeWindowMessageFilter)>(
              GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilter"),
      .changeWindowMessageFilterEx =
          ModuleFunction<decltype(LaterSystemFunctions::changeWindowMessageFilterEx)>(
              GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilterEx"),
  };
  return system;
}

void LoadDllsFromSystemFolderOnly(const LaterSystemFunctions& system) {
  SetDllDirectoryW(L"");  // the working folder out of the search (XP SP1 on)
  if (system.setDefaultDllDirectories != nullptr) {
    system.setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  // A DLL loaded already is taken as it is by every later load of its name.
  for (const wchar_t* library : kLoadedByTheWindows) LoadSystemLibrary(library, system);
}

HMODULE LoadSystemLibrary(const wchar_t* library, const LaterSystemFunctions& system) {
  if (system.setDefaultDllDirectories != nullptr) {
    return LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  if (InSideBySideStore(library)) return LoadLibraryW(library);
  // Its own imports looked for in the system folder first, too.
  const std::wstring path = SystemFolderPath(library);
  return path.empty() ? nullptr
                      : LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

SystemSession::SystemSession() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES;  // buttons and labels are all the windows use
  static const auto initialize =
      LibraryFunction<InitCommonControlsFunction>(L"comctl32.dll", "InitCommonControlsEx");
  if (initialize != nullptr) initialize(&controls);
}

SystemSession::~SystemSession() {
  if (!oleStarted) return;
  static const auto uninitialize =
      LibraryFunction<OleUninitializeFunction>(L"ole32.dll", "OleUninitialize");
  if (uninitialize != nullptr) uninitialize();
  oleStarted = false;
}

void StartOle() {
  if (oleStarted) return;
  static const auto initialize =
      LibraryFunction<OleInitializeFunction>(L"ole32.dll", "OleInitialize");
  oleStarted = initialize != nullptr && SUCCEEDED(initialize(nullptr));
}

bool AllowFromAnyProgram(HWND window, UINT message, const LaterSystemFunctions& system) {
  if (system.changeWindowMessageFilterEx != nullptr) {
    return system.changeWindowMessageFilterEx(window, message, kAllow, nullptr) != FALSE;
  }
  // Vista filters too, only not per window: the message is let through for the whole process.
  if (system.changeWindowMessageFilter != nullptr) {
    return system.changeWindowMessageFilter(message, kAdd) != FALSE;
  }
  return true;  // no filter on this system
}

}  // namespace platform::win32
