// The selector window as real windows: every control a child window with its caption as
// window text, at its place in pixels, the two option groups exclusive, the menu bar's two
// entries. The settings and message boxes are the in-memory ones, so nothing outside is touched.
#include <gtest/gtest.h>

#include <string>

#include "crosshairs/form1.h"
#include "crosshairs/module1.h"
#include "platform/controls/runtime.h"
#include "platform/headless/memory_settings_store.h"
#include "platform/headless/recording_notification_area.h"
#include "platform/headless/scripted_message_box.h"
#include "platform/services/file_copier.h"
#include "platform/win32/controls/win32_ui.h"
#include "platform/win32/services/win32_file_system.h"
#include "platform/win32/system.h"
#include "platform/win32/windows_api.h"
#include "tests/support/windows_test_environment.h"

namespace crosshairs {
namespace {

class SelectorWindow : public ::testing::Test {
 protected:
  SelectorWindow() {
    env.settings.Save("Vorlane", "crosshair", "cr", "7");
    env.settings.Save("Vorlane", "crosshair", "rt", "2");
    form.Show();  // loads it, running its load handler, then shows it
  }
  ~SelectorWindow() override {
    if (form.loaded()) form.Unload();
  }

  static HWND Handle(const platform::Control& control) {
    return reinterpret_cast<HWND>(control.nativeHandle());
  }
  static std::string Text(HWND window) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
  }
  static bool Checked(const platform::Control& control) {
    return SendMessageA(Handle(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  static void Click(const platform::Control& control) {
    SendMessageA(Handle(control), BM_CLICK, 0, 0);
  }

  test_support::WindowsTestEnvironment env{"crosshairs"};
  Module1 module1{env.runtime};
  Form1 form{env.runtime, module1};
};

TEST_F(SelectorWindow, EveryControlIsAChildWindowWithItsCaptionAtItsPlace) {
  HWND window = reinterpret_cast<HWND>(form.windowHandle());
  ASSERT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(Text(window), "Sightora");
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 248);
  EXPECT_EQ(client.bottom, 406);

  int checkedControls = 0;
  const auto check = [&](const platform::Control& control, HWND container) {
    HWND child = Handle(control);
    ASSERT_NE(child, nullptr) << control.name();
    EXPECT_EQ(GetParent(child), container) << control.name();
    if (!control.caption().empty()) {
      EXPECT_EQ(Text(child), control.caption()) << control.name();
    }
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&place), 2);
    const auto& b = control.bounds();
    EXPECT_EQ(place.left, b.left / 15) << control.name();
    EXPECT_EQ(place.top, b.top / 15) << control.name();
    EXPECT_EQ(place.right - place.left, b.width / 15) << control.name();
    EXPECT_EQ(place.bottom - place.top, b.height / 15) << control.name();
    ++checkedControls;
  };
  for (const platform::Control* control : form.controls()) check(*control, window);
  for (const platform::Control* control : form.Frame1.controls())
    check(*control, Handle(form.Frame1));
  // On the window: 4 labels, 2 previews, an option and a thumbnail for each crosshair, the
  // frame; in the frame: an option and a thumbnail for each reticle.
  EXPECT_EQ(checkedControls,
            4 + 2 + 2 * crosshairs::kCrosshairCount + 1 + 2 * crosshairs::kReticleCount);

  // Spot checks against the layout as drawn: the third column and the frame's contents.
  EXPECT_EQ(Text(Handle(form.Option20)), "Option20");
  EXPECT_EQ(form.Option20.bounds().left / 15, 168);
  EXPECT_EQ(Text(Handle(form.rt3)), "rt3");
  EXPECT_EQ(Text(Handle(form.Frame1)), "Recticles");
}

TEST_F(SelectorWindow, TheSavedChoiceIsCheckedAndEachGroupIsExclusive) {
  EXPECT_TRUE(Checked(form.Option7));
  EXPECT_TRUE(Checked(form.rt2));

  Click(form.Option3);
  EXPECT_TRUE(Checked(form.Option3));
  EXPECT_FALSE(Checked(form.Option7));
  EXPECT_TRUE(Checked(form.rt2)) << "a crosshair click reached the reticle group";
  EXPECT_EQ(module1.CurrentCrosshair, "3");

  Click(form.rt1);
  EXPECT_TRUE(Checked(form.rt1));
  EXPECT_FALSE(Checked(form.rt2));
  EXPECT_TRUE(Checked(form.Option3)) << "a reticle click reached the crosshair group";
  EXPECT_EQ(module1.CurrentReticle, "1");
  EXPECT_EQ(form.Picture1.picture(), form.Picture5.picture());
}

TEST_F(SelectorWindow, TheFrameIsBlackInsideWhateverTheScreenHeldBefore) {
  HWND frame = Handle(form.Frame1);
  HWND groupBox = nullptr;  // the bottom-most child: it covers the whole frame
  for (HWND child = GetWindow(frame, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    groupBox = child;
  ASSERT_NE(groupBox, nullptr);
  RECT inside{};
  GetClientRect(groupBox, &inside);
  HDC dc = GetDC(groupBox);  // clipped to where the frame's controls do not lie
  FillRect(dc, &inside, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  RedrawWindow(frame, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // A strip between the reticle thumbnails and the frame's right edge, where nothing else draws.
  const int left = (form.Picture23.bounds().left + form.Picture23.bounds().width) / 15 + 2;
  int black = 0;
  int pixels = 0;
  for (int y = inside.bottom / 4; y < inside.bottom - 4; ++y) {
    for (int x = left; x < inside.right - 4; ++x, ++pixels)
      if (GetPixel(dc, x, y) == 0x000000) ++black;  // black
  }
  ReleaseDC(groupBox, dc);
  EXPECT_GT(pixels, 0);
  EXPECT_EQ(black, pixels);
}

TEST_F(SelectorWindow, TheMenuBarHoldsApplyThenAbout) {
  HMENU bar = GetMenu(reinterpret_cast<HWND>(form.windowHandle()));
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  char caption[32] = {};
  GetMenuStringA(bar, 0, caption, sizeof caption, MF_BYPOSITION);
  EXPECT_STREQ(caption, "Apply");
  GetMenuStringA(bar, 1, caption, sizeof caption, MF_BYPOSITION);
  EXPECT_STREQ(caption, "About");
  EXPECT_EQ(GetSubMenu(bar, 0), nullptr);
  EXPECT_EQ(GetSubMenu(bar, 1), nullptr);
}

}  // namespace
}  // namespace crosshairs
