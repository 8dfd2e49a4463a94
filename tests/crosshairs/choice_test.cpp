// Choosing in the selector window: the clicks, the two exclusive groups, and the layout that
// puts each button beside its thumbnail.
#include <gtest/gtest.h>

#include <set>

#include "tests/crosshairs/crosshairs_fixture.h"

namespace crosshairs_tests {
namespace {

using Numbers = std::vector<int>;

class ChoiceTest : public CrosshairsTest {
 protected:
  void SetUp() override {
    StartWithSevenAndTwo();
    for (int n = 1; n <= crosshairs::Form1::kPictureCount; ++n)
      atStart_.push_back(form.PictureNumbered(n).picture());
  }

  // Every picture but the one numbered `changed` shows what it showed at the start.
  void ExpectOnlyPictureChanged(int changed) {
    for (int n = 1; n <= crosshairs::Form1::kPictureCount; ++n) {
      if (n == changed) continue;
      EXPECT_EQ(form.PictureNumbered(n).picture(), atStart_[static_cast<size_t>(n - 1)])
          << "Picture" << n;
    }
  }

  std::vector<platform::PictureRef> atStart_;
};

TEST_F(ChoiceTest, CrosshairClicksChangeTheCrosshairPreviewAlone) {
  env.ui.Click(form.Option20);
  env.ui.Click(form.Option3);

  EXPECT_EQ(module1.CurrentCrosshair, "3");
  EXPECT_EQ(form.Picture1.picture(), form.ILCR.Picture(3));
  EXPECT_EQ(SelectedCrosshairs(), Numbers{3});
  EXPECT_EQ(module1.CurrentReticle, "2");
  EXPECT_EQ(SelectedReticles(), Numbers{2});
  ExpectOnlyPictureChanged(1);
  EXPECT_TRUE(env.settings.log().empty()) << "a click saves nothing";
}

TEST_F(ChoiceTest, ReticleClicksChangeTheReticlePreviewAlone) {
  env.ui.Click(form.rt3);

  EXPECT_EQ(module1.CurrentReticle, "3");
  EXPECT_EQ(form.Picture2.picture(), form.ILRT.Picture(3));
  EXPECT_EQ(SelectedReticles(), Numbers{3});
  EXPECT_EQ(SelectedCrosshairs(), Numbers{7});
  ExpectOnlyPictureChanged(2);
  EXPECT_TRUE(env.settings.log().empty());
}

TEST_F(ChoiceTest, EveryButtonShowsItsOwnImage) {
  for (int k = 1; k <= crosshairs::kCrosshairCount; ++k) {
    env.ui.Click(form.CrosshairOption(k));
    EXPECT_EQ(module1.CurrentCrosshair, std::to_string(k));
    EXPECT_EQ(form.Picture1.picture(),
              form.PictureNumbered(crosshairs::Form1::CrosshairThumbnailNumber(k)).picture())
        << k;
  }
  for (int k = 1; k <= crosshairs::kReticleCount; ++k) {
    env.ui.Click(form.ReticleOption(k));
    EXPECT_EQ(module1.CurrentReticle, std::to_string(k));
    EXPECT_EQ(form.Picture2.picture(),
              form.PictureNumbered(crosshairs::Form1::ReticleThumbnailNumber(k)).picture())
        << k;
  }
}

TEST(SelectorLayout, EachCrosshairButtonStandsBesideItsThumbnail) {
  test_support::TempWorkingFolder folder;
  platform::headless::HeadlessEnvironment<platform::headless::PosixFileSystem> env("crosshairs");
  crosshairs::Module1 module1(env.runtime);
  crosshairs::Form1 form(env.runtime, module1);

  for (int k = 1; k <= crosshairs::kCrosshairCount; ++k) {
    const auto& button = form.CrosshairOption(k).bounds();
    const auto& thumbnail =
        form.PictureNumbered(crosshairs::Form1::CrosshairThumbnailNumber(k)).bounds();
    EXPECT_EQ(button.left, thumbnail.left - 360) << k;
    EXPECT_EQ(button.top, thumbnail.top + 240) << k;
    EXPECT_EQ(form.CrosshairOption(k).caption(), "Option" + std::to_string(k));
  }
  // Three columns of eight, numbered downwards.
  EXPECT_EQ(form.Option9.bounds().top, form.Option1.bounds().top);
  EXPECT_EQ(form.Option20.bounds().top, form.Option4.bounds().top);

  // The reticle group lives in the frame, so it is exclusive apart from the crosshairs.
  for (int k = 1; k <= crosshairs::kReticleCount; ++k) {
    EXPECT_EQ(&form.ReticleOption(k).container(), &form.Frame1);
    EXPECT_EQ(&form.PictureNumbered(crosshairs::Form1::ReticleThumbnailNumber(k)).container(),
              &form.Frame1);
  }

  std::set<int> tabIndexes;
  std::size_t controls = 0;
  for (const platform::Container* container :
       {static_cast<const platform::Container*>(&form),
        static_cast<const platform::Container*>(&form.Frame1)}) {
    for (const platform::Control* control : container->controls()) {
      tabIndexes.insert(control->tabIndex());
      ++controls;
    }
  }
  EXPECT_EQ(tabIndexes.size(), controls) << "every control has a tab index of its own";
  // 4 labels, 2 previews and the frame, and an option and a thumbnail for each choice.
  EXPECT_EQ(controls, 4 + 2 + 1 + 2u * (crosshairs::kCrosshairCount + crosshairs::kReticleCount));
}

}  // namespace
}  // namespace crosshairs_tests
