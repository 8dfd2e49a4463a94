#include "tests/e2e/windows_ui.h"

#include <algorithm>
#include <cstdlib>

#include "tests/e2e/wait.h"

namespace e2e {

namespace {

constexpr UINT kAnswerTimeoutMs = 30000;  // a ceiling: answered at once when not hung

BOOL CALLBACK Collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

DWORD ProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

}  // namespace

std::optional<LRESULT> Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                           &result)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

HWND FindWindowOf(DWORD pid, const std::string& title, const std::string& className) {
  for (HWND window : WindowsOf(pid, className)) {
    if (TextOf(window) != title || (className.empty() && ClassOf(window) == "#32770")) continue;
    return window;
  }
  return nullptr;
}

HWND WaitForWindowOf(DWORD pid, const std::string& title, const std::string& className) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindowOf(pid, title, className)) != nullptr; });
  return found;
}

std::vector<HWND> WindowsOf(DWORD pid, const std::string& className, bool hidden) {
  std::vector<HWND> windows;
  for (HWND window : TopLevelWindows()) {
    if (ProcessOf(window) != pid || !(hidden || IsWindowVisible(window))) continue;
    if (className.empty() || ClassOf(window) == className) windows.push_back(window);
  }
  return windows;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> windows;
  EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

HWND FindControl(HWND parent, const std::string& text, const std::string& className) {
  for (HWND window : Descendants(parent)) {
    if (TextOf(window) != text) continue;
    if (!className.empty() && _stricmp(ClassOf(window).c_str(), className.c_str()) != 0) {
      continue;
    }
    return window;
  }
  return nullptr;
}

HWND ChildAt(HWND container, POINT place, int tolerance) {
  for (HWND window : Descendants(container)) {
    if (GetParent(window) != container) continue;
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, container, reinterpret_cast<POINT*>(&r), 2);
    if (std::abs(r.left - place.x) <= tolerance && std::abs(r.top - place.y) <= tolerance) {
      return window;
    }
  }
  return nullptr;
}

bool Click(HWND button) {
  return PostMessageA(button, BM_CLICK, 0, 0) != 0;
}

bool HandledWhatWasPosted(HWND button) {
  if (!PostMessageA(button, BM_SETSTATE, TRUE, 0)) return false;
  const bool reached = WaitUntil([&] {
    const auto state = Ask(button, BM_GETSTATE);
    return state && (*state & BST_PUSHED) != 0;
  });
  Ask(button, BM_SETSTATE, FALSE);
  return reached;
}

std::optional<int> CheckState(HWND button) {
  auto state = Ask(button, BM_GETCHECK);
  if (!state) return std::nullopt;
  return static_cast<int>(*state);
}

bool WaitForCheckState(HWND button, int state) {
  return WaitUntil([&] { return CheckState(button) == state; });
}

namespace {

MessageBoxView ReadMessageBox(HWND box) {
  MessageBoxView view;
  view.window = box;
  view.title = TextOf(box);
  // The text of a system message box stands in its static control with id 0xFFFF.
  view.text = TextOf(GetDlgItem(box, 0xFFFF));
  std::vector<std::pair<LONG, int>> buttons;
  for (HWND child : Descendants(box)) {
    if (_stricmp(ClassOf(child).c_str(), "Button") != 0 || !IsWindowVisible(child)) continue;
    int id = GetDlgCtrlID(child);
    RECT r;
    GetWindowRect(child, &r);
    buttons.emplace_back(r.left, id);
    if ((GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      view.defaultStyled.push_back(id);
    }
  }
  std::sort(buttons.begin(), buttons.end());
  for (const auto& [left, id] : buttons) view.buttons.push_back(id);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &info) && info.hwndFocus &&
      GetParent(info.hwndFocus) == box) {
    view.focusedId = GetDlgCtrlID(info.hwndFocus);
  }
  return view;
}

}  // namespace

std::optional<MessageBoxView> WaitForMessageBox(DWORD pid, const std::string& title) {
  HWND box = WaitForWindowOf(pid, title, "#32770");
  if (box == nullptr) return std::nullopt;
  // The box is visible once its buttons and text are in place; wait for its text all the same.
  MessageBoxView view;
  WaitUntil([&] {
    view = ReadMessageBox(box);
    return !view.text.empty() && !view.buttons.empty();
  });
  return view;
}

bool Answer(const MessageBoxView& box, int buttonId) {
  HWND button = GetDlgItem(box.window, buttonId);
  return button != nullptr && Click(button) &&
         WaitUntil([&] { return !IsWindowVisible(box.window); });
}

bool Confirm(const MessageBoxView& box) {
  HWND focus = box.focusedId ? GetDlgItem(box.window, *box.focusedId) : nullptr;
  PostKey(focus != nullptr ? focus : box.window, VK_RETURN);
  return WaitUntil([&] { return !IsWindowVisible(box.window); });
}

void ChooseMenuBarEntry(HWND window, int position) {
  // SC_KEYMENU without a character opens the menu bar with its first entry highlighted.
  PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
  for (int i = 0; i < position; ++i) PostKey(window, VK_RIGHT);
  PostKey(window, VK_RETURN);
}

HWND WaitForPopupMenu(DWORD pid) {
  std::vector<HWND> menus;
  WaitUntil([&] { return !(menus = WindowsOf(pid, "#32768")).empty(); });
  return menus.empty() ? nullptr : menus.front();
}

void PostKey(HWND window, WORD virtualKey) {
  UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
  PostMessageA(window, WM_KEYDOWN, virtualKey, 1 | static_cast<LPARAM>(scan) << 16);
  PostMessageA(window, WM_KEYUP, virtualKey,
               1 | static_cast<LPARAM>(scan) << 16 | static_cast<LPARAM>(0xC0000000u));
}

void PostChar(HWND window, char character) {
  PostMessageA(window, WM_CHAR, static_cast<unsigned char>(character), 1);
}

bool BringToKeyboard(HWND window) {
  SetForegroundWindow(window);
  return WaitUntil([&] { return GetForegroundWindow() == window; });
}

RECT ClientRectOnScreen(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool ClickAt(POINT screen, MouseButton button) {
  SetCursorPos(screen.x, screen.y);
  const bool left = button == MouseButton::kLeft;
  INPUT input[3] = {};
  for (INPUT& each : input) each.type = INPUT_MOUSE;
  input[0].mi = {MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1),
                 MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1), 0,
                 MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE};
  input[1].mi.dwFlags = left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN;
  input[2].mi.dwFlags = left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
  return SendInput(3, input, sizeof(INPUT)) == 3;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace e2e
