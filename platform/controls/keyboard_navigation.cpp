#include "platform/controls/keyboard_navigation.h"

#include <algorithm>
#include <cstddef>

#include "platform/controls/form.h"

namespace platform {

std::vector<OptionButton*> OptionGroup(const Container& container) {
  std::vector<OptionButton*> group;
  for (Control* control : container.controls())
    if (control->kind() == ControlKind::kOptionButton)
      group.push_back(static_cast<OptionButton*>(control));
  std::stable_sort(group.begin(), group.end(), [](const OptionButton* a, const OptionButton* b) {
    return a->tabIndex() < b->tabIndex();
  });
  return group;
}

std::vector<Control*> TabOrder(const Container& container) {
  std::vector<Control*> ordered = container.controls();
  std::stable_sort(ordered.begin(), ordered.end(), [](const Control* a, const Control* b) {
    return a->tabIndex() < b->tabIndex();
  });
  const std::vector<OptionButton*> group = OptionGroup(container);
  std::vector<Control*> visited;
  for (Control* control : ordered) {
    if (control->kind() != ControlKind::kOptionButton) {
      visited.push_back(control);
    } else if (control == group.front()) {
      visited.insert(visited.end(), group.begin(), group.end());
    }
  }
  return visited;
}

OptionButton& OptionReached(const OptionButton& from, ArrowStep step) {
  const std::vector<OptionButton*> group = OptionGroup(from.container());
  const auto at = std::find(group.begin(), group.end(), &from);
  const std::size_t count = group.size();
  const auto index = static_cast<std::size_t>(at - group.begin());
  const std::size_t reached =
      step == ArrowStep::kNext ? (index + 1) % count : (index + count - 1) % count;
  return *group[reached];
}

OptionButton* GroupTabStop(const Container& container) {
  const std::vector<OptionButton*> group = OptionGroup(container);
  if (group.empty()) return nullptr;
  const auto selected = std::find_if(group.begin(), group.end(),
                                     [](const OptionButton* option) { return option->value(); });
  return selected != group.end() ? *selected : group.front();
}

OptionButton& PressArrow(OptionButton& from, ArrowStep step, bool repeat) {
  if (repeat && !from.form().design().heldArrowRepeats) return from;
  OptionButton& reached = OptionReached(from, step);
  reached.UserClick();
  if (reached.value()) return reached;
  OptionButton* selected = GroupTabStop(reached.container());
  return selected != nullptr && selected->value() ? *selected : reached;
}

}  // namespace platform
