// The notification-area icon: its record, its callbacks, its popup menu and its removal.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/controls/form.h"
#include "platform/services/message_box.h"
#include "platform/services/notification_area.h"
#include "tests/support/expected_texts.h"
#include "tests/support/program.h"
#include "tests/vorlane/game_root.h"
#include "tests/vorlane/vorlane_fixture.h"
#include "vorlane/tray_callback.h"
#include "vorlane/tray_icon_data.h"

namespace vorlane {
namespace {

using platform::notify::kAdd;
using platform::notify::kDelete;
using platform::notify::kModify;

TEST(TrayIconData, IsTheFirstVersionRecordByteForByte) {
  const platform::NotifyIconRecord record = MakeTrayIconData(0x12345678, 0x0A0B0C0D);
  platform::NotifyIconRecord expected{};
  const std::uint8_t head[24] = {88,   0,    0,    0,      // cbSize
                                 0x78, 0x56, 0x34, 0x12,   // hWnd
                                 1,    0,    0,    0,      // uID
                                 7,    0,    0,    0,      // uFlags
                                 0,    2,    0,    0,      // uCallbackMessage 512
                                 0x0D, 0x0C, 0x0B, 0x0A};  // hIcon
  std::copy(std::begin(head), std::end(head), expected.begin());
  const std::string tip = "Vorlane Virezeviz";
  std::copy(tip.begin(), tip.end(), expected.begin() + 24);
  expected[24 + tip.size()] = 0;
  for (std::size_t i = 24 + tip.size() + 1; i < 88; ++i) expected[i] = ' ';
  EXPECT_EQ(record, expected);
  EXPECT_EQ(record[87], ' ');
  EXPECT_TRUE(IsFilled(record));
  EXPECT_FALSE(IsFilled(platform::NotifyIconRecord{}));
}

TEST(CallbackMessage, ReadsTheMessageInEitherScaleUnitToTheNearestWholeNumber) {
  for (int message : {512, 513, 514, 515, 516, 517}) {
    EXPECT_EQ(CallbackMessage(message * 15.0, platform::kScaleTwips, 15), message);
    EXPECT_EQ(CallbackMessage(message * 12.0, platform::kScaleTwips, 12), message);
    EXPECT_EQ(CallbackMessage(message, platform::kScalePixels, 15), message);
  }
  EXPECT_EQ(CallbackMessage(514.4, platform::kScalePixels, 15), 514);
  EXPECT_EQ(CallbackMessage(514.6, platform::kScalePixels, 15), 515);
  EXPECT_EQ(CallbackMessage(514.5, platform::kScalePixels, 15), 514);  // halves go to even
  EXPECT_EQ(CallbackMessage(515.5, platform::kScalePixels, 15), 516);
  EXPECT_EQ(CallbackMessage(7717.0, platform::kScaleTwips, 15), 514);  // 514.47 pixels
  EXPECT_EQ(CallbackMessage(1e300, platform::kScalePixels, 15), 0);
  EXPECT_EQ(CallbackMessage(std::nan(""), platform::kScalePixels, 15), 0);
  EXPECT_EQ(CallbackMessage(7710.0, platform::kScaleTwips, 0), 0);
}

class TrayTest : public VorlaneTest {
 protected:
  void SetUp() override { StartWith("False", "False", "False"); }
  std::vector<std::string> EventsSince(std::size_t start) const {
    return {env.ui.events.begin() + static_cast<std::ptrdiff_t>(start), env.ui.events.end()};
  }
};

TEST_F(TrayTest, MinimisingHidesAndALeftClickOnTheIconRestores) {
  env.ui.Minimize(form);
  EXPECT_FALSE(form.visible());
  EXPECT_EQ(form.windowState(), platform::WindowState::kMinimized);

  const int foreground = env.ui.foregroundCount;
  for (int ignored : {512, 513, 516}) env.ui.NotifyCallback(form, ignored);
  EXPECT_FALSE(form.visible());
  EXPECT_EQ(env.ui.foregroundCount, foreground);
  EXPECT_TRUE(env.ui.popupsShown.empty());

  for (int restoring : {514, 515}) {
    const std::size_t start = env.ui.events.size();
    env.ui.NotifyCallback(form, restoring);
    EXPECT_TRUE(form.visible());
    EXPECT_EQ(form.windowState(), platform::WindowState::kNormal);
    EXPECT_EQ(EventsSince(start), (std::vector<std::string>{"foreground Form1", "show Form1"}));
    env.ui.Minimize(form);
  }
  // A double click delivers up, double click, up: each restores, the result is one restore.
  for (int message : {514, 515, 514}) env.ui.NotifyCallback(form, message);
  EXPECT_TRUE(form.visible());
  EXPECT_EQ(form.windowState(), platform::WindowState::kNormal);
  EXPECT_FALSE(env.runtime.ended());
}

TEST_F(VorlaneTest, WithoutItsIconTheWindowStaysOnTheScreenUntilTheIconIsInPlace) {
  Store("False", "False", "False");
  env.notificationArea.refuseAdds = 2;  // the load's add and the first try again
  Start();
  EXPECT_FALSE(env.notificationArea.iconShown);

  env.ui.Minimize(form);
  EXPECT_TRUE(form.visible());
  EXPECT_EQ(form.windowState(), platform::WindowState::kNormal);
  env.ui.Minimize(form);
  EXPECT_TRUE(env.notificationArea.iconShown);
  EXPECT_FALSE(form.visible());
  // The load's add, the first try's add and modify, the second try's add.
  EXPECT_EQ(IconMessages(), (std::vector{kAdd, kAdd, kModify, kAdd}));

  env.ui.NotifyCallback(form, 514);
  env.ui.Minimize(form);  // in place now: hidden at once, nothing asked of the shell
  EXPECT_FALSE(form.visible());
  EXPECT_EQ(IconMessages().size(), 4u);
}

TEST_F(TrayTest, ASecondCopyInTheSameFolderBringsThisOneBackOrSaysItHangsButOneElsewhereRuns) {
  using Vorlane = test_support::Program<platform::headless::PosixFileSystem, Module1, Form1>;
  // A second copy here ends at once, with nothing loaded, shown or saved.
  const auto startSecondCopy = [](Vorlane& second) {
    EXPECT_EQ(second.env.runtime.Run(second.form), 0);
    EXPECT_FALSE(second.form.loaded());
    EXPECT_TRUE(second.env.notificationArea.calls.empty());
    EXPECT_TRUE(second.env.settings.log().empty());
  };
  env.ui.Minimize(form);
  ASSERT_FALSE(form.visible());
  {
    Vorlane second("vorlane");
    startSecondCopy(second);
    EXPECT_TRUE(second.env.messageBox.shown().empty());
  }
  EXPECT_TRUE(form.visible());
  EXPECT_EQ(form.windowState(), platform::WindowState::kNormal);

  env.ui.Minimize(form);
  env.ui.answersLaterCopies = false;
  {
    Vorlane second("vorlane");
    second.env.messageBox.Expect(platform::box::kOk);
    startSecondCopy(second);
    EXPECT_EQ(second.env.messageBox.shown(),
              (expected::Boxes{{expected::HolderNotAnswering("vorlane"),
                                platform::box::kExclamation, "vorlane"}}));
  }
  EXPECT_FALSE(form.visible());

  test_support::TempWorkingFolder elsewhere;
  Vorlane other("vorlane", env.settings);
  other.Start();
  EXPECT_TRUE(other.form.visible());
}

TEST_F(TrayTest, ARightClickOffersThePopupWithoutShowingTheHiddenWindow) {
  env.ui.Minimize(form);
  const int foreground = env.ui.foregroundCount;
  EXPECT_EQ(Popup(), kOffersEnable);
  EXPECT_EQ(env.ui.foregroundCount, foreground + 1);
  EXPECT_FALSE(form.visible());
  EXPECT_EQ(folder.AllFiles(), gameFiles);
}

TEST_F(TrayTest, TheTrayCommandsSwitchAndSwapTheEntryOffered) {
  EXPECT_EQ(Popup("&Enable"), kOffersEnable);
  EXPECT_EQ(Installed(), Sets("Enable", "original", "original"));
  EXPECT_TRUE(form.Option2.value());
  EXPECT_EQ(Stored("mode"), "True");

  EXPECT_EQ(Popup("&Disable"), kOffersDisable);
  EXPECT_EQ(Installed(), Sets("Disable", "original", "original"));
  EXPECT_TRUE(form.Option1.value());
  EXPECT_EQ(Stored("mode"), "False");
  EXPECT_EQ(Popup(), kOffersEnable);
}

TEST_F(TrayTest, ExitRemovesTheIconAndEndsWithoutTheUnloadHandler) {
  Popup("Exit");
  EXPECT_TRUE(env.runtime.ended());
  EXPECT_EQ(env.runtime.exitCode(), 0);
  EXPECT_EQ(IconMessages(), (std::vector{kAdd, kDelete}));
  EXPECT_FALSE(env.notificationArea.iconShown);
  EXPECT_TRUE(form.loaded());  // nothing unloaded the window, so no second removal
}

TEST_F(TrayTest, ClosingTheWindowRemovesTheIcon) {
  env.ui.Close(form);
  EXPECT_FALSE(form.loaded());
  EXPECT_EQ(IconMessages(), (std::vector{kAdd, kDelete}));
  EXPECT_FALSE(env.notificationArea.iconShown);
}

TEST_F(TrayTest, ARestartedShellGetsTheIconBackAndNeverLeavesTheWindowOutOfReach) {
  // The shell still knows the icon: the add is refused and the icon is brought up to date.
  form.SystemShellRestarted();
  EXPECT_EQ(IconMessages(), (std::vector{kAdd, kAdd, kModify}));

  // A shell that lost it takes the same record again.
  env.notificationArea.iconShown = false;
  form.SystemShellRestarted();
  EXPECT_EQ(IconMessages(), (std::vector{kAdd, kAdd, kModify, kAdd}));
  EXPECT_TRUE(env.notificationArea.iconShown);

  // Hidden in the tray when a shell still starting refuses the icon: the window comes back,
  // and the next restart puts the icon in place again.
  env.ui.Minimize(form);
  EXPECT_FALSE(form.visible());
  env.notificationArea.iconShown = false;
  env.notificationArea.refuseAdds = 1;
  form.SystemShellRestarted();
  EXPECT_TRUE(form.visible());
  EXPECT_EQ(form.windowState(), platform::WindowState::kNormal);
  form.SystemShellRestarted();
  EXPECT_TRUE(env.notificationArea.iconShown);
  env.ui.Minimize(form);
  EXPECT_FALSE(form.visible());
}

}  // namespace
}  // namespace vorlane
