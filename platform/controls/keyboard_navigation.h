#pragma once
// What the keyboard does in a window's option groups, as in the system's dialogs. The option
// buttons of one container are one group. The arrow keys move to the next or previous button
// of the group in tab order, wrapping around at its ends, and select the button they reach: a
// user's selection, so its click handler runs as for a click. Tab reaches the group once, at
// the place of its first button in tab order, and enters it at its selected button, or at its
// first when none is selected.
#include <vector>

#include "platform/controls/controls.h"

namespace platform {

enum class ArrowStep {
  kNext,      // Down or Right
  kPrevious,  // Up or Left
};

// The option buttons of `container` in tab order: one exclusive group.
std::vector<OptionButton*> OptionGroup(const Container& container);

// The controls of `container` in the order Tab visits them: tab order, but with the whole option
// group at the place of its first button, so that a control whose tab index falls among the
// buttons' comes after the group rather than splitting it. A backend lays its windows out in
// this order and starts a new group at every control but the group's later buttons.
std::vector<Control*> TabOrder(const Container& container);

// The button an arrow key reaches from `from` within its group.
OptionButton& OptionReached(const OptionButton& from, ArrowStep step);

// Where Tab enters the group of `container`; nullptr if it holds no option button.
OptionButton* GroupTabStop(const Container& container);

// Where an arrow key goes. On Windows the message loop (Dispatch in win32/controls/win32_ui.cpp)
// hands a key-down on one of our option buttons to HandleOptionArrowKey (option_arrow_keys.cpp),
// which reads the key and calls this, then focuses the button it returns; headless, a test calls
// HeadlessUi::PressArrow, which calls this unless a modal window blocks the form. This selects
// the button reached with UserClick (control.cpp), which runs its click handler.
//
// An arrow key pressed on the focused option button `from`: selects the button reached as a
// user's click does. Returns the button that should hold the focus afterwards: the one reached,
// unless its handler selected another of the group instead (then that one). A key-down that
// the keyboard repeats while the key is held (`repeat`) does nothing in a form whose design
// says held arrow keys do not repeat.
OptionButton& PressArrow(OptionButton& from, ArrowStep step, bool repeat = false);

}  // namespace platform
