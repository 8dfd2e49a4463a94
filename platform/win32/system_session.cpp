#include "platform/win32/windows_api.h"

#include "platform/win32/system_session.h"

namespace platform::win32 {

SystemSession::SystemSession() {
  oleStarted_ = SUCCEEDED(OleInitialize(nullptr));
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
}

SystemSession::~SystemSession() {
  if (oleStarted_) OleUninitialize();
}

}  // namespace platform::win32
