#pragma once
// What the tests of real windows look at, asked of the system itself: a control's window, its
// text, style and place, and the entries of a menu bar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/control.h"
#include "platform/controls/form.h"
#include "platform/win32/windows_api.h"
#include "tests/support/window_basics.h"

namespace test_support {

inline HWND WindowOf(const platform::Control& control) {
  return reinterpret_cast<HWND>(control.nativeHandle());
}
inline HWND WindowOf(const platform::Form& form) {
  return reinterpret_cast<HWND>(form.windowHandle());
}

inline DWORD StyleOf(HWND window) {
  return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
}

inline LRESULT CheckState(const platform::Control& control) {
  return SendMessageA(WindowOf(control), BM_GETCHECK, 0, 0);
}

// The child windows of `parent`, the top one of the z-order first.
inline std::vector<HWND> ChildrenTopFirst(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

inline std::vector<std::string> MenuBarCaptions(HWND window) {
  std::vector<std::string> captions;
  HMENU bar = GetMenu(window);
  for (int i = 0; bar != nullptr && i < GetMenuItemCount(bar); ++i) {
    char caption[64] = {};
    GetMenuStringA(bar, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
    captions.push_back(caption);
  }
  return captions;
}

// Whether the window stands where `twips` says, at 15 twips a pixel, in its parent's client area.
inline ::testing::AssertionResult IsAt(HWND window, const platform::Bounds& twips) {
  RECT place{};
  GetWindowRect(window, &place);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&place), 2);
  if (place.left == twips.left / 15 && place.top == twips.top / 15 &&
      place.right - place.left == twips.width / 15 && place.bottom - place.top == twips.height / 15)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << TextOf(window) << " is at " << place.left << ", " << place.top << " size "
         << place.right - place.left << " x " << place.bottom - place.top << " pixels";
}

// Every control of `container` is a child window of `window`, with its caption (if it has one)
// as its text, at its place.
inline void ExpectChildrenAtTheirPlaces(const platform::Container& container, HWND window) {
  for (const platform::Control* control : container.controls()) {
    HWND child = WindowOf(*control);
    ASSERT_NE(child, nullptr) << control->name();
    EXPECT_EQ(GetParent(child), window) << control->name();
    if (!control->caption().empty()) {
      EXPECT_EQ(TextOf(child), control->caption()) << control->name();
    }
    EXPECT_TRUE(IsAt(child, control->bounds())) << control->name();
  }
}

}  // namespace test_support
