// The About window: modal, loaded afresh at every opening, and blocking the selector window.
#include <gtest/gtest.h>

#include "crosshairs/form2.h"
#include "tests/crosshairs/crosshairs_fixture.h"
#include "tests/resources/preview_sizes.h"

namespace crosshairs_tests {
namespace {

using resources_tests::kEmblemSize;
using resources_tests::kPortraitSize;

class AboutTest : public CrosshairsTest {
 protected:
  void SetUp() override { StartWithSevenAndTwo(); }
};

TEST_F(AboutTest, OpensModalWithBothPicturesAtTheirOwnSize) {
  int opened = 0;
  env.ui.onModal = [&](platform::Form& window) {
    ++opened;
    auto& about = dynamic_cast<crosshairs::Form2&>(window);
    EXPECT_EQ(about.design().caption, "About");
    EXPECT_EQ(about.Image1.picture(), about.ImageList1.Picture(1));
    EXPECT_EQ(about.Image2.picture(), about.ImageList1.Picture(2));
    EXPECT_EQ(about.Image1.bounds(),
              (platform::Bounds{120, 120, kPortraitSize.width * 15, kPortraitSize.height * 15}));
    EXPECT_EQ(about.Image2.bounds(),
              (platform::Bounds{1320, 120, kEmblemSize.width * 15, kEmblemSize.height * 15}));
    EXPECT_TRUE(env.ui.IsBlocked(form));
  };
  env.ui.Click(form.Mabout);

  EXPECT_EQ(opened, 1);
  EXPECT_FALSE(env.ui.IsBlocked(form));
  EXPECT_EQ(env.ui.LoadedWindowCount(), 1u) << "closing unloads the About window";
}

TEST_F(AboutTest, LoadsAfreshEveryTimeItOpens) {
  int opened = 0;
  env.ui.onModal = [&](platform::Form& window) {
    ++opened;
    auto& about = dynamic_cast<crosshairs::Form2&>(window);
    EXPECT_NE(about.Image1.picture(), nullptr) << "opening " << opened;
    EXPECT_NE(about.Image2.picture(), nullptr) << "opening " << opened;
    env.ui.Close(about);
  };
  env.ui.Click(form.Mabout);
  env.ui.Click(form.Mabout);

  EXPECT_EQ(opened, 2);
  const std::vector<std::string> expected = {"create Form2", "modal Form2", "destroy Form2"};
  std::vector<std::string> aboutEvents;
  for (const auto& event : env.ui.events)
    if (event.ends_with("Form2")) aboutEvents.push_back(event);
  ASSERT_EQ(aboutEvents.size(), 6u);
  EXPECT_EQ(std::vector(aboutEvents.begin(), aboutEvents.begin() + 3), expected);
  EXPECT_EQ(std::vector(aboutEvents.begin() + 3, aboutEvents.end()), expected);
}

TEST_F(AboutTest, SelectorIgnoresClicksAndApplyWhileItIsOpen) {
  env.ui.onModal = [&](platform::Form&) {
    env.ui.Click(form.Option3);
    env.ui.Click(form.rt1);
    env.ui.Click(form.Mapply);  // would show a box, which the test has not scripted
    env.ui.Click(form.Mabout);
  };
  env.ui.Click(form.Mabout);

  EXPECT_EQ(module1.CurrentCrosshair, "7");
  EXPECT_EQ(module1.CurrentReticle, "2");
  EXPECT_TRUE(form.Option7.value());
  EXPECT_TRUE(boxes().empty());
  EXPECT_TRUE(env.settings.log().empty());

  // Once it is closed the selector works as before.
  env.ui.onModal = nullptr;
  env.ui.Click(form.Option3);
  EXPECT_EQ(module1.CurrentCrosshair, "3");
  EXPECT_EQ(form.Picture1.picture(), form.ILCR.Picture(3));
}

}  // namespace
}  // namespace crosshairs_tests
