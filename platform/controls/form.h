#pragma once
// A window of the program and the container of its controls and menus.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls/control.h"

namespace platform {

class Runtime;
class Menu;

enum class BorderStyle {
  kNone,         // no border, no title bar
  kFixedSingle,  // fixed frame with a title bar
  kSizable,
  kFixedDialog,  // fixed dialog frame: no minimise or maximise button
};

enum class WindowState { kNormal = 0, kMinimized = 1 };

constexpr int kScaleTwips = 1;
constexpr int kScalePixels = 3;

struct FormDesign {
  std::string name;
  std::string caption;
  int clientWidth = 0;  // twips
  int clientHeight = 0;
  Color backColor = kBlack;
  Color foreColor = kSystemText;
  BorderStyle border = BorderStyle::kSizable;
  bool minButton = true;
  bool maxButton = true;
  bool showInTaskbar = true;
  bool hasIcon = true;  // the program's own icon
  // A held arrow key goes on selecting through the option groups, as in dialogs; false where
  // selecting an option acts outside the program, so that a press acts once however long held.
  bool heldArrowRepeats = true;
};

class Form : public Container {
 public:
  Form(Runtime& runtime, FormDesign design);
  ~Form() override;

  Runtime& runtime() const { return runtime_; }
  Form& form() override { return *this; }
  const FormDesign& design() const { return design_; }
  const std::vector<Menu*>& menus() const { return menus_; }  // top-level entries
  const std::vector<Menu*>& allMenus() const { return allMenus_; }

  // Creates the window with its controls and runs the load handler; nothing if loaded already.
  void Load();
  // Shows the window, loading it first if need be. Modal: returns once the window has been
  // unloaded, and until then the program's other windows take no input.
  void Show(bool modal = false);
  void Hide();
  // Repaints the window at once.
  void Refresh();
  // Runs the unload handler and destroys the window and the native side of its controls.
  void Unload();

  bool loaded() const { return loaded_; }
  bool visible() const { return visible_; }
  WindowState windowState() const;
  void SetWindowState(WindowState state);
  int scaleMode() const { return kScaleTwips; }
  int TwipsPerPixel() const;
  std::uintptr_t windowHandle() const;
  std::uintptr_t iconHandle() const;
  // Brings the window to the foreground (the system's SetForegroundWindow).
  void SetForeground();
  // Brings the window back on the screen and to the front: restored if minimised, brought to
  // the foreground, then shown also when hidden.
  void ComeBack();
  // Shows the visible entries of `menu` as a popup at the mouse pointer; a chosen entry's click
  // handler runs before this returns.
  void PopupMenu(Menu& menu);

  // What the backend reports; each runs its handler as an event of its own.
  void UserClose();
  void SystemResized();
  void SystemMouseMove(int button, int shift, double x, double y);
  void SystemShellRestarted();
  // Another copy of the program was started in this one's folder, and ended for this one.
  void SystemAnotherCopyStarted();

  std::function<void()> onLoad;
  std::function<void()> onResize;
  std::function<void()> onUnload;
  std::function<void(int button, int shift, double x, double y)> onMouseMove;
  // The notification area was created anew (the shell restarted).
  std::function<void()> onShellRestarted;

  // Used by the backend while the window exists.
  void setVisibleState(bool visible) { visible_ = visible; }

 private:
  friend class Menu;
  int AdoptMenu(Menu& menu);

  Runtime& runtime_;
  FormDesign design_;
  std::vector<Menu*> menus_;
  std::vector<Menu*> allMenus_;
  bool loaded_ = false;
  bool visible_ = false;
};

}  // namespace platform
