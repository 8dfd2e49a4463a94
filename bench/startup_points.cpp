#include "bench/startup_points.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win32/windows_api.h"

namespace bench {
namespace {

double Milliseconds(const FILETIME& time) {
  ULARGE_INTEGER ticks;
  ticks.LowPart = time.dwLowDateTime;
  ticks.HighPart = time.dwHighDateTime;
  return static_cast<double>(ticks.QuadPart) / 10000.0;  // 100 ns ticks
}

// Set while the program's static objects are made, before WinMain.
const double started = SinceProcessCreation();

const char* TimesFile() {
  const char* path = std::getenv("VL_STARTUP_TIMES");
  return path != nullptr && *path != '\0' ? path : nullptr;
}

void AppendLine(const char* path, const StartupPoints& p) {
  FILE* file = std::fopen(path, "a");
  if (file == nullptr) return;
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  const char* program = std::strrchr(exe, '\\') != nullptr ? std::strrchr(exe, '\\') + 1 : exe;
  std::fprintf(
      file,
      "startup-times %s process %.1f libraries %.1f model %.1f pictures %.1f creation %.1f "
      "load %.1f showing %.1f paint %.1f total %.1f\n",
      program, started, p.ready - started, p.creationStart - p.ready, p.decoding,
      p.creationEnd - p.creationStart, p.loadEnd - p.creationEnd, p.showEnd - p.showStart,
      p.idle - p.showEnd, p.idle);
  std::fclose(file);
}

}  // namespace

double SinceProcessCreation() {
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

void ReportWhenIdle(StartupPoints& points) {
  const char* path = TimesFile();
  if (path == nullptr) return;
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  points.idle = SinceProcessCreation();
  AppendLine(path, points);
}

}  // namespace bench
