#pragma once
// The arrow keys in our option groups. The dialog manager only moves the focus between buttons
// that are not automatic (under Wine no notification comes with it), so the arrow keys on our
// option buttons are taken before it sees them and do what the control layer says: select the
// button reached, as a user's click does, and focus it.
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// Handles `message` if it is an arrow key pressed on one of our option buttons in an enabled
// window; true if it did. Call before IsDialogMessage, for windows of our own forms only.
bool HandleOptionArrowKey(const MSG& message);

}  // namespace platform::win32
