#include "platform/win32/controls/form_window.h"

#include <stdexcept>

#include "platform/controls/menu.h"
#include "platform/win32/controls/control_windows.h"
#include "platform/win32/controls/menu_builder.h"
#include "platform/win32/controls/one_copy_per_folder.h"
#include "platform/win32/controls/window_class.h"
#include "platform/win32/event_boundary.h"
#include "platform/win32/system.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

constexpr const char* kFormClass = "VlForm";
constexpr const char* kIconFormClass = "VlIconForm";
constexpr const char* kOwnerClass = "VlOwner";
constexpr int kProgramIconId = 1;

struct FrameStyle {
  DWORD style;
  DWORD exStyle;
};

FrameStyle StyleFor(const FormDesign& design) {
  const DWORD buttons =
      (design.minButton ? WS_MINIMIZEBOX : 0u) | (design.maxButton ? WS_MAXIMIZEBOX : 0u);
  const DWORD titled = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | buttons;
  switch (design.border) {
    case BorderStyle::kNone:
      return {WS_POPUP | WS_CLIPCHILDREN, 0};
    case BorderStyle::kFixedSingle:
      return {titled, 0};
    case BorderStyle::kSizable:
      return {titled | WS_THICKFRAME, 0};
    case BorderStyle::kFixedDialog:
      return {titled, WS_EX_DLGMODALFRAME};
  }
  return {titled, 0};
}

// The runtime's mouse button and shift codes from a mouse message's key flags.
int MouseButtons(WPARAM keys) {
  return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
         ((keys & MK_MBUTTON) ? 4 : 0);
}

int ShiftState(WPARAM keys) {
  return ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
         (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

HICON LoadProgramIcon(int widthMetric, int heightMetric) {
  return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kProgramIconId),
                                       IMAGE_ICON, GetSystemMetrics(widthMetric),
                                       GetSystemMetrics(heightMetric), 0));
}

// Makes the client area exactly the size asked for, also where a menu bar took two lines.
void KeepClientSize(HWND window, int width, int height) {
  RECT client{};
  GetClientRect(window, &client);
  const int dx = width - (client.right - client.left);
  const int dy = height - (client.bottom - client.top);
  if (dx == 0 && dy == 0) return;
  RECT outer{};
  GetWindowRect(window, &outer);
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Where the system would put a new overlapped window: popup windows get no default place of
// their own, so a hidden probe window asks for one.
POINT DefaultPosition(const UiState& ui) {
  POINT at{0, 0};
  HWND probe = CreateWindowExA(0, MAKEINTATOM(ui.ownerClass), "", WS_OVERLAPPED, CW_USEDEFAULT,
                               CW_USEDEFAULT, 100, 100, nullptr, nullptr, ui.instance, nullptr);
  if (probe != nullptr) {
    RECT place{};
    GetWindowRect(probe, &place);
    at = {place.left, place.top};
    ::DestroyWindow(probe);
  }
  return at;
}

LRESULT HandleFormMessage(FormWindow& window, UINT message, WPARAM wParam, LPARAM lParam) {
  UiState& ui = *window.ui;
  HWND hwnd = window.hwnd;
  Form& form = *window.form;
  // Every event below may unload the form and free `window`: nothing of it is used after one.
  if (message == ui.taskbarCreated && ui.taskbarCreated != 0) {
    form.SystemShellRestarted();
    return 0;
  }
  if (message == kComeBackMessage && &form == ui.claimedForm) {
    form.SystemAnotherCopyStarted();
    // A modal window of ours in front of it comes to the front in its place.
    HWND popup = IsWindow(hwnd) ? GetLastActivePopup(hwnd) : nullptr;
    if (popup != nullptr && popup != hwnd) SetForegroundWindow(popup);
    return kCameBack;
  }
  if (const auto reflected = ReflectToControl(message, wParam, lParam)) return *reflected;
  switch (message) {
    case WM_CLOSE:
      // A window blocked by a modal one is not closed behind its back.
      if (IsWindowEnabled(hwnd)) form.UserClose();
      return 0;
    case WM_ENDSESSION:
      // The session ends (the user logs off): the window is closed like any other way.
      if (wParam) form.UserClose();
      return 0;
    case WM_SIZE:
      if (!window.creating) form.SystemResized();
      return 0;
    case WM_MOUSEMOVE: {
      // Also the notification icon's callback, which arrives as this message with the mouse
      // message in lParam: it decodes as an X position of that many pixels.
      const int x = static_cast<short>(LOWORD(lParam));
      const int y = static_cast<short>(HIWORD(lParam));
      form.SystemMouseMove(MouseButtons(wParam), ShiftState(wParam),
                           static_cast<double>(x) * ui.twipsPerPixel,
                           static_cast<double>(y) * ui.twipsPerPixel);
      return 0;
    }
    case WM_COMMAND:
      // The children's commands were reflected above: what is left is the menu's.
      if (HIWORD(wParam) == 0) {
        if (Menu* menu = MenuForCommand(form, LOWORD(wParam))) menu->UserClick();
      }
      return 0;
    case WM_ERASEBKGND:
      FillClient(hwnd, reinterpret_cast<HDC>(wParam), form.design().backColor);
      return 1;
    case WM_DESTROY:
      if (--ui.liveForms == 0 && ui.loopRunning) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      if (&form == ui.claimedForm) UnmarkClaimWindow(hwnd, ui.claimName);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      window.hwnd = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT FormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* record =
        static_cast<FormWindow*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
    record->hwnd = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
  }
  auto* record = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (record == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return HandleFormMessage(*record, message, wParam, lParam);
}

// Owning a window keeps it out of the taskbar while it keeps its normal title bar. Made only for
// a program that has such a window: another one pays nothing for it.
HWND HiddenOwner(UiState& ui) {
  if (ui.hiddenOwner != nullptr) return ui.hiddenOwner;
  ui.hiddenOwner = CreateWindowExA(0, MAKEINTATOM(ui.ownerClass), ui.programTitle.c_str(), WS_POPUP,
                                   0, 0, 0, 0, nullptr, nullptr, ui.instance, nullptr);
  if (ui.hiddenOwner == nullptr) throw std::runtime_error("cannot create the owner window");
  return ui.hiddenOwner;
}

// A window kept out of the taskbar is owned, and an owned window always stays above its owner:
// by the program's active window (the one a modal window blocks), so that raising that window
// cannot bury the modal one; by the hidden window only when none of ours is active.
HWND OwnerForUntaskedWindow(UiState& ui) {
  HWND active = GetActiveWindow();
  return active != nullptr && IsFormWindow(ui, active) ? active : HiddenOwner(ui);
}

}  // namespace

void RegisterFormClasses(UiState& ui) {
  // The icon's class shows it in the frame, the taskbar and the task switcher, as the system
  // reads it when it makes the window, where setting it on each window would have it made
  // again. Loaded once: the class keeps it for the process's life, also for a later backend
  // that finds the class registered already.
  static const HICON icon = LoadProgramIcon(SM_CXICON, SM_CYICON);
  static const HICON smallIcon = LoadProgramIcon(SM_CXSMICON, SM_CYSMICON);
  ui.formClass =
      RegisterWindowClass(ui.instance, {.name = kFormClass, .procedure = &Guarded<FormProcedure>});
  ui.iconFormClass = RegisterWindowClass(ui.instance, {.name = kIconFormClass,
                                                       .procedure = &Guarded<FormProcedure>,
                                                       .icon = icon,
                                                       .smallIcon = smallIcon});
  ui.icon = icon;
  ui.smallIcon = smallIcon != nullptr ? smallIcon : icon;
  ui.ownerClass =
      RegisterWindowClass(ui.instance, {.name = kOwnerClass, .procedure = &DefWindowProcA});
}

bool IsFormWindow(const UiState& ui, HWND window) {
  const auto atom = static_cast<ATOM>(GetClassLongPtrA(window, GCW_ATOM));
  return atom == ui.formClass || atom == ui.iconFormClass;
}

void CreateFormWindow(UiState& ui, Form& form) {
  const FormDesign& design = form.design();
  const FrameStyle frame = StyleFor(design);
  const int clientWidth = TwipsToPixels(design.clientWidth, ui.twipsPerPixel);
  const int clientHeight = TwipsToPixels(design.clientHeight, ui.twipsPerPixel);

  // The owner first: when it cannot be made, nothing is left to clean up; and made before the
  // probe for a place, it costs half what it costs after it (seen under Wine).
  HWND owner = design.showInTaskbar ? nullptr : OwnerForUntaskedWindow(ui);
  HMENU bar = BuildMenuBar(form);
  RECT outer{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&outer, frame.style, bar != nullptr, frame.exStyle);
  const POINT at =
      (frame.style & WS_POPUP) ? DefaultPosition(ui) : POINT{CW_USEDEFAULT, CW_USEDEFAULT};

  auto record = std::make_unique<FormWindow>(FormWindow{&ui, &form});
  FormWindow& window = *record;
  HWND hwnd =
      CreateWindowExA(frame.exStyle, MAKEINTATOM(design.hasIcon ? ui.iconFormClass : ui.formClass),
                      design.caption.c_str(), frame.style, at.x, at.y, outer.right - outer.left,
                      outer.bottom - outer.top, owner, bar, ui.instance, &window);
  if (hwnd == nullptr) {
    if (bar != nullptr) DestroyMenu(bar);
    throw std::runtime_error("cannot create the window " + design.name);
  }
  ui.forms[&form] = std::move(record);
  ++ui.liveForms;
  // Also when the program runs elevated and the restarted shell does not.
  AllowFromAnyProgram(hwnd, ui.taskbarCreated);
  if (&form == ui.claimedForm) MarkClaimWindow(hwnd, ui.claimName);
  // A dialog frame shows an icon on Windows only where the window has one of its own.
  if (design.hasIcon && design.border == BorderStyle::kFixedDialog) {
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ui.icon));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ui.smallIcon));
  }

  CreateControlWindows(form, hwnd, ui.twipsPerPixel);
  KeepClientSize(hwnd, clientWidth, clientHeight);
  window.creating = false;
}

}  // namespace platform::win32
