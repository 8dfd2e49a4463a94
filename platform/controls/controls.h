#pragma once
// The standard controls: label, frame, option button, check box, picture box and image.
#include <functional>

#include "platform/controls/control.h"
#include "platform/controls/picture.h"

namespace platform {

class Label : public Control {
 public:
  Label(Container& container, ControlDesign design)
      : Control(container, ControlKind::kLabel, std::move(design)) {}
};

// A captioned box that holds its own group of option buttons.
class Frame : public Control, public Container {
 public:
  Frame(Container& container, ControlDesign design)
      : Control(container, ControlKind::kFrame, std::move(design)) {}
  Form& form() override { return Control::form(); }
};

class OptionButton : public Control {
 public:
  OptionButton(Container& container, ControlDesign design)
      : Control(container, ControlKind::kOptionButton, std::move(design)) {}

  bool value() const { return value_; }
  // Selecting clears the other option buttons of the same container and raises Click at once,
  // inside this call, as a user's click does; clearing raises nothing.
  void SetValue(bool selected);

  std::function<void()> onClick;

 private:
  void OnUserClick() override;
  bool value_ = false;
};

class CheckBox : public Control {
 public:
  static constexpr int kUnchecked = 0;
  static constexpr int kChecked = 1;
  static constexpr int kGrayed = 2;

  CheckBox(Container& container, ControlDesign design)
      : Control(container, ControlKind::kCheckBox, std::move(design)) {}

  int value() const { return value_; }
  // A change of value raises Click at once, inside this call; setting the same value does not.
  void SetValue(int value);

  std::function<void()> onClick;

 private:
  void OnUserClick() override;
  int value_ = kUnchecked;
};

// Shows a picture at its own size at the top-left corner of its inner area, clipped, never
// scaled; the box keeps its size.
class PictureBox : public Control {
 public:
  PictureBox(Container& container, ControlDesign design)
      : Control(container, ControlKind::kPictureBox, std::move(design)) {}

  const PictureRef& picture() const { return picture_; }
  void SetPicture(PictureRef picture);

  std::function<void()> onClick;

 private:
  void OnUserClick() override;
  PictureRef picture_;
};

// Shows a picture without border or stretching: it takes the picture's own size.
class Image : public Control {
 public:
  Image(Container& container, ControlDesign design)
      : Control(container, ControlKind::kImage, std::move(design)) {}

  const PictureRef& picture() const { return picture_; }
  void SetPicture(PictureRef picture);

 private:
  PictureRef picture_;
};

}  // namespace platform
