#pragma once
// The control layer shown as real windows: each form a top-level window of our own class
// (form_window.h), each control a child window (control_windows.h), menus as the system's
// menus, one message loop on the thread. This is the backend's face to the control layer.
#include <memory>
#include <string>

#include "platform/controls/ui_backend.h"

namespace platform::win32 {

struct UiState;

class Win32Ui : public UiBackend {
 public:
  // `programTitle` names the hidden window that owns the forms kept out of the taskbar.
  explicit Win32Ui(std::string programTitle);
  ~Win32Ui() override;
  Win32Ui(const Win32Ui&) = delete;
  Win32Ui& operator=(const Win32Ui&) = delete;

  PictureRef DecodePicture(PictureBytes bytes) override;
  void CreateWindow(Form& form) override;
  void DestroyWindow(Form& form) override;
  void Update(Control& control) override;
  void UpdateMenu(Menu& menu) override;
  void ShowWindow(Form& form) override;
  void HideWindow(Form& form) override;
  void RunModal(Form& form) override;
  void Repaint(Form& form) override;
  WindowState GetWindowState(const Form& form) override;
  void SetWindowState(Form& form, WindowState state) override;
  void SetForeground(Form& form) override;
  Menu* ShowPopup(Form& form, Menu& menu) override;
  int TwipsPerPixel() override;
  std::uintptr_t WindowHandle(const Form& form) override;
  std::uintptr_t IconHandle(const Form& form) override;
  FolderClaim ClaimWorkingFolder(const std::string& program, Form& startForm) override;
  void RunMessageLoop() override;
  // Ends the process at once with `exitCode` (ExitProcess); does not return.
  void Terminate(int exitCode) override;

 private:
  std::unique_ptr<UiState> state_;
};

}  // namespace platform::win32
