// The program's entry point on Windows: the selector window is the start window.
#include "crosshairs/form1.h"
#include "crosshairs/module1.h"
#include "platform/controls/runtime.h"
#include "platform/win32/system.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/windows_api.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  platform::win32::LoadDllsFromSystemFolderOnly();
  platform::win32::Win32Environment env("crosshairs");
  crosshairs::Module1 module1(env.runtime());
  crosshairs::Form1 form(env.runtime(), module1);
  return env.runtime().Run(form);
}
