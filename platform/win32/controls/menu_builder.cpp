#include "platform/win32/controls/menu_builder.h"

namespace platform::win32 {
namespace {

UINT_PTR CommandOf(const Menu& menu) {
  return kMenuCommandBase + static_cast<UINT_PTR>(menu.id());
}

void AppendEntry(HMENU target, const Menu& entry) {
  if (entry.isSeparator()) {
    AppendMenuA(target, MF_SEPARATOR, 0, nullptr);
  } else if (entry.entries().empty()) {
    AppendMenuA(target, MF_STRING, CommandOf(entry), entry.caption().c_str());
  } else {
    AppendMenuA(target, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildPopup(entry)),
                entry.caption().c_str());
  }
}

}  // namespace

HMENU BuildMenuBar(const Form& form) {
  HMENU bar = nullptr;
  for (const Menu* menu : form.menus()) {
    if (!menu->visible()) continue;  // an invisible top-level menu serves only as a popup
    if (bar == nullptr) bar = CreateMenu();
    AppendEntry(bar, *menu);
  }
  return bar;
}

HMENU BuildPopup(const Menu& menu) {
  HMENU popup = CreatePopupMenu();
  for (const Menu* entry : menu.entries())
    if (entry->visible()) AppendEntry(popup, *entry);
  return popup;
}

Menu* MenuForCommand(const Form& form, UINT command) {
  if (command <= kMenuCommandBase) return nullptr;
  const UINT id = command - kMenuCommandBase;
  for (Menu* menu : form.allMenus())
    if (static_cast<UINT>(menu->id()) == id) return menu;
  return nullptr;
}

bool ShowsOnMenuBar(const Menu& menu) {
  const Menu* top = &menu;
  while (top->parent() != nullptr) top = top->parent();
  // A top-level entry changes the bar by appearing or disappearing; a deeper one only if its
  // top-level entry is on the bar.
  return top == &menu || top->visible();
}

}  // namespace platform::win32
