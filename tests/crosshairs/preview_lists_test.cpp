// The image lists hold the pictures in the order of the buttons that show them, as stored.
#include <gtest/gtest.h>

#include <utility>

#include "crosshairs/preview_lists.h"
#include "platform/headless/headless_ui.h"
#include "platform/runtime_error.h"

namespace crosshairs_tests {
namespace {

using Size = std::pair<int, int>;

Size SizeOf(const platform::PictureRef& picture) {
  return {picture->widthPixels(), picture->heightPixels()};
}

TEST(PreviewLists, CrosshairImagesComeInButtonOrderAtTheirOwnSizes) {
  platform::headless::HeadlessUi ui;
  const auto list = crosshairs::CrosshairPreviewList(ui);
  const Size sizes[] = {{92, 34}, {93, 35}, {94, 37}, {94, 31}, {93, 30}, {94, 35}, {94, 33},
                        {94, 34}, {94, 35}, {94, 35}, {94, 35}, {94, 35}, {94, 35}, {94, 35},
                        {94, 36}, {94, 36}, {94, 36}, {94, 40}, {94, 40}, {94, 40}};
  ASSERT_EQ(list.Count(), 20);
  for (int n = 1; n <= 20; ++n) {
    EXPECT_EQ(SizeOf(list.Picture(n)), sizes[n - 1]) << "image " << n;
    EXPECT_EQ(list.Key(n), "cr" + std::to_string(n));
  }
}

TEST(PreviewLists, ReticleImagesComeInButtonOrderAtTheirOwnSizes) {
  platform::headless::HeadlessUi ui;
  const auto list = crosshairs::ReticlePreviewList(ui);
  const Size sizes[] = {{98, 38}, {99, 34}, {99, 33}};
  ASSERT_EQ(list.Count(), 3);
  for (int n = 1; n <= 3; ++n) {
    EXPECT_EQ(SizeOf(list.Picture(n)), sizes[n - 1]) << "image " << n;
    EXPECT_EQ(list.Key(n), "rt" + std::to_string(n));
  }
}

TEST(PreviewLists, AboutPicturesAreThePortraitThenTheUnscaledEmblem) {
  platform::headless::HeadlessUi ui;
  const auto list = crosshairs::AboutPictureList(ui);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(SizeOf(list.Picture(1)), Size(60, 60));
  EXPECT_EQ(SizeOf(list.Picture(2)), Size(64, 64));
  EXPECT_EQ(list.Key(1), "");
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
