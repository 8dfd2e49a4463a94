// The image lists hold the pictures in the order of the buttons that show them, as stored.
#include <gtest/gtest.h>

#include <utility>

#include "crosshairs/preview_lists.h"
#include "platform/headless/headless_ui.h"
#include "platform/services/runtime_error.h"
#include "tests/resources/preview_sizes.h"

namespace crosshairs_tests {
namespace {

using Size = std::pair<int, int>;

Size SizeOf(const platform::PictureRef& picture) {
  return {picture->widthPixels(), picture->heightPixels()};
}

template <typename Sizes>
Size Expected(const Sizes& sizes, int n) {
  const auto& size = sizes.at(static_cast<std::size_t>(n - 1));
  return {size.width, size.height};
}

TEST(PreviewLists, CrosshairImagesComeInButtonOrderAtTheirOwnSizes) {
  platform::headless::HeadlessUi ui;
  const auto list = crosshairs::CrosshairPreviewList(ui);
  ASSERT_EQ(list.Count(), 20);
  for (int n = 1; n <= 20; ++n) {
    EXPECT_EQ(SizeOf(list.Picture(n)), Expected(resources_tests::kCrosshairSizes, n))
        << "image " << n;
    EXPECT_EQ(list.Key(n), "cr" + std::to_string(n));
    EXPECT_EQ(list.Tag(n), list.Key(n));
  }
}

TEST(PreviewLists, ReticleImagesComeInButtonOrderAtTheirOwnSizes) {
  platform::headless::HeadlessUi ui;
  const auto list = crosshairs::ReticlePreviewList(ui);
  ASSERT_EQ(list.Count(), 3);
  for (int n = 1; n <= 3; ++n) {
    EXPECT_EQ(SizeOf(list.Picture(n)), Expected(resources_tests::kReticleSizes, n))
        << "image " << n;
    EXPECT_EQ(list.Key(n), "rt" + std::to_string(n));
    EXPECT_EQ(list.Tag(n), list.Key(n));
  }
}

TEST(PreviewLists, AboutPicturesAreThePortraitThenTheUnscaledEmblem) {
  platform::headless::HeadlessUi ui;
  const auto list = crosshairs::AboutPictureList(ui);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(SizeOf(list.Picture(1)), Size(60, 60));
  EXPECT_EQ(SizeOf(list.Picture(2)), Size(64, 64));
  EXPECT_EQ(list.Key(1), "");
  EXPECT_EQ(list.Tag(2), "");
}

TEST(PreviewLists, ReadingPastTheEndIsNotTheTypeMismatchTheLoadHandlerRetries) {
  platform::headless::HeadlessUi ui;
  const auto list = crosshairs::ReticlePreviewList(ui);
  try {
    list.Picture(4);
    FAIL() << "image 4 of 3 was read";
  } catch (const platform::RuntimeError& error) {
    EXPECT_NE(error.number(), 13);
  }
}

}  // namespace
}  // namespace crosshairs_tests
