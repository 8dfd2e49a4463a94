#pragma once
// What the control layer asks of a backend: real windows on Windows, an in-memory record in
// the headless tests.
#include <cstdint>
#include <string>

#include "platform/controls/form.h"
#include "platform/controls/picture.h"

namespace platform {

class Control;
class Menu;

// What came of a copy's claim on its working folder.
enum class FolderClaim {
  kClaimed,             // this copy is the one working here
  kHandedOver,          // another copy works here and has brought its window back
  kHolderNotAnswering,  // another copy holds the folder but did not answer within a few seconds
};

class UiBackend {
 public:
  virtual ~UiBackend() = default;

  // Decodes a BMP, JPEG or GIF file held in memory; raises a runtime error if it cannot.
  virtual PictureRef DecodePicture(PictureBytes bytes) = 0;

  // Creates the window of `form` (hidden) with all its controls and menus.
  virtual void CreateWindow(Form& form) = 0;
  // Destroys it; once no window of the program is left the message loop ends.
  virtual void DestroyWindow(Form& form) = 0;
  // Shows the control's current state (value, picture, caption, place).
  virtual void Update(Control& control) = 0;
  virtual void UpdateMenu(Menu& menu) = 0;

  virtual void ShowWindow(Form& form) = 0;
  virtual void HideWindow(Form& form) = 0;
  // Shows `form` modal and runs a nested message loop until it is unloaded.
  virtual void RunModal(Form& form) = 0;
  virtual void Repaint(Form& form) = 0;
  virtual WindowState GetWindowState(const Form& form) = 0;
  virtual void SetWindowState(Form& form, WindowState state) = 0;
  virtual void SetForeground(Form& form) = 0;
  // Shows the visible entries of `menu` at the mouse pointer; returns the one chosen, if any.
  virtual Menu* ShowPopup(Form& form, Menu& menu) = 0;

  virtual int TwipsPerPixel() = 0;
  virtual std::uintptr_t WindowHandle(const Form& form) = 0;
  // The window's small icon: the image a notification-area icon shows.
  virtual std::uintptr_t IconHandle(const Form& form) = 0;

  // Makes this the one copy of the program `program` working in the working folder, its window
  // `startForm`. Where another copy holds the folder already, asks that one to bring its
  // window back: this copy then ends without a window of its own, whether that copy answered
  // or not.
  virtual FolderClaim ClaimWorkingFolder(const std::string& program, Form& startForm) = 0;

  // Handles events until no window of the program is left.
  virtual void RunMessageLoop() = 0;
  // Ends the program at once with `exitCode`. The Windows backend does not return; the headless
  // one records it and returns.
  virtual void Terminate(int exitCode) = 0;
};

}  // namespace platform
