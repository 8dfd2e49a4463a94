#include "platform/controls/controls.h"

#include "platform/controls/form.h"

namespace platform {

void OptionButton::SetValue(bool selected) {
  if (!selected) {
    if (value_) {
      value_ = false;
      Changed();
    }
    return;
  }
  for (Control* sibling : container().controls()) {
    if (sibling != this && sibling->kind() == ControlKind::kOptionButton)
      static_cast<OptionButton*>(sibling)->SetValue(false);
  }
  value_ = true;
  Changed();
  if (onClick) onClick();
}

void OptionButton::OnUserClick() {
  // Clicking the button that is already selected changes nothing and raises nothing.
  if (!value_) SetValue(true);
}

void CheckBox::SetValue(int value) {
  if (value == value_) return;
  value_ = value;
  Changed();
  if (onClick) onClick();
}

void CheckBox::OnUserClick() {
  SetValue(value_ == kChecked ? kUnchecked : kChecked);
}

void PictureBox::SetPicture(PictureRef picture) {
  picture_ = std::move(picture);
  Changed();
}

void PictureBox::OnUserClick() {
  if (onClick) onClick();
}

void Image::SetPicture(PictureRef picture) {
  picture_ = std::move(picture);
  if (picture_) {
    const int twips = form().TwipsPerPixel();
    SetBounds({bounds().left, bounds().top, picture_->widthPixels() * twips,
               picture_->heightPixels() * twips});
  } else {
    Changed();
  }
}

}  // namespace platform
