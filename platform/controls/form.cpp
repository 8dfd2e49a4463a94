#include "platform/controls/form.h"

#include "platform/controls/menu.h"
#include "platform/controls/runtime.h"
#include "platform/controls/ui_backend.h"

namespace platform {

Form::Form(Runtime& runtime, FormDesign design) : runtime_(runtime), design_(std::move(design)) {}

Form::~Form() {
  if (loaded_) runtime_.ui().DestroyWindow(*this);
}

int Form::AdoptMenu(Menu& menu) {
  if (menu.parent() == nullptr) menus_.push_back(&menu);
  allMenus_.push_back(&menu);
  return static_cast<int>(allMenus_.size());
}

void Form::Load() {
  if (loaded_) return;
  runtime_.ui().CreateWindow(*this);
  loaded_ = true;
  if (onLoad) onLoad();
}

void Form::Show(bool modal) {
  Load();
  if (!loaded_) return;  // the load handler unloaded the window again
  visible_ = true;
  if (modal) {
    runtime_.ui().RunModal(*this);
  } else {
    runtime_.ui().ShowWindow(*this);
  }
}

void Form::Hide() {
  if (!loaded_) return;
  visible_ = false;
  runtime_.ui().HideWindow(*this);
}

void Form::Refresh() {
  if (loaded_) runtime_.ui().Repaint(*this);
}

void Form::Unload() {
  if (!loaded_) return;
  if (onUnload) onUnload();
  loaded_ = false;
  visible_ = false;
  runtime_.ui().DestroyWindow(*this);
}

WindowState Form::windowState() const {
  return loaded_ ? runtime_.ui().GetWindowState(*this) : WindowState::kNormal;
}

void Form::SetWindowState(WindowState state) {
  if (loaded_) runtime_.ui().SetWindowState(*this, state);
}

int Form::TwipsPerPixel() const {
  return runtime_.ui().TwipsPerPixel();
}

std::uintptr_t Form::windowHandle() const {
  return loaded_ ? runtime_.ui().WindowHandle(*this) : 0;
}

std::uintptr_t Form::iconHandle() const {
  return loaded_ ? runtime_.ui().IconHandle(*this) : 0;
}

void Form::SetForeground() {
  if (loaded_) runtime_.ui().SetForeground(*this);
}

void Form::ComeBack() {
  SetWindowState(WindowState::kNormal);
  SetForeground();
  Show();
}

void Form::PopupMenu(Menu& menu) {
  if (!loaded_) return;
  Menu* chosen = runtime_.ui().ShowPopup(*this, menu);
  if (chosen != nullptr && chosen->onClick) chosen->onClick();
}

void Form::UserClose() {
  runtime_.RaiseEvent([this] { Unload(); });
}

void Form::SystemResized() {
  runtime_.RaiseEvent([this] {
    if (onResize) onResize();
  });
}

void Form::SystemMouseMove(int button, int shift, double x, double y) {
  runtime_.RaiseEvent([&] {
    if (onMouseMove) onMouseMove(button, shift, x, y);
  });
}

void Form::SystemShellRestarted() {
  runtime_.RaiseEvent([this] {
    if (onShellRestarted) onShellRestarted();
  });
}

void Form::SystemAnotherCopyStarted() {
  runtime_.RaiseEvent([this] { ComeBack(); });
}

}  // namespace platform
