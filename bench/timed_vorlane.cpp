// vorlane as it starts, on the backend that notes where the start's time goes.
#include "bench/startup_times.h"
#include "platform/win32/windows_api.h"
#include "vorlane/form1.h"
#include "vorlane/module1.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  return bench::RunTimed<vorlane::Module1, vorlane::Form1>("vorlane");
}
