#pragma once
// The form's menus as system menus: the menu bar from its visible top-level entries, popups
// from the visible entries of one menu. A menu's command number is its id above a base that
// keeps clear of IDOK and IDCANCEL, which the dialog keys (Enter, Esc) send as commands.
#include "platform/controls/form.h"
#include "platform/controls/menu.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

constexpr UINT kMenuCommandBase = 0x1000;

// The menu bar of `form`, or nullptr when it has no visible top-level entry.
HMENU BuildMenuBar(const Form& form);

// A popup of the visible entries of `menu` ("-" is a separator line).
HMENU BuildPopup(const Menu& menu);

// The menu entry of `form` a command number stands for, if any.
Menu* MenuForCommand(const Form& form, UINT command);

// Whether a change of `menu` shows on the menu bar (rather than in a popup built later).
bool ShowsOnMenuBar(const Menu& menu);

}  // namespace platform::win32
