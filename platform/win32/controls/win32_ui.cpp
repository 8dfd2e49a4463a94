#include "platform/win32/controls/win32_ui.h"

#include <algorithm>
#include <utility>

#include "platform/controls/menu.h"
#include "platform/win32/controls/control_classes.h"
#include "platform/win32/controls/control_windows.h"
#include "platform/win32/controls/form_window.h"
#include "platform/win32/controls/menu_builder.h"
#include "platform/win32/controls/one_copy_per_folder.h"
#include "platform/win32/controls/option_arrow_keys.h"
#include "platform/win32/controls/pictures.h"
#include "platform/win32/controls/ui_state.h"
#include "platform/win32/event_boundary.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

constexpr int kTwipsPerInch = 1440;

int ScreenTwipsPerPixel() {
  HDC screen = GetDC(nullptr);
  const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dotsPerInch > 0 ? std::max(1, kTwipsPerInch / dotsPerInch) : 15;
}

FormWindow* Find(UiState& ui, const Form& form) {
  const auto found = ui.forms.find(&form);
  return found == ui.forms.end() ? nullptr : found->second.get();
}

HWND HandleOf(UiState& ui, const Form& form) {
  const FormWindow* window = Find(ui, form);
  return window == nullptr ? nullptr : window->hwnd;
}

void Dispatch(const UiState& ui, MSG& message) {
  // The dialog keys (Tab, arrows) move between the controls of our windows.
  HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (root != nullptr && IsFormWindow(ui, root) &&
      (HandleOptionArrowKey(message) || IsDialogMessageA(root, &message)))
    return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

void Unblock(ModalFrame& frame) {
  for (HWND window : frame.blocked)
    if (IsWindow(window)) EnableWindow(window, TRUE);
  frame.blocked.clear();
}

}  // namespace

Win32Ui::Win32Ui(std::string programTitle) : state_(std::make_unique<UiState>()) {
  UiState& s = *state_;
  RegisterControlClasses(s.instance);
  RegisterFormClasses(s);
  s.programTitle = std::move(programTitle);
  s.taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  s.twipsPerPixel = ScreenTwipsPerPixel();
}

Win32Ui::~Win32Ui() {
  if (state_->hiddenOwner != nullptr) ::DestroyWindow(state_->hiddenOwner);
  if (state_->claim != nullptr) CloseHandle(state_->claim);
}

PictureRef Win32Ui::DecodePicture(PictureBytes bytes) {
  return DecodePictureFile(bytes);
}

void Win32Ui::CreateWindow(Form& form) {
  if (Find(*state_, form) == nullptr) CreateFormWindow(*state_, form);
}

void Win32Ui::DestroyWindow(Form& form) {
  UiState& s = *state_;
  FormWindow* window = Find(s, form);
  if (window == nullptr) return;
  // A modal window gives the windows it blocked back first, so that one of them, and not some
  // other program, becomes active when it goes.
  for (ModalFrame* modal : s.modals) {
    if (modal->form != &form) continue;
    Unblock(*modal);
    modal->ended = true;
  }
  if (window->hwnd != nullptr) ::DestroyWindow(window->hwnd);
  ForgetControlWindows(form);
  s.forms.erase(&form);
}

void Win32Ui::Update(Control& control) {
  UpdateControlWindow(control, state_->twipsPerPixel);
}

void Win32Ui::UpdateMenu(Menu& menu) {
  HWND hwnd = HandleOf(*state_, menu.form());
  if (hwnd == nullptr || !ShowsOnMenuBar(menu)) return;
  HMENU old = GetMenu(hwnd);
  SetMenu(hwnd, BuildMenuBar(menu.form()));
  if (old != nullptr) DestroyMenu(old);
  DrawMenuBar(hwnd);
}

void Win32Ui::ShowWindow(Form& form) {
  if (HWND hwnd = HandleOf(*state_, form)) ::ShowWindow(hwnd, SW_SHOW);
}

void Win32Ui::HideWindow(Form& form) {
  if (HWND hwnd = HandleOf(*state_, form)) ::ShowWindow(hwnd, SW_HIDE);
}

void Win32Ui::RunModal(Form& form) {
  UiState& s = *state_;
  HWND hwnd = HandleOf(s, form);
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
    Dispatch(s, message);
  }
  std::erase(s.modals, &frame);
  Unblock(frame);
  if (previous != nullptr && IsWindow(previous)) SetActiveWindow(previous);
}

void Win32Ui::Repaint(Form& form) {
  if (HWND hwnd = HandleOf(*state_, form))
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

WindowState Win32Ui::GetWindowState(const Form& form) {
  HWND hwnd = HandleOf(*state_, form);
  return hwnd != nullptr && IsIconic(hwnd) ? WindowState::kMinimized : WindowState::kNormal;
}

void Win32Ui::SetWindowState(Form& form, WindowState state) {
  HWND hwnd = HandleOf(*state_, form);
  if (hwnd == nullptr) return;
  // The size events this causes reach the model from inside these calls.
  if (state == WindowState::kMinimized) {
    if (!IsIconic(hwnd)) ::ShowWindow(hwnd, SW_MINIMIZE);
  } else if (IsIconic(hwnd)) {
    ::ShowWindow(hwnd, SW_RESTORE);  // which also shows a hidden window, as the system does
  }
  if (HandleOf(*state_, form) == hwnd) form.setVisibleState(IsWindowVisible(hwnd) != FALSE);
}

void Win32Ui::SetForeground(Form& form) {
  if (HWND hwnd = HandleOf(*state_, form)) SetForegroundWindow(hwnd);
}

Menu* Win32Ui::ShowPopup(Form& form, Menu& menu) {
  HWND hwnd = HandleOf(*state_, form);
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
  return reinterpret_cast<std::uintptr_t>(HandleOf(*state_, form));
}

std::uintptr_t Win32Ui::IconHandle(const Form& form) {
  // The small image: what the notification area shows.
  if (Find(*state_, form) == nullptr || !form.design().hasIcon) return 0;
  return reinterpret_cast<std::uintptr_t>(state_->smallIcon);
}

FolderClaim Win32Ui::ClaimWorkingFolder(const std::string& program, Form& startForm) {
  UiState& s = *state_;
  s.claimName = FolderClaimName(program);
  // A folder that cannot be told from others is claimed by none: the program runs as if alone.
  if (s.claimName.empty()) return FolderClaim::kClaimed;
  const FolderClaim claim = ClaimOrHandOver(s.claimName, s.claim);
  if (claim == FolderClaim::kClaimed) s.claimedForm = &startForm;
  return claim;
}

void Win32Ui::RunMessageLoop() {
  UiState& s = *state_;
  if (s.liveForms == 0) return;
  s.loopRunning = true;
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) Dispatch(s, message);
  s.loopRunning = false;
}

void Win32Ui::Terminate(int exitCode) {
  ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace platform::win32
