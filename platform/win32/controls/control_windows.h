#pragma once
// The controls as real child windows: system statics and buttons, and three small classes of
// our own (control_classes.h). Each child window carries its control in GWLP_USERDATA, which
// is how notifications find their way back to the model.
#include <optional>

#include "platform/controls/control.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// Pixels from twips, to the nearest pixel.
int TwipsToPixels(int twips, int twipsPerPixel);

// A colour value of the runtime (&H00BBGGRR&, or a system colour &H800000nn&) for GDI.
COLORREF ToColorRef(Color color);

// A solid brush of `color`, kept for the life of the process (there are only a few colours).
HBRUSH SolidBrush(COLORREF color);

// Fills the client area of `window` with `color`: what WM_ERASEBKGND does for our windows.
void FillClient(HWND window, HDC dc, Color color);

// Creates the windows of `container`'s controls inside `parent`, in tab order (which is also
// their z-order, top first), and shows their current state.
void CreateControlWindows(Container& container, HWND parent, int twipsPerPixel);

// Forgets the (already destroyed) windows of the controls of `container`.
void ForgetControlWindows(Container& container);

// Shows the control's current state: value, picture, place and caption.
void UpdateControlWindow(Control& control, int twipsPerPixel);

// The control a child window stands for, if it is one of ours.
Control* ControlOf(HWND window);
void StoreControl(HWND window, Control* control);

// What a parent window (a form or a frame) does with its children's notifications: WM_COMMAND
// from a child becomes the control's click, WM_CTLCOLORSTATIC and WM_CTLCOLORBTN are answered
// with the control's colours. The result to return, or nothing for any other message (and for
// the colours of a window that is not ours).
std::optional<LRESULT> ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::win32
