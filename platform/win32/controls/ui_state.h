#pragma once
// What the Windows backend keeps between calls: the windows of the live forms, the modal loops
// running, and the few things of the system it asked for once.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/form.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

struct UiState;

struct FormWindow {
  UiState* ui;
  Form* form;
  HWND hwnd = nullptr;
  bool creating = true;  // no events reach the model until the window is complete
};

struct ModalFrame {
  Form* form;
  std::vector<HWND> blocked;  // the windows disabled while it runs
  bool ended = false;
};

struct UiState {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  ATOM formClass = 0;         // of the forms without an icon
  ATOM iconFormClass = 0;     // of the forms with the program's icon, which the class carries
  HICON icon = nullptr;       // that icon at the system's size for it
  HICON smallIcon = nullptr;  // and at the size of title bars and the notification area
  ATOM ownerClass = 0;        // of the hidden owner, and of the probe that asks for a default place
  std::string programTitle;   // the hidden owner's
  HWND hiddenOwner = nullptr;  // made when a window first needs it
  UINT taskbarCreated = 0;
  int twipsPerPixel = 15;
  std::map<const Form*, std::unique_ptr<FormWindow>> forms;
  int liveForms = 0;
  bool loopRunning = false;
  std::vector<ModalFrame*> modals;
  // The working folder this copy of the program holds, and the form whose window shows it.
  std::string claimName;
  HANDLE claim = nullptr;
  const Form* claimedForm = nullptr;
};

}  // namespace platform::win32
