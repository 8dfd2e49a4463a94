#pragma once
// The controls as real child windows: system statics and buttons, and three small classes of
// our own (a frame container, a picture box and an image). Each child window carries its
// control in GWLP_USERDATA, which is how notifications find their way back to the model.
#include "platform/control.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// Pixels from twips, to the nearest pixel.
int TwipsToPixels(int twips, int twipsPerPixel);

// A colour value of the runtime (&H00BBGGRR&, or a system colour &H800000nn&) for GDI.
COLORREF ToColorRef(Color color);

// A solid brush of `color`, kept for the life of the process (there are only a few colours).
HBRUSH SolidBrush(COLORREF color);

// Registers the window classes of our own controls (once per process).
void RegisterControlClasses(HINSTANCE instance);

// Creates the windows of `container`'s controls inside `parent`, in tab order (which is also
// their z-order, top first), and shows their current state.
void CreateControlWindows(Container& container, HWND parent, int twipsPerPixel);

// Forgets the (already destroyed) windows of the controls of `container`.
void ForgetControlWindows(Container& container);

// Shows the control's current state: value, picture, place and caption.
void UpdateControlWindow(Control& control, int twipsPerPixel);

// The control a child window stands for, if it is one of ours.
Control* ControlOf(HWND window);

// Handles WM_COMMAND from a child window of ours; true if it was one.
bool RouteControlCommand(WPARAM wParam, LPARAM lParam);

// Answers WM_CTLCOLORSTATIC and WM_CTLCOLORBTN for a child window of ours with its colours;
// returns false (and leaves `result` alone) for any other window.
bool ControlColors(HDC dc, HWND child, LRESULT& result);

}  // namespace platform::win32
