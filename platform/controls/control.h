#pragma once
// The retained control layer that program logic is written against: controls hold their state
// (caption, place, value, picture) and their handlers; a backend shows them, as real windows
// on Windows or nowhere at all in the headless tests.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Colour values as the runtime writes them: &H00BBGGRR&.
using Color = std::uint32_t;
constexpr Color kBlack = 0x00000000;
constexpr Color kGreen = 0x0000FF00;
constexpr Color kRed = 0x000000FF;
constexpr Color RGB(int red, int green, int blue) {
  return static_cast<Color>(red) | static_cast<Color>(green) << 8 | static_cast<Color>(blue) << 16;
}
// The system's default text colour (whatever the user's colour scheme says).
constexpr Color kSystemText = 0x80000012;

// A control's place in twips, relative to the inner area of its container.
struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Bounds&) const = default;
};

enum class ControlKind { kLabel, kFrame, kOptionButton, kCheckBox, kPictureBox, kImage };

struct ControlDesign {
  std::string name;
  std::string caption;  // the window text, also where the control is too narrow to show it
  Bounds bounds;
  int tabIndex = 0;
  Color foreColor = kSystemText;
  Color backColor = kBlack;
};

class Form;
class Control;

// A form or a frame: what controls are placed in. Option buttons placed in the same container
// form one exclusive group.
class Container {
 public:
  Container() = default;
  Container(const Container&) = delete;
  Container& operator=(const Container&) = delete;
  virtual ~Container() = default;

  const std::vector<Control*>& controls() const { return controls_; }
  virtual Form& form() = 0;

 private:
  friend class Control;
  std::vector<Control*> controls_;
};

class Control {
 public:
  Control(Container& container, ControlKind kind, ControlDesign design);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  // Leaves its container's list, so that a window destroyed after its controls (a form's own
  // destructor runs after its members') never reaches a control that is gone.
  virtual ~Control();

  ControlKind kind() const { return kind_; }
  const std::string& name() const { return design_.name; }
  const std::string& caption() const { return design_.caption; }
  const Bounds& bounds() const { return design_.bounds; }
  int tabIndex() const { return design_.tabIndex; }
  Color foreColor() const { return design_.foreColor; }
  Color backColor() const { return design_.backColor; }
  Container& container() const { return container_; }
  Form& form() const { return container_.form(); }

  // The backend's own handle for the control (a window handle on Windows), 0 before creation.
  std::uintptr_t nativeHandle() const { return native_; }
  void setNativeHandle(std::uintptr_t handle) { native_ = handle; }

  // A click by the user, arriving from the backend as an event of its own.
  void UserClick();

 protected:
  // Tells the backend that the control's state changed and must be shown anew.
  void Changed();
  void SetBounds(const Bounds& bounds);
  // What a user's click does; runs inside the event boundary.
  virtual void OnUserClick() {}

 private:
  Container& container_;
  ControlKind kind_;
  ControlDesign design_;
  std::uintptr_t native_ = 0;
};

}  // namespace platform
