#pragma once
// A backend without windows, for the native tests: it keeps what a real backend would show
// (which windows are visible, their state, popups offered) and lets a test act as the user.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/controls/keyboard_navigation.h"
#include "platform/controls/menu.h"
#include "platform/controls/ui_backend.h"

namespace platform::headless {

class HeadlessUi : public UiBackend {
 public:
  HeadlessUi() = default;
  ~HeadlessUi() override;
  HeadlessUi(const HeadlessUi&) = delete;
  HeadlessUi& operator=(const HeadlessUi&) = delete;

  // --- the backend ---
  PictureRef DecodePicture(PictureBytes bytes) override;
  void CreateWindow(Form& form) override;
  void DestroyWindow(Form& form) override;
  void Update(Control& control) override;
  void UpdateMenu(Menu& menu) override;
  void ShowWindow(Form& form) override;
  void HideWindow(Form& form) override;
  void RunModal(Form& form) override;
  void Repaint(Form& form) override;
  WindowState GetWindowState(const Form& form) override;
  void SetWindowState(Form& form, WindowState state) override;
  void SetForeground(Form& form) override;
  Menu* ShowPopup(Form& form, Menu& menu) override;
  int TwipsPerPixel() override { return twipsPerPixel; }
  std::uintptr_t WindowHandle(const Form& form) override;
  std::uintptr_t IconHandle(const Form& form) override;
  // The copies of a program in a folder are the environments of this process that run it there.
  FolderClaim ClaimWorkingFolder(const std::string& program, Form& startForm) override;
  void RunMessageLoop() override {}
  // An ended program holds no claim, as its process is gone.
  void Terminate(int code) override;

  // --- acting as the user; input to a window blocked by a modal one is ignored ---
  void Click(Control& control);
  void Click(Menu& menu);
  // An arrow key on the focused option button `focused`, pressed or repeated while held;
  // returns the button focused after it.
  OptionButton& PressArrow(OptionButton& focused, ArrowStep step, bool repeat = false);
  void Minimize(Form& form);
  void Close(Form& form);
  // The shell's notification callback: a mouse message number carried as the X position.
  void NotifyCallback(Form& form, int mouseMessage);
  bool IsBlocked(const Form& form) const;

  // Runs while a window is shown modal; a test acts on the window there. If it leaves the
  // window loaded, the user is taken to have closed it.
  std::function<void(Form&)> onModal;
  // Answers a popup menu: gets the captions of its visible entries, returns the caption chosen
  // or the empty text to dismiss it.
  std::function<std::string(const std::vector<std::string>&)> onPopup;

  // Whether this copy, holding its folder, answers a later copy there; false stands for a copy
  // that hangs.
  bool answersLaterCopies = true;

  // --- what a test reads ---
  int twipsPerPixel = 15;
  int decodeCount = 0;
  int foregroundCount = 0;
  bool terminated = false;
  int exitCode = 0;
  std::vector<std::vector<std::string>> popupsShown;  // captions offered, per popup
  std::vector<std::string> events;                    // "show Form1", "hide Form1", ...
  std::vector<Form*> modalStack;
  std::size_t LoadedWindowCount() const { return windows_.size(); }

 private:
  struct Window {
    std::uintptr_t handle;
    WindowState state = WindowState::kNormal;
  };
  std::map<const Form*, Window> windows_;
  std::uintptr_t nextHandle_ = 0x1000;
  std::string claim_;  // the program and folder this copy holds
};

}  // namespace platform::headless
