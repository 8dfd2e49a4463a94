#include "platform/controls/menu.h"

#include "platform/controls/form.h"
#include "platform/controls/runtime.h"
#include "platform/controls/ui_backend.h"

namespace platform {

Menu::Menu(Form& form, std::string name, std::string caption, bool visible)
    : form_(form),
      name_(std::move(name)),
      caption_(std::move(caption)),
      visible_(visible),
      id_(form.AdoptMenu(*this)) {}

Menu::Menu(Menu& parent, std::string name, std::string caption, bool visible)
    : form_(parent.form_),
      parent_(&parent),
      name_(std::move(name)),
      caption_(std::move(caption)),
      visible_(visible),
      id_(parent.form_.AdoptMenu(*this)) {
  parent.entries_.push_back(this);
}

void Menu::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  if (form_.loaded()) form_.runtime().ui().UpdateMenu(*this);
}

void Menu::UserClick() {
  form_.runtime().RaiseEvent([this] {
    if (onClick) onClick();
  });
}

}  // namespace platform
