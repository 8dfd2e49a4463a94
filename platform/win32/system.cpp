#include "platform/win32/system.h"

namespace platform::win32 {
namespace {

// Loading and starting OLE takes tens of milliseconds and megabytes: only JPEG and GIF pictures
// need it, so ole32 is not even loaded before.
thread_local bool oleStarted = false;

using OleInitializeFunction = HRESULT(WINAPI*)(LPVOID);
using OleUninitializeFunction = void(WINAPI*)();

constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW
using ChangeFilterFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);

}  // namespace

SystemSession::SystemSession() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES;  // buttons and labels are all the windows use
  InitCommonControlsEx(&controls);
}

SystemSession::~SystemSession() {
  if (!oleStarted) return;
  static const auto uninitialize =
      LibraryFunction<OleUninitializeFunction>("ole32.dll", "OleUninitialize");
  if (uninitialize != nullptr) uninitialize();
  oleStarted = false;
}

void StartOle() {
  if (oleStarted) return;
  static const auto initialize =
      LibraryFunction<OleInitializeFunction>("ole32.dll", "OleInitialize");
  oleStarted = initialize != nullptr && SUCCEEDED(initialize(nullptr));
}

bool AllowFromAnyProgram(HWND window, UINT message) {
  static const auto change =
      LibraryFunction<ChangeFilterFunction>("user32.dll", "ChangeWindowMessageFilterEx");
  if (change == nullptr) return true;  // no filter on this system
  return change(window, message, kAllow, nullptr) != FALSE;
}

}  // namespace platform::win32
