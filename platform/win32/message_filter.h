#pragma once
// Messages a window takes from programs of lower integrity. A program running elevated gets
// none of their messages by default, also not the shell's "TaskbarCreated" broadcast, after
// which it must add its notification icons again.
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// Lets `message` reach `window` from any program. ChangeWindowMessageFilterEx exists from
// Windows 7 on and is looked up when first needed; where it is missing (and with it the
// filter) this does nothing. False if the filter could not be changed.
bool AllowFromAnyProgram(HWND window, UINT message);

}  // namespace platform::win32
