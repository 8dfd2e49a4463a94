#pragma once
// Where one start's time goes, for the benchmark's own builds of the programs (timed_*.cpp):
// the Windows backend, noting when the start window is created, loaded, shown and first
// painted. Once the window has painted and the thread has nothing left to do, it appends one
// line to the file named by the environment variable VL_STARTUP_TIMES, if set:
//
//   startup-times PROGRAM.exe process MS libraries MS model MS pictures MS creation MS load MS
//       showing MS paint MS total MS
//
// process: from process creation (by the system, with every DLL the program imports) to its
// static objects, before WinMain; libraries: from there to the backend's construction (the
// common controls, the settings store, the window classes); model: the start window's controls
// and image lists, with pictures the part of it spent decoding pictures; creation: its window
// and child windows; load: its load handler; showing: showing it after the load; paint:
// painting until the message queue is empty; total: process creation to then.
#include <memory>
#include <string>

#include "platform/controls/runtime.h"
#include "platform/win32/controls/win32_ui.h"
#include "platform/win32/system.h"
#include "platform/win32/win32_environment.h"

namespace bench {

class StartupTimedUi : public platform::win32::Win32Ui {
 public:
  explicit StartupTimedUi(std::string programTitle);

  platform::PictureRef DecodePicture(platform::PictureBytes bytes) override;
  void CreateWindow(platform::Form& form) override;
  void ShowWindow(platform::Form& form) override;
  void RunMessageLoop() override;

 private:
  // Milliseconds since the process was created.
  static double Now();
  void Report();

  static const double started_;
  const platform::Form* startForm_ = nullptr;
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

// A program's start, as its entry point makes it, on the timed backend.
template <typename Module1, typename Form1>
int RunTimed(const std::string& title) {
  platform::win32::LoadDllsFromSystemFolderOnly();  // as the programs start
  platform::win32::Win32Environment env(title, [](const std::string& programTitle) {
    return std::make_unique<StartupTimedUi>(programTitle);
  });
  Module1 module1(env.runtime());
  Form1 form(env.runtime(), module1);
  return env.runtime().Run(form);
}

}  // namespace bench
