#pragma once
// Menus: top-level entries of a form's menu bar, and their entries, which can be hidden and
// shown and are also offered as popup menus. An entry captioned "-" is a separator line.
#include <functional>
#include <string>
#include <vector>

namespace platform {

class Form;

class Menu {
 public:
  // A top-level entry of `form`'s menu bar; an invisible one serves only as a popup menu.
  Menu(Form& form, std::string name, std::string caption, bool visible = true);
  // An entry of `parent`.
  Menu(Menu& parent, std::string name, std::string caption, bool visible = true);
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;

  const std::string& name() const { return name_; }
  const std::string& caption() const { return caption_; }
  bool visible() const { return visible_; }
  void SetVisible(bool visible);
  bool isSeparator() const { return caption_ == "-"; }
  const std::vector<Menu*>& entries() const { return entries_; }
  Menu* parent() const { return parent_; }
  Form& form() const { return form_; }
  // A number unique within the form, for backends that identify menu commands by number.
  int id() const { return id_; }

  // The user chose this entry, from the menu bar or a popup.
  void UserClick();

  std::function<void()> onClick;

 private:
  Form& form_;
  Menu* parent_ = nullptr;
  std::string name_;
  std::string caption_;
  bool visible_;
  int id_;
  std::vector<Menu*> entries_;
};

}  // namespace platform
