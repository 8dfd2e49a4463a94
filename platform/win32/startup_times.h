#pragma once
// Where one start's time goes, for builds with VL_STARTUP_TIMES only (never the release): a
// backend that passes every call on to the real one and notes when the start window is
// created, loaded, shown and first painted. Once the window has painted and the thread has
// nothing left to do, it appends one line to the file named by the environment variable
// VL_STARTUP_TIMES, if set:
//
//   startup-times PROGRAM.exe process MS libraries MS model MS pictures MS creation MS load MS
//       showing MS paint MS total MS
//
// process: from process creation (by the system, with every DLL the program imports) to its
// static objects, before WinMain; libraries: from there to the backend's construction (the
// common controls, the settings store, the window classes); model: the start window's controls and
// image lists, with pictures the part of it spent decoding pictures; creation: its window and child
// windows; load: its load handler; showing: showing it after the load; paint: painting until
// the message queue is empty; total: process creation to then.
#include "platform/ui_backend.h"

namespace platform::win32 {

class StartupTimedUi : public UiBackend {
 public:
  explicit StartupTimedUi(UiBackend& inner);

  PictureRef DecodePicture(PictureBytes bytes) override;
  void CreateWindow(Form& form) override;
  void DestroyWindow(Form& form) override { inner_.DestroyWindow(form); }
  void Update(Control& control) override { inner_.Update(control); }
  void UpdateMenu(Menu& menu) override { inner_.UpdateMenu(menu); }
  void ShowWindow(Form& form) override;
  void HideWindow(Form& form) override { inner_.HideWindow(form); }
  void RunModal(Form& form) override { inner_.RunModal(form); }
  void Repaint(Form& form) override { inner_.Repaint(form); }
  WindowState GetWindowState(const Form& form) override { return inner_.GetWindowState(form); }
  void SetWindowState(Form& form, WindowState state) override {
    inner_.SetWindowState(form, state);
  }
  void SetForeground(Form& form) override { inner_.SetForeground(form); }
  Menu* ShowPopup(Form& form, Menu& menu) override { return inner_.ShowPopup(form, menu); }
  int TwipsPerPixel() override { return inner_.TwipsPerPixel(); }
  std::uintptr_t WindowHandle(const Form& form) override { return inner_.WindowHandle(form); }
  std::uintptr_t IconHandle(const Form& form) override { return inner_.IconHandle(form); }
  void RunMessageLoop() override;
  void Terminate(int exitCode) override { inner_.Terminate(exitCode); }

 private:
  // Milliseconds since the process was created.
  static double Now();
  void Report();

  static const double started_;
  UiBackend& inner_;
  const Form* startForm_ = nullptr;
  bool reported_ = false;
  double ready_ = 0;  // the backend constructed: the libraries have started
  double decoding_ = 0;
  double creationStart_ = 0;
  double creationEnd_ = 0;
  double loadEnd_ = 0;
  double showStart_ = 0;
  double showEnd_ = 0;
  double idle_ = 0;
};

}  // namespace platform::win32
