#include "bench/startup_times.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/win32/windows_api.h"

namespace bench {
namespace {

double Milliseconds(const FILETIME& time) {
  ULARGE_INTEGER ticks;
  ticks.LowPart = time.dwLowDateTime;
  ticks.HighPart = time.dwHighDateTime;
  return static_cast<double>(ticks.QuadPart) / 10000.0;  // 100 ns ticks
}

}  // namespace

// Set while the program's static objects are made, before WinMain.
const double StartupTimedUi::started_ = StartupTimedUi::Now();

StartupTimedUi::StartupTimedUi(std::string programTitle)
    : Win32Ui(std::move(programTitle)), ready_(Now()) {}

double StartupTimedUi::Now() {
  static const double created = [] {
    FILETIME creation{};
    FILETIME unused{};
    GetProcessTimes(GetCurrentProcess(), &creation, &unused, &unused, &unused);
    return Milliseconds(creation);
  }();
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  return Milliseconds(now) - created;
}

platform::PictureRef StartupTimedUi::DecodePicture(platform::PictureBytes bytes) {
  const double start = Now();
  platform::PictureRef picture = Win32Ui::DecodePicture(bytes);
  if (startForm_ == nullptr) decoding_ += Now() - start;
  return picture;
}

void StartupTimedUi::CreateWindow(platform::Form& form) {
  if (startForm_ != nullptr) {
    Win32Ui::CreateWindow(form);
    return;
  }
  startForm_ = &form;
  creationStart_ = Now();
  Win32Ui::CreateWindow(form);
  creationEnd_ = Now();
  // The load handler runs right after this returns; a show from inside it counts as loading.
  form.onLoad = [this, load = std::move(form.onLoad)] {
    if (load) load();
    if (loadEnd_ == 0) loadEnd_ = Now();
  };
}

void StartupTimedUi::ShowWindow(platform::Form& form) {
  const bool first = &form == startForm_ && loadEnd_ != 0 && showStart_ == 0;
  if (first) showStart_ = Now();
  Win32Ui::ShowWindow(form);
  if (first) showEnd_ = Now();
}

void StartupTimedUi::RunMessageLoop() {
  if (!reported_ && showEnd_ != 0) {
    // Everything the start left in the queue, painting included, before the loop proper.
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        break;
      }
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    idle_ = Now();
    Report();
  }
  Win32Ui::RunMessageLoop();
}

void StartupTimedUi::Report() {
  reported_ = true;
  const char* path = std::getenv("VL_STARTUP_TIMES");
  if (path == nullptr || *path == '\0') return;
  FILE* file = std::fopen(path, "a");
  if (file == nullptr) return;
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  const char* program = std::strrchr(exe, '\\') != nullptr ? std::strrchr(exe, '\\') + 1 : exe;
  std::fprintf(
      file,
      "startup-times %s process %.1f libraries %.1f model %.1f pictures %.1f creation %.1f "
      "load %.1f showing %.1f paint %.1f total %.1f\n",
      program, started_, ready_ - started_, creationStart_ - ready_, decoding_,
      creationEnd_ - creationStart_, loadEnd_ - creationEnd_, showEnd_ - showStart_,
      idle_ - showEnd_, idle_);
  std::fclose(file);
}

}  // namespace bench
