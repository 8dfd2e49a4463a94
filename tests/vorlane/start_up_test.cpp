// Starting the program: the saved state shown, the first-run notice and its defaults.
#include <gtest/gtest.h>

#include "platform/controls/controls.h"
#include "platform/services/notification_area.h"
#include "tests/support/expected_texts.h"
#include "tests/vorlane/game_root.h"
#include "tests/vorlane/vorlane_fixture.h"
#include "vorlane/tray_icon_data.h"

namespace vorlane {
namespace {

using platform::CheckBox;

TEST_F(VorlaneTest, FirstRunShowsTheNoticeOnceSavesFalseAndShowsTheModOff) {
  env.messageBox.Expect(platform::box::kOk);
  Start();

  EXPECT_EQ(env.messageBox.shown(), expected::Told("vorlane", expected::kFirstRunNotice));

  // Read under the lower-case name, written under the capitalised one, all three in order.
  const auto& log = env.settings.log();
  ASSERT_GE(log.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_FALSE(log[i].isSave);
    EXPECT_EQ(log[i].application, "vorlane");
    EXPECT_EQ(log[i].key, (std::array{"mode", "rtr", "sw"})[i]);
  }
  EXPECT_EQ(Saves(), kFalseSaved);

  EXPECT_TRUE(form.Option1.value());
  EXPECT_FALSE(form.Option2.value());
  EXPECT_EQ(form.Check1.value(), CheckBox::kUnchecked);
  EXPECT_EQ(form.Check2.value(), CheckBox::kUnchecked);
  EXPECT_TRUE(form.visible());
  EXPECT_EQ(module1.Loading, "0");
  EXPECT_EQ(Popup(), kOffersEnable);
  EXPECT_EQ(folder.AllFiles(), gameFiles);
  EXPECT_EQ(Installed(), Sets("original"));
  EXPECT_FALSE(env.runtime.ended());
}

TEST_F(VorlaneTest, SavedModeOnIsShownWithoutCopyingOrSaving) {
  Store("True", "True", "False");
  Start();

  EXPECT_TRUE(env.messageBox.shown().empty());
  EXPECT_TRUE(form.Option2.value());
  EXPECT_FALSE(form.Option1.value());
  EXPECT_EQ(form.Check1.value(), CheckBox::kChecked);
  EXPECT_EQ(form.Check2.value(), CheckBox::kUnchecked);
  EXPECT_EQ(module1.UseRtr, "True");
  EXPECT_TRUE(Saves().empty());
  EXPECT_EQ(folder.AllFiles(), gameFiles);
  EXPECT_EQ(Installed(), Sets("original"));
  EXPECT_EQ(Popup(), kOffersDisable);
}

TEST_F(VorlaneTest, ModeOnWithRtrMissingResetsAllButKeepsShowingEnable) {
  Store("True", "", "True");
  env.messageBox.Expect(platform::box::kOk);
  Start();

  EXPECT_EQ(env.messageBox.shown(), expected::Told("vorlane", expected::kFirstRunNotice));
  EXPECT_EQ(Saves(), kFalseSaved);
  EXPECT_EQ(module1.ModeEnabled, "False");
  EXPECT_EQ(module1.UseSw, "False");
  EXPECT_TRUE(form.Option2.value());
  EXPECT_EQ(form.Check2.value(), CheckBox::kUnchecked);
  EXPECT_EQ(Popup(), kOffersDisable);
  EXPECT_EQ(module1.Loading, "0");
  EXPECT_EQ(folder.AllFiles(), gameFiles);
}

struct StoredMode {
  const char* text;
  bool showsEnable;
  bool noticeShown;
};

class StoredModeTest : public VorlaneTest, public ::testing::WithParamInterface<StoredMode> {};

TEST_P(StoredModeTest, ConvertsAsWordOrNumberAndIsOnlyReplacedWhenItDoesNot) {
  const StoredMode& stored = GetParam();
  Store(stored.text, "0", "FALSE");
  if (stored.text[0] == '\0') env.settings.Save("Vorlane", "setting", "mode", "");
  env.settings.ClearLog();
  if (stored.noticeShown) env.messageBox.Expect(platform::box::kOk);
  Start();

  EXPECT_EQ(env.messageBox.shown().size(), stored.noticeShown ? 1u : 0u);
  EXPECT_EQ(form.Option2.value(), stored.showsEnable);
  EXPECT_EQ(form.Option1.value(), !stored.showsEnable);
  if (stored.noticeShown) {
    EXPECT_EQ(Saves(), kFalseSaved);
  } else {
    EXPECT_TRUE(Saves().empty());
    EXPECT_EQ(module1.ModeEnabled, stored.text);
    EXPECT_EQ(Stored("mode"), stored.text);
    EXPECT_EQ(Stored("sw"), "FALSE");
  }
  EXPECT_EQ(folder.AllFiles(), gameFiles);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StoredModeTest,
    ::testing::Values(StoredMode{"TRUE", true, false}, StoredMode{"false", false, false},
                      StoredMode{"0", false, false}, StoredMode{"-1", true, false},
                      StoredMode{"yes", false, true}, StoredMode{"", false, true}));

TEST_F(VorlaneTest, AStoreRefusingTheDefaultsEndsTheProgramWithTheRuntimeMessage) {
  env.settings.FailSaves(true);
  env.messageBox.Expect(platform::box::kOk);  // the notice
  env.messageBox.Expect(platform::box::kOk);  // the runtime's report
  Start();

  ASSERT_EQ(env.messageBox.shown().size(), 2u);
  EXPECT_EQ(env.messageBox.shown()[1].text.rfind("Run-time error '5'", 0), 0u);
  EXPECT_TRUE(env.runtime.ended());
  EXPECT_EQ(Saves(), std::vector<std::string>{"mode=False"});
  EXPECT_TRUE(env.notificationArea.calls.empty());
}

TEST_F(VorlaneTest, TheWindowHoldsTheTrayPictureDecodedOnce) {
  StartWith("False", "False", "False");
  ASSERT_NE(form.Picture1.picture(), nullptr);
  EXPECT_EQ(form.Picture1.picture()->widthPixels(), 125);
  EXPECT_EQ(form.Picture1.picture()->heightPixels(), 116);
  EXPECT_EQ(env.ui.decodeCount, 1);
}

TEST_F(VorlaneTest, TheLoadAddsTheIconWithItsRecord) {
  StartWith("False", "False", "False");
  EXPECT_EQ(IconMessages(), std::vector{platform::notify::kAdd});
  EXPECT_EQ(module1.TrayIconData, MakeTrayIconData(form.windowHandle(), form.iconHandle()));
  EXPECT_NE(form.windowHandle(), 0u);
}

}  // namespace
}  // namespace vorlane
