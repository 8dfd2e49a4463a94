#include "platform/controls/control.h"

#include <vector>

#include "platform/controls/form.h"
#include "platform/controls/runtime.h"
#include "platform/controls/ui_backend.h"

namespace platform {

Control::Control(Container& container, ControlKind kind, ControlDesign design)
    : container_(container), kind_(kind), design_(std::move(design)) {
  container_.controls_.push_back(this);
}

Control::~Control() {
  std::erase(container_.controls_, this);
}

void Control::UserClick() {
  form().runtime().RaiseEvent([this] { OnUserClick(); });
}

void Control::Changed() {
  if (form().loaded()) form().runtime().ui().Update(*this);
}

void Control::SetBounds(const Bounds& bounds) {
  design_.bounds = bounds;
  Changed();
}

}  // namespace platform
