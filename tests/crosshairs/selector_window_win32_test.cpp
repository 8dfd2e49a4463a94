// The selector window as real windows: every control a child window with its caption as
// window text, at its place in pixels, the two option groups exclusive, the menu bar's two
// entries. The settings and message boxes are the in-memory ones, so nothing outside is touched.
#include <gtest/gtest.h>

#include <string>

#include "crosshairs/choice_layout.h"
#include "crosshairs/form1.h"
#include "crosshairs/module1.h"
#include "platform/win32/windows_api.h"
#include "tests/platform/win32/window_probes.h"
#include "tests/support/windows_test_environment.h"

namespace crosshairs {
namespace {

using test_support::CheckState;
using test_support::TextOf;
using test_support::WindowOf;

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

  static bool Checked(const platform::Control& control) {
    return CheckState(control) == BST_CHECKED;
  }
  static void Click(const platform::Control& control) {
    SendMessageA(WindowOf(control), BM_CLICK, 0, 0);
  }

  test_support::WindowsTestEnvironment env{"crosshairs"};
  Module1 module1{env.runtime};
  Form1 form{env.runtime, module1};
};

TEST_F(SelectorWindow, EveryControlIsAChildWindowWithItsCaptionAtItsPlace) {
  HWND window = WindowOf(form);
  ASSERT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(TextOf(window), "Sightora");
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, form.design().clientWidth / 15);
  EXPECT_EQ(client.bottom, form.design().clientHeight / 15);

  // On the window: 4 labels, 2 previews, an option and a thumbnail for each crosshair, the
  // frame; in the frame: an option and a thumbnail for each reticle.
  EXPECT_EQ(form.controls().size(), 4 + 2 + 2 * kCrosshairCount + 1u);
  EXPECT_EQ(form.Frame1.controls().size(), 2u * kReticleCount);
  test_support::ExpectChildrenAtTheirPlaces(form, window);
  test_support::ExpectChildrenAtTheirPlaces(form.Frame1, WindowOf(form.Frame1));

  // Spot checks against the layout's table: the third column and the frame's contents.
  EXPECT_EQ(TextOf(WindowOf(form.Option20)), "Option20");
  EXPECT_TRUE(test_support::IsAt(WindowOf(form.Option20), kCrosshairLayout[20 - 1].option));
  EXPECT_EQ(TextOf(WindowOf(form.rt3)), "rt3");
  EXPECT_EQ(TextOf(WindowOf(form.Frame1)), "Recticles");
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
  EXPECT_EQ(form.Picture1.picture(),
            form.PictureNumbered(Form1::CrosshairThumbnailNumber(3)).picture());
}

TEST_F(SelectorWindow, TheFrameIsBlackInsideWhateverTheScreenHeldBefore) {
  HWND frame = WindowOf(form.Frame1);
  const std::vector<HWND> children = test_support::ChildrenTopFirst(frame);
  ASSERT_FALSE(children.empty());
  HWND groupBox = children.back();  // the bottom-most child: it covers the whole frame
  RECT inside{};
  GetClientRect(groupBox, &inside);
  HDC dc = GetDC(groupBox);  // clipped to where the frame's controls do not lie
  FillRect(dc, &inside, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  RedrawWindow(frame, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // A strip between the reticle thumbnails and the frame's right edge, where nothing else draws.
  const platform::Bounds& thumbnail = kReticleLayout[0].thumbnail;
  const int left = (thumbnail.left + thumbnail.width) / 15 + 2;
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
  HMENU bar = GetMenu(WindowOf(form));
  EXPECT_EQ(test_support::MenuBarCaptions(WindowOf(form)),
            (std::vector<std::string>{"Apply", "About"}));
  EXPECT_EQ(GetSubMenu(bar, 0), nullptr);
  EXPECT_EQ(GetSubMenu(bar, 1), nullptr);
}

}  // namespace
}  // namespace crosshairs
