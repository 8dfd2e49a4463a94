#pragma once
// Finding another program's windows and controls, and working them the way a user would:
// clicks on buttons, the menu bar and popup menus from the keyboard, message boxes.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/window_basics.h"

namespace e2e {

using test_support::ClassOf;
using test_support::PressKey;
using test_support::TextOf;

// The visible top-level window of process `pid` titled `title`; of class `className` if one is
// given, else of any class but the message box's ("#32770").
HWND FindWindowOf(DWORD pid, const std::string& title, const std::string& className = "");
HWND WaitForWindowOf(DWORD pid, const std::string& title, const std::string& className = "");
// Top-level windows of `pid`, whatever their title: the visible ones, of class `className` if
// one is given; with `hidden`, the others too.
std::vector<HWND> WindowsOf(DWORD pid, const std::string& className = "", bool hidden = false);
// Visible message boxes of `pid`, whatever their title.
inline std::vector<HWND> MessageBoxesOf(DWORD pid) {
  return WindowsOf(pid, "#32770");
}

// Every window below `parent` (children, their children, ...), in creation order.
std::vector<HWND> Descendants(HWND parent);
// The descendant whose window text is `text`, of class `className` if one is given.
HWND FindControl(HWND parent, const std::string& text, const std::string& className = "");
// An option button, check box or group box by its caption.
inline HWND FindButton(HWND parent, const std::string& caption) {
  return FindControl(parent, caption, "Button");
}
// The direct child of `container` whose top-left corner lies at `place` (pixels within the
// container's inner area), give or take `tolerance`.
HWND ChildAt(HWND container, POINT place, int tolerance = 1);

// Posts BM_CLICK, as a click on the button would arrive.
bool Click(HWND button);
// Waits until `button` has handled every message posted to it before: a marker posted after
// them (the pushed look, taken back at once) shows when its queue reached that point.
bool HandledWhatWasPosted(HWND button);
// Sends `message` and waits a bounded time for the answer, so that a hung program fails the
// scenario instead of stalling the driver; nothing if it did not answer.
std::optional<LRESULT> Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Sends BM_CLICK: true once the program has handled the click, its click handler included.
inline bool ClickAndWait(HWND button) {
  return Ask(button, BM_CLICK).has_value();
}
// BM_GETCHECK: BST_CHECKED (1) or BST_UNCHECKED (0); nothing if the window does not answer.
std::optional<int> CheckState(HWND button);
bool WaitForCheckState(HWND button, int state);

struct MessageBoxView {
  HWND window = nullptr;
  std::string title;
  std::string text;
  std::vector<int> buttons;        // control ids (IDOK 1, IDYES 6, IDNO 7), left to right
  std::vector<int> defaultStyled;  // buttons drawn as the default (BS_DEFPUSHBUTTON)
  std::optional<int> focusedId;    // the control holding the keyboard focus
};
// The message box of `pid` titled `title`, once it is shown.
std::optional<MessageBoxView> WaitForMessageBox(DWORD pid, const std::string& title);
// Clicks the box's button with this id; true once the box is gone.
bool Answer(const MessageBoxView& box, int buttonId);
// Presses Enter, which answers with the default button; true once the box is gone.
bool Confirm(const MessageBoxView& box);

// Chooses the entry at `position` (0 first) of the window's menu bar from the keyboard, as
// F10, arrow keys and Enter would.
void ChooseMenuBarEntry(HWND window, int position);
// The popup menu (class "#32768") shown by a thread of `pid`.
HWND WaitForPopupMenu(DWORD pid);
// Keys and characters posted to the thread that owns `window`, as typed while its menu is open.
void PostKey(HWND window, WORD virtualKey);
void PostChar(HWND window, char character);

// Brings `window` to the foreground, where real keystrokes reach it; true once it is there.
bool BringToKeyboard(HWND window);

// The inner area of `window` in screen coordinates.
RECT ClientRectOnScreen(HWND window);
inline POINT Centre(const RECT& r) {
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

enum class MouseButton { kLeft, kRight };
// A real click (SendInput) at a point of the screen.
bool ClickAt(POINT screen, MouseButton button);

// Pixels per inch of the screen.
int ScreenDpi();

}  // namespace e2e
