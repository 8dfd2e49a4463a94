#include "platform/win32/controls/option_arrow_keys.h"

#include <optional>

#include "platform/controls/keyboard_navigation.h"
#include "platform/win32/controls/control_windows.h"

namespace platform::win32 {
namespace {

std::optional<ArrowStep> StepOf(WPARAM key) {
  switch (key) {
    case VK_DOWN:
    case VK_RIGHT:
      return ArrowStep::kNext;
    case VK_UP:
    case VK_LEFT:
      return ArrowStep::kPrevious;
    default:
      return std::nullopt;
  }
}

}  // namespace

bool HandleOptionArrowKey(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  const std::optional<ArrowStep> step = StepOf(message.wParam);
  if (!step) return false;
  Control* control = ControlOf(message.hwnd);
  if (control == nullptr || control->kind() != ControlKind::kOptionButton) return false;
  if (!IsWindowEnabled(GetAncestor(message.hwnd, GA_ROOT))) return true;
  // Selected first, focused after: the focus never lands on a button not yet selected (see
  // BM_SETDONTCLICK in control_windows.cpp for why that matters).
  const bool repeat = (message.lParam & (1 << 30)) != 0;  // the key was down already
  const OptionButton& focus = PressArrow(static_cast<OptionButton&>(*control), *step, repeat);
  HWND target = reinterpret_cast<HWND>(focus.nativeHandle());
  if (target != nullptr && IsWindow(target)) SetFocus(target);
  return true;
}

}  // namespace platform::win32
