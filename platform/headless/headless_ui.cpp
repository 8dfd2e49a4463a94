#include "platform/headless/headless_ui.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>

#include "platform/controls/runtime.h"
#include "platform/services/runtime_error.h"

namespace platform::headless {
namespace {

int ReadLittle16(PictureBytes b, std::size_t at) {
  return b[at] | b[at + 1] << 8;
}
int ReadBig16(PictureBytes b, std::size_t at) {
  return b[at] << 8 | b[at + 1];
}

// Reads a picture's size from its header, as far as a test needs a picture at all.
bool ReadPictureSize(PictureBytes b, int& width, int& height) {
  if (b.size() >= 26 && b[0] == 'B' && b[1] == 'M') {
    width = ReadLittle16(b, 18);
    height = ReadLittle16(b, 22);
    return true;
  }
  if (b.size() >= 10 && b[0] == 'G' && b[1] == 'I' && b[2] == 'F') {
    width = ReadLittle16(b, 6);
    height = ReadLittle16(b, 8);
    return true;
  }
  if (b.size() >= 4 && b[0] == 0xFF && b[1] == 0xD8) {
    for (std::size_t at = 2; at + 9 < b.size();) {
      if (b[at] != 0xFF) return false;
      const int marker = b[at + 1];
      if (marker >= 0xC0 && marker <= 0xC3) {
        height = ReadBig16(b, at + 5);
        width = ReadBig16(b, at + 7);
        return true;
      }
      at += 2 + static_cast<std::size_t>(ReadBig16(b, at + 2));
    }
  }
  return false;
}

struct Claim {
  HeadlessUi* ui;
  Form* startForm;
};

// The folders held, by program and folder.
std::map<std::string, Claim>& Claims() {
  static std::map<std::string, Claim> claims;
  return claims;
}

}  // namespace

HeadlessUi::~HeadlessUi() {
  if (!claim_.empty()) Claims().erase(claim_);
}

void HeadlessUi::Terminate(int code) {
  terminated = true;
  exitCode = code;
  if (!claim_.empty()) Claims().erase(claim_);
  claim_.clear();
}

FolderClaim HeadlessUi::ClaimWorkingFolder(const std::string& program, Form& startForm) {
  const std::string key = program + '|' + std::filesystem::current_path().string();
  const auto held = Claims().find(key);
  if (held != Claims().end() && held->second.ui != this) {
    if (!held->second.ui->answersLaterCopies) return FolderClaim::kHolderNotAnswering;
    events.push_back("hand over to the copy running here");
    held->second.startForm->SystemAnotherCopyStarted();
    return FolderClaim::kHandedOver;
  }
  Claims()[key] = {this, &startForm};
  claim_ = key;
  return FolderClaim::kClaimed;
}

PictureRef HeadlessUi::DecodePicture(PictureBytes bytes) {
  int width = 0;
  int height = 0;
  if (!ReadPictureSize(bytes, width, height)) throw RuntimeError(error::kInvalidPicture);
  ++decodeCount;
  return std::make_shared<const Picture>(width, height, nullptr);
}

void HeadlessUi::CreateWindow(Form& form) {
  windows_[&form] = Window{nextHandle_};
  nextHandle_ += 0x10;
  events.push_back("create " + form.design().name);
}

void HeadlessUi::DestroyWindow(Form& form) {
  windows_.erase(&form);
  std::erase(modalStack, &form);
  events.push_back("destroy " + form.design().name);
}

void HeadlessUi::Update(Control& /*control*/) {}
void HeadlessUi::UpdateMenu(Menu& /*menu*/) {}

void HeadlessUi::ShowWindow(Form& form) {
  events.push_back("show " + form.design().name);
}

void HeadlessUi::HideWindow(Form& form) {
  events.push_back("hide " + form.design().name);
}

void HeadlessUi::RunModal(Form& form) {
  events.push_back("modal " + form.design().name);
  modalStack.push_back(&form);
  if (onModal) onModal(form);
  if (form.loaded()) form.UserClose();
  std::erase(modalStack, &form);
}

void HeadlessUi::Repaint(Form& form) {
  events.push_back("repaint " + form.design().name);
}

WindowState HeadlessUi::GetWindowState(const Form& form) {
  const auto found = windows_.find(&form);
  return found == windows_.end() ? WindowState::kNormal : found->second.state;
}

void HeadlessUi::SetWindowState(Form& form, WindowState state) {
  auto found = windows_.find(&form);
  if (found == windows_.end() || found->second.state == state) return;
  found->second.state = state;
  // A change of state is a change of size: the window hears of it at once, as on Windows.
  form.SystemResized();
}

void HeadlessUi::SetForeground(Form& form) {
  ++foregroundCount;
  events.push_back("foreground " + form.design().name);
}

Menu* HeadlessUi::ShowPopup(Form& /*form*/, Menu& menu) {
  std::vector<std::string> captions;
  for (Menu* entry : menu.entries())
    if (entry->visible()) captions.push_back(entry->caption());
  popupsShown.push_back(captions);
  const std::string choice = onPopup ? onPopup(captions) : std::string();
  for (Menu* entry : menu.entries())
    if (entry->visible() && !entry->isSeparator() && entry->caption() == choice) return entry;
  return nullptr;
}

std::uintptr_t HeadlessUi::WindowHandle(const Form& form) {
  const auto found = windows_.find(&form);
  return found == windows_.end() ? 0 : found->second.handle;
}

std::uintptr_t HeadlessUi::IconHandle(const Form& form) {
  return form.design().hasIcon ? 0x0777 : 0;
}

bool HeadlessUi::IsBlocked(const Form& form) const {
  return !modalStack.empty() && modalStack.back() != &form;
}

void HeadlessUi::Click(Control& control) {
  if (!IsBlocked(control.form())) control.UserClick();
}

void HeadlessUi::Click(Menu& menu) {
  if (!IsBlocked(menu.form())) menu.UserClick();
}

OptionButton& HeadlessUi::PressArrow(OptionButton& focused, ArrowStep step, bool repeat) {
  return IsBlocked(focused.form()) ? focused : platform::PressArrow(focused, step, repeat);
}

void HeadlessUi::Minimize(Form& form) {
  if (!IsBlocked(form)) SetWindowState(form, WindowState::kMinimized);
}

void HeadlessUi::Close(Form& form) {
  if (!IsBlocked(form)) form.UserClose();
}

void HeadlessUi::NotifyCallback(Form& form, int mouseMessage) {
  const double x = form.scaleMode() == kScalePixels
                       ? static_cast<double>(mouseMessage)
                       : static_cast<double>(mouseMessage) * twipsPerPixel;
  form.SystemMouseMove(0, 0, x, 0);
}

}  // namespace platform::headless
