#pragma once
// Where one start's time goes, for the benchmark's own builds of the programs (timed_*.cpp):
// the Windows backend, noting when the start window is created, loaded, shown and first
// painted (startup_points.h: the phases, and the line each start appends).
#include <memory>
#include <string>

#include "bench/startup_points.h"
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
  const platform::Form* startForm_ = nullptr;
  bool reported_ = false;
  StartupPoints points_;  // ready: the backend constructed
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
