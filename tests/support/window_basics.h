#pragma once
// What every test of real windows asks of the system: a window's text and class, and real
// keystrokes.
#include <windows.h>

#include <string>
#include <vector>

namespace test_support {

inline std::string TextOf(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

inline std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// A real keystroke (SendInput) to whichever window holds the keyboard focus, with Shift held
// if asked; a key held down arrives as `keyDowns` key-downs before its key-up.
inline bool PressKey(WORD virtualKey, bool withShift = false, int keyDowns = 1) {
  std::vector<INPUT> keys;
  const auto add = [&](WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    keys.push_back(input);
  };
  if (withShift) add(VK_SHIFT, 0);
  for (int i = 0; i < keyDowns; ++i) add(virtualKey, 0);
  add(virtualKey, KEYEVENTF_KEYUP);
  if (withShift) add(VK_SHIFT, KEYEVENTF_KEYUP);
  const auto count = static_cast<UINT>(keys.size());
  return SendInput(count, keys.data(), sizeof(INPUT)) == count;
}

}  // namespace test_support
