// The image lists hold the pictures in the order of the buttons that show them, as stored.
#include <gtest/gtest.h>

#include <utility>

#include "crosshairs/preview_lists.h"
#include "platform/headless/headless_ui.h"
#include "tests/platform/error_of.h"
#include "tests/resources/preview_sizes.h"

namespace crosshairs_tests {
namespace {

using Size = std::pair<int, int>;

Size SizeOf(const platform::PictureRef& picture) {
  return {picture->widthPixels(), picture->heightPixels()};
}

// Image n of `list` is picture n of `sizes` at its own size, keyed and tagged `prefix` n.
template <typename Sizes>
void ExpectNumberedList(const platform::ImageList& list, const Sizes& sizes,
                        const std::string& prefix) {
  ASSERT_EQ(list.Count(), static_cast<int>(sizes.size()));
  for (int n = 1; n <= list.Count(); ++n) {
    const auto& size = sizes[static_cast<std::size_t>(n - 1)];
    EXPECT_EQ(SizeOf(list.Picture(n)), Size(size.width, size.height)) << prefix << n;
    EXPECT_EQ(list.Key(n), prefix + std::to_string(n));
    EXPECT_EQ(list.Tag(n), list.Key(n));
  }
}

TEST(PreviewLists, CrosshairImagesComeInButtonOrderAtTheirOwnSizes) {
  platform::headless::HeadlessUi ui;
  ExpectNumberedList(crosshairs::CrosshairPreviewList(ui), resources_tests::kCrosshairSizes, "cr");
}

TEST(PreviewLists, ReticleImagesComeInButtonOrderAtTheirOwnSizes) {
  platform::headless::HeadlessUi ui;
  ExpectNumberedList(crosshairs::ReticlePreviewList(ui), resources_tests::kReticleSizes, "rt");
}

TEST(PreviewLists, AboutPicturesAreThePortraitThenTheUnscaledEmblem) {
  platform::headless::HeadlessUi ui;
  const auto list = crosshairs::AboutPictureList(ui);
  ASSERT_EQ(list.Count(), 2);
  using resources_tests::kEmblemSize;
  using resources_tests::kPortraitSize;
  EXPECT_EQ(SizeOf(list.Picture(1)), Size(kPortraitSize.width, kPortraitSize.height));
  EXPECT_EQ(SizeOf(list.Picture(2)), Size(kEmblemSize.width, kEmblemSize.height));
  EXPECT_EQ(list.Key(1), "");
  EXPECT_EQ(list.Tag(2), "");
}

TEST(PreviewLists, ReadingPastTheEndIsNotTheTypeMismatchTheLoadHandlerRetries) {
  platform::headless::HeadlessUi ui;
  const auto list = crosshairs::ReticlePreviewList(ui);
  const int number =
      test_support::ErrorOf([&] { list.Picture(crosshairs::kReticleCount + 1); }).number();
  EXPECT_NE(number, 0) << "an image past the end was read";
  EXPECT_NE(number, 13);
}

}  // namespace
}  // namespace crosshairs_tests
