#pragma once
// A form's top-level window: its frame from the design's border and buttons, its client area
// kept at the design's size, its place on the screen, and its messages turned into the form's
// events.
#include "platform/controls/form.h"
#include "platform/win32/controls/ui_state.h"

namespace platform::win32 {

// Registers the form classes and the class of the hidden owner (once per process) into `ui`.
void RegisterFormClasses(UiState& ui);

// Whether `window` is a form's window of ours.
bool IsFormWindow(const UiState& ui, HWND window);

// Creates the window of `form` with its menu bar, icon and control windows, and records it
// in `ui`. Throws std::runtime_error if the system refuses.
void CreateFormWindow(UiState& ui, Form& form);

}  // namespace platform::win32
