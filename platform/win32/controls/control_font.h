#pragma once
// The font our controls write their captions in.
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// The system's scalable dialog face at 8 points for the screen's dots per inch; made once and
// kept for the life of the process.
HFONT ControlFont();

}  // namespace platform::win32
