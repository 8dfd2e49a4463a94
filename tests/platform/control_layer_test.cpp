#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/controls/form.h"
#include "platform/controls/keyboard_navigation.h"
#include "platform/controls/menu.h"
#include "platform/headless/headless_environment.h"
#include "platform/headless/posix_file_system.h"

namespace platform {
namespace {

using Environment = headless::HeadlessEnvironment<headless::PosixFileSystem>;

// A window with two groups: two buttons on the window, two in a frame, and a check box.
struct TwoGroups : Form {
  explicit TwoGroups(Runtime& runtime) : Form(runtime, {.name = "Test", .caption = "Test"}) {
    for (OptionButton* button : {&a, &b, &x, &y})
      button->onClick = [this, button] { clicks.push_back(button->name()); };
    box.onClick = [this] { clicks.push_back("box=" + std::to_string(box.value())); };
  }
  OptionButton a{*this, {.name = "a", .tabIndex = 2}};  // b comes first in tab order
  OptionButton b{*this, {.name = "b", .tabIndex = 1}};
  Frame frame{*this, {.name = "frame"}};
  OptionButton x{frame, {.name = "x"}};
  OptionButton y{frame, {.name = "y"}};
  CheckBox box{*this, {.name = "box"}};
  Image image{*this, {.name = "image", .bounds = {120, 120, 1095, 1215}}};
  Menu popup{*this, "popup", "&popup", false};
  Menu first{popup, "first", "&First"};
  Menu hidden{popup, "hidden", "&Hidden", false};
  Menu line{popup, "line", "-"};
  std::vector<std::string> clicks;
};

class ControlLayer : public ::testing::Test {
 protected:
  ControlLayer() { form.Load(); }

  Environment env{"test"};
  TwoGroups form{env.runtime};
};

TEST_F(ControlLayer, SelectingFromCodeRaisesClickAtOnceAndClearsOnlyItsOwnGroup) {
  form.a.SetValue(true);
  form.x.SetValue(true);
  form.b.SetValue(true);
  EXPECT_EQ(form.clicks, (std::vector<std::string>{"a", "x", "b"}));
  EXPECT_FALSE(form.a.value());
  EXPECT_TRUE(form.b.value());
  EXPECT_TRUE(form.x.value());
  EXPECT_FALSE(form.y.value());
}

TEST_F(ControlLayer, AUserClickOnTheSelectedButtonRaisesNothing) {
  env.ui.Click(form.y);
  env.ui.Click(form.y);
  EXPECT_EQ(form.clicks, std::vector<std::string>{"y"});
}

TEST_F(ControlLayer, ArrowKeysSelectTheNextOrPreviousButtonOfTheGroupInTabOrderAndWrap) {
  EXPECT_EQ(GroupTabStop(form), &form.b);  // none selected: the first in tab order
  EXPECT_EQ(&env.ui.PressArrow(form.b, ArrowStep::kNext), &form.a);
  EXPECT_EQ(&env.ui.PressArrow(form.a, ArrowStep::kNext), &form.b);  // wraps
  EXPECT_EQ(&env.ui.PressArrow(form.b, ArrowStep::kPrevious), &form.a);
  EXPECT_EQ(GroupTabStop(form), &form.a);
  EXPECT_EQ(&env.ui.PressArrow(form.y, ArrowStep::kPrevious), &form.x);
  EXPECT_EQ(form.clicks, (std::vector<std::string>{"a", "b", "a", "x"}));
  EXPECT_TRUE(form.a.value()) << "the frame's group reached the window's";
  EXPECT_EQ(GroupTabStop(form.frame), &form.x);

  // A handler that puts the selection back: the focus follows the button selected, and no
  // handler runs twice.
  form.y.onClick = [&] {
    form.clicks.push_back("y");
    form.x.SetValue(true);
  };
  EXPECT_EQ(&env.ui.PressArrow(form.x, ArrowStep::kNext), &form.x);
  EXPECT_EQ(form.clicks, (std::vector<std::string>{"a", "b", "a", "x", "y", "x"}));
  // A held key goes on moving, as in dialogs.
  EXPECT_EQ(&env.ui.PressArrow(form.a, ArrowStep::kNext, true), &form.b);
  EXPECT_EQ(form.clicks.back(), "b");
}

TEST_F(ControlLayer, ACheckBoxRaisesClickOnlyWhenItsValueChanges) {
  form.box.SetValue(CheckBox::kUnchecked);
  form.box.SetValue(CheckBox::kChecked);
  form.box.SetValue(CheckBox::kChecked);
  env.ui.Click(form.box);
  EXPECT_EQ(form.clicks, (std::vector<std::string>{"box=1", "box=0"}));
}

TEST_F(ControlLayer, AnImageTakesItsPicturesOwnSize) {
  const unsigned char gif[] = {'G', 'I', 'F', '8', '9', 'a', 64, 0, 60, 0};
  form.image.SetPicture(env.ui.DecodePicture(gif));
  EXPECT_EQ(form.image.bounds(), (Bounds{120, 120, 64 * 15, 60 * 15}));
}

TEST_F(ControlLayer, APopupOffersOnlyVisibleEntriesAndRunsTheChosenOne) {
  int chosen = 0;
  form.first.onClick = [&] { ++chosen; };
  env.ui.onPopup = [](const std::vector<std::string>& offered) { return offered.front(); };
  form.PopupMenu(form.popup);
  EXPECT_EQ(env.ui.popupsShown.back(), (std::vector<std::string>{"&First", "-"}));
  EXPECT_EQ(chosen, 1);
  form.hidden.SetVisible(true);
  env.ui.onPopup = [](const std::vector<std::string>&) { return std::string(); };
  form.PopupMenu(form.popup);
  EXPECT_EQ(env.ui.popupsShown.back(), (std::vector<std::string>{"&First", "&Hidden", "-"}));
  EXPECT_EQ(chosen, 1);
}

TEST_F(ControlLayer, AModalWindowBlocksInputToTheOthersUntilItCloses) {
  TwoGroups& main = form;
  TwoGroups dialog(env.runtime);
  env.ui.onModal = [&](Form& shown) {
    EXPECT_EQ(&shown, &dialog);
    env.ui.Click(main.a);
    env.ui.Click(dialog.a);
  };
  dialog.Show(true);
  EXPECT_FALSE(dialog.loaded());
  EXPECT_TRUE(main.clicks.empty());
  EXPECT_EQ(dialog.clicks, std::vector<std::string>{"a"});
  env.ui.Click(main.a);
  EXPECT_EQ(main.clicks, std::vector<std::string>{"a"});
}

TEST_F(ControlLayer, AControlThatIsGoneLeavesItsContainer) {
  auto extra = std::make_unique<OptionButton>(form.frame, ControlDesign{.name = "z"});
  ASSERT_EQ(form.frame.controls().size(), 3u);
  extra.reset();
  EXPECT_EQ(form.frame.controls().size(), 2u);
  form.x.SetValue(true);  // the group no longer reaches the button that is gone
  EXPECT_TRUE(form.x.value());
}

}  // namespace
}  // namespace platform
