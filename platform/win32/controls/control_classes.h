#pragma once
// The window classes of our own controls: a frame, which holds controls of its own and draws
// a system group box around them, a picture box, which takes clicks, and an image, which does
// not. A window of these classes gets its control at creation (WM_NCCREATE).
#include "platform/win32/windows_api.h"

namespace platform::win32 {

inline constexpr const char* kFrameClass = "VlFrame";
inline constexpr const char* kPictureBoxClass = "VlPictureBox";
inline constexpr const char* kImageClass = "VlImage";

// Registers the three classes (once per process).
void RegisterControlClasses(HINSTANCE instance);

// The group box a frame's window draws around its controls; nullptr until it is set, after
// the frame's controls have been created.
HWND GroupBoxOf(HWND frame);
void SetGroupBox(HWND frame, HWND groupBox);

}  // namespace platform::win32
