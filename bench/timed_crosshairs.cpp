// crosshairs as it starts, on the backend that notes where the start's time goes.
#include "bench/startup_times.h"
#include "crosshairs/form1.h"
#include "crosshairs/module1.h"
#include "platform/win32/windows_api.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  return bench::RunTimed<crosshairs::Module1, crosshairs::Form1>("crosshairs");
}
