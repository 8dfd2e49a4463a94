#include "platform/win32/windows_api.h"

#include "platform/win32/win32_ui.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <vector>

#include "platform/menu.h"
#include "platform/win32/control_windows.h"
#include "platform/win32/event_boundary.h"
#include "platform/win32/keyboard_navigation.h"
#include "platform/win32/menu_builder.h"
#include "platform/win32/message_filter.h"
#include "platform/win32/picture_decoder.h"

namespace platform::win32 {
namespace {

constexpr const char* kFormClass = "VlForm";
constexpr const char* kOwnerClass = "VlOwner";
constexpr int kProgramIconId = 1;
constexpr int kTwipsPerInch = 1440;

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

int ScreenTwipsPerPixel() {
  HDC screen = GetDC(nullptr);
  const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dotsPerInch > 0 ? std::max(1, kTwipsPerInch / dotsPerInch) : 15;
}

ATOM RegisterOnce(WNDCLASSEXA& windowClass) {
  windowClass.cbSize = sizeof windowClass;
  if (ATOM atom = RegisterClassExA(&windowClass)) return atom;
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  // GetClassInfoEx answers with the class's atom.
  if (auto atom = static_cast<ATOM>(
          GetClassInfoExA(windowClass.hInstance, windowClass.lpszClassName, &existing)))
    return atom;
  throw std::runtime_error(std::string("cannot register the window class ") +
                           windowClass.lpszClassName);
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

LRESULT FormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace

struct FormWindow {
  Win32Ui::State* ui;
  Form* form;
  HWND hwnd = nullptr;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  bool creating = true;  // no events reach the model until the window is complete
};

struct ModalFrame {
  Form* form;
  std::vector<HWND> blocked;  // the windows disabled while it runs
  bool ended = false;
};

struct Win32Ui::State {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  ATOM formClass = 0;
  ATOM ownerClass = 0;
  HWND hiddenOwner = nullptr;
  UINT taskbarCreated = 0;
  int twipsPerPixel = 15;
  std::map<const Form*, std::unique_ptr<FormWindow>> forms;
  int liveForms = 0;
  bool loopRunning = false;
  std::vector<ModalFrame*> modals;

  FormWindow* Find(const Form& form) {
    const auto found = forms.find(&form);
    return found == forms.end() ? nullptr : found->second.get();
  }

  HWND HandleOf(const Form& form) {
    const FormWindow* window = Find(form);
    return window == nullptr ? nullptr : window->hwnd;
  }

  bool IsFormWindow(HWND window) const {
    return static_cast<ATOM>(GetClassLongPtrA(window, GCW_ATOM)) == formClass;
  }

  void Dispatch(MSG& message) {
    // The dialog keys (Tab, arrows) move between the controls of our windows.
    HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && IsFormWindow(root) &&
        (HandleOptionArrowKey(message) || IsDialogMessageA(root, &message)))
      return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }

  static void Unblock(ModalFrame& frame) {
    for (HWND window : frame.blocked)
      if (IsWindow(window)) EnableWindow(window, TRUE);
    frame.blocked.clear();
  }

  // Where the system would put a new overlapped window: popup windows get no default place of
  // their own, so a hidden probe window asks for one.
  // A window kept out of the taskbar is owned, and an owned window always stays above its
  // owner: by the program's active window (the one a modal window blocks), so that raising that
  // window cannot bury the modal one; by the hidden window only when none of ours is active.
  HWND OwnerForUntaskedWindow() const {
    HWND active = GetActiveWindow();
    return active != nullptr && IsFormWindow(active) ? active : hiddenOwner;
  }

  POINT DefaultPosition() const {
    POINT at{0, 0};
    HWND probe = CreateWindowExA(0, MAKEINTATOM(ownerClass), "", WS_OVERLAPPED, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance, nullptr);
    if (probe != nullptr) {
      RECT place{};
      GetWindowRect(probe, &place);
      at = {place.left, place.top};
      ::DestroyWindow(probe);
    }
    return at;
  }

  LRESULT HandleFormMessage(FormWindow& window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = window.hwnd;
    Form& form = *window.form;
    // Every event below may unload the form and free `window`: nothing of it is used after one.
    if (message == taskbarCreated && taskbarCreated != 0) {
      form.SystemShellRestarted();
      return 0;
    }
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
                             static_cast<double>(x) * twipsPerPixel,
                             static_cast<double>(y) * twipsPerPixel);
        return 0;
      }
      case WM_COMMAND:
        if (lParam != 0) {
          RouteControlCommand(wParam, lParam);
        } else if (HIWORD(wParam) == 0) {
          if (Menu* menu = MenuForCommand(form, LOWORD(wParam))) menu->UserClick();
        }
        return 0;
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN: {
        LRESULT brush = 0;
        if (ControlColors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), brush))
          return brush;
        break;
      }
      case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client,
                 SolidBrush(ToColorRef(form.design().backColor)));
        return 1;
      }
      case WM_DESTROY:
        if (--liveForms == 0 && loopRunning) PostQuitMessage(0);
        return 0;
      case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        window.hwnd = nullptr;
        break;
      default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
};

namespace {

LRESULT FormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* record =
        static_cast<FormWindow*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
    record->hwnd = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
  }
  auto* record = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (record == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return record->ui->HandleFormMessage(*record, message, wParam, lParam);
}

}  // namespace

Win32Ui::Win32Ui(std::string programTitle) : state_(std::make_unique<State>()) {
  SetReportTitle(programTitle);
  State& s = *state_;
  RegisterControlClasses(s.instance);

  WNDCLASSEXA formClass{};
  formClass.lpfnWndProc = &Guarded<FormProcedure>;
  formClass.hInstance = s.instance;
  formClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  formClass.lpszClassName = kFormClass;
  s.formClass = RegisterOnce(formClass);

  WNDCLASSEXA ownerClass{};
  ownerClass.lpfnWndProc = &DefWindowProcA;
  ownerClass.hInstance = s.instance;
  ownerClass.lpszClassName = kOwnerClass;
  s.ownerClass = RegisterOnce(ownerClass);

  // Owning a window keeps it out of the taskbar while it keeps its normal title bar.
  s.hiddenOwner = CreateWindowExA(0, MAKEINTATOM(s.ownerClass), programTitle.c_str(), WS_POPUP, 0,
                                  0, 0, 0, nullptr, nullptr, s.instance, nullptr);
  if (s.hiddenOwner == nullptr) throw std::runtime_error("cannot create the owner window");
  s.taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  s.twipsPerPixel = ScreenTwipsPerPixel();
}

Win32Ui::~Win32Ui() {
  if (state_->hiddenOwner != nullptr) ::DestroyWindow(state_->hiddenOwner);
}

PictureRef Win32Ui::DecodePicture(PictureBytes bytes) {
  return DecodePictureFile(bytes);
}

void Win32Ui::CreateWindow(Form& form) {
  State& s = *state_;
  if (s.Find(form) != nullptr) return;
  const FormDesign& design = form.design();
  const FrameStyle frame = StyleFor(design);
  const int clientWidth = TwipsToPixels(design.clientWidth, s.twipsPerPixel);
  const int clientHeight = TwipsToPixels(design.clientHeight, s.twipsPerPixel);

  HMENU bar = BuildMenuBar(form);
  RECT outer{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&outer, frame.style, bar != nullptr, frame.exStyle);
  const POINT at =
      (frame.style & WS_POPUP) ? s.DefaultPosition() : POINT{CW_USEDEFAULT, CW_USEDEFAULT};

  auto record = std::make_unique<FormWindow>(FormWindow{&s, &form});
  FormWindow& window = *record;
  HWND hwnd = CreateWindowExA(
      frame.exStyle, MAKEINTATOM(s.formClass), design.caption.c_str(), frame.style, at.x, at.y,
      outer.right - outer.left, outer.bottom - outer.top,
      design.showInTaskbar ? nullptr : s.OwnerForUntaskedWindow(), bar, s.instance, &window);
  if (hwnd == nullptr) {
    if (bar != nullptr) DestroyMenu(bar);
    throw std::runtime_error("cannot create the window " + design.name);
  }
  s.forms[&form] = std::move(record);
  ++s.liveForms;
  // Also when the program runs elevated and the restarted shell does not.
  AllowFromAnyProgram(hwnd, s.taskbarCreated);

  if (design.hasIcon) {
    window.bigIcon = LoadProgramIcon(SM_CXICON, SM_CYICON);
    window.smallIcon = LoadProgramIcon(SM_CXSMICON, SM_CYSMICON);
    if (window.bigIcon != nullptr)
      SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(window.bigIcon));
    if (window.smallIcon != nullptr)
      SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(window.smallIcon));
  }
  CreateControlWindows(form, hwnd, s.twipsPerPixel);
  KeepClientSize(hwnd, clientWidth, clientHeight);
  window.creating = false;
}

void Win32Ui::DestroyWindow(Form& form) {
  State& s = *state_;
  FormWindow* window = s.Find(form);
  if (window == nullptr) return;
  // A modal window gives the windows it blocked back first, so that one of them, and not some
  // other program, becomes active when it goes.
  for (ModalFrame* modal : s.modals) {
    if (modal->form != &form) continue;
    State::Unblock(*modal);
    modal->ended = true;
  }
  if (window->hwnd != nullptr) ::DestroyWindow(window->hwnd);
  ForgetControlWindows(form);
  if (window->bigIcon != nullptr) DestroyIcon(window->bigIcon);
  if (window->smallIcon != nullptr) DestroyIcon(window->smallIcon);
  s.forms.erase(&form);
}

void Win32Ui::Update(Control& control) {
  UpdateControlWindow(control, state_->twipsPerPixel);
}

void Win32Ui::UpdateMenu(Menu& menu) {
  HWND hwnd = state_->HandleOf(menu.form());
  if (hwnd == nullptr || !ShowsOnMenuBar(menu)) return;
  HMENU old = GetMenu(hwnd);
  SetMenu(hwnd, BuildMenuBar(menu.form()));
  if (old != nullptr) DestroyMenu(old);
  DrawMenuBar(hwnd);
}

void Win32Ui::ShowWindow(Form& form) {
  if (HWND hwnd = state_->HandleOf(form)) ::ShowWindow(hwnd, SW_SHOW);
}

void Win32Ui::HideWindow(Form& form) {
  if (HWND hwnd = state_->HandleOf(form)) ::ShowWindow(hwnd, SW_HIDE);
}

void Win32Ui::RunModal(Form& form) {
  State& s = *state_;
  HWND hwnd = s.HandleOf(form);
  if (hwnd == nullptr) return;
  HWND previous = GetActiveWindow();
  ModalFrame frame{&form, {}, false};
  s.modals.push_back(&frame);
  // Shown first and then the others disabled, so that activation passes straight to it.
  ::ShowWindow(hwnd, SW_SHOW);
  for (const auto& [other, window] : s.forms) {
    if (other == &form || window->hwnd == nullptr || !IsWindowEnabled(window->hwnd)) continue;
    EnableWindow(window->hwnd, FALSE);
    frame.blocked.push_back(window->hwnd);
  }
  MSG message{};
  while (!frame.ended) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the loop outside
      break;
    }
    if (got == -1) break;
    s.Dispatch(message);
  }
  std::erase(s.modals, &frame);
  State::Unblock(frame);
  if (previous != nullptr && IsWindow(previous)) SetActiveWindow(previous);
}

void Win32Ui::Repaint(Form& form) {
  if (HWND hwnd = state_->HandleOf(form))
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

WindowState Win32Ui::GetWindowState(const Form& form) {
  HWND hwnd = state_->HandleOf(form);
  return hwnd != nullptr && IsIconic(hwnd) ? WindowState::kMinimized : WindowState::kNormal;
}

void Win32Ui::SetWindowState(Form& form, WindowState state) {
  HWND hwnd = state_->HandleOf(form);
  if (hwnd == nullptr) return;
  // The size events this causes reach the model from inside these calls.
  if (state == WindowState::kMinimized) {
    if (!IsIconic(hwnd)) ::ShowWindow(hwnd, SW_MINIMIZE);
  } else if (IsIconic(hwnd)) {
    ::ShowWindow(hwnd, SW_RESTORE);  // which also shows a hidden window, as the system does
  }
  if (state_->HandleOf(form) == hwnd) form.setVisibleState(IsWindowVisible(hwnd) != FALSE);
}

void Win32Ui::SetForeground(Form& form) {
  if (HWND hwnd = state_->HandleOf(form)) SetForegroundWindow(hwnd);
}

Menu* Win32Ui::ShowPopup(Form& form, Menu& menu) {
  HWND hwnd = state_->HandleOf(form);
  if (hwnd == nullptr) return nullptr;
  HMENU popup = BuildPopup(menu);
  // Without the window in the foreground the menu would not close on a click elsewhere, and
  // without the message after it the next one would not open at once.
  SetForegroundWindow(hwnd);
  POINT at{};
  GetCursorPos(&at);
  const BOOL command = TrackPopupMenu(popup, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x,
                                      at.y, 0, hwnd, nullptr);
  PostMessageA(hwnd, WM_NULL, 0, 0);
  DestroyMenu(popup);
  return command > 0 ? MenuForCommand(form, static_cast<UINT>(command)) : nullptr;
}

int Win32Ui::TwipsPerPixel() {
  return state_->twipsPerPixel;
}

std::uintptr_t Win32Ui::WindowHandle(const Form& form) {
  return reinterpret_cast<std::uintptr_t>(state_->HandleOf(form));
}

std::uintptr_t Win32Ui::IconHandle(const Form& form) {
  const FormWindow* window = state_->Find(form);
  // The small image: what the notification area shows.
  if (window == nullptr) return 0;
  return reinterpret_cast<std::uintptr_t>(window->smallIcon != nullptr ? window->smallIcon
                                                                       : window->bigIcon);
}

void Win32Ui::RunMessageLoop() {
  State& s = *state_;
  if (s.liveForms == 0) return;
  s.loopRunning = true;
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) s.Dispatch(message);
  s.loopRunning = false;
}

void Win32Ui::Terminate(int exitCode) {
  ExitProcess(static_cast<UINT>(exitCode));
}

std::uintptr_t Win32Ui::HiddenOwnerHandle() const {
  return reinterpret_cast<std::uintptr_t>(state_->hiddenOwner);
}

}  // namespace platform::win32
