#include <gtest/gtest.h>

#include <set>

#include "resources/embedded_pictures.h"
#include "tests/resources/bmp_file.h"
#include "tests/resources/icon_files.h"
#include "tests/resources/preview_sizes.h"

namespace resources_tests {
namespace {

TEST(TrayBitmap, IsATwentyFourBitBmpOfItsSize) {
  const resources::Blob blob = resources::TrayBitmap();
  const ByteSpan file(blob.data, blob.size);
  ExpectPlain24BitBmp(file, kTraySize.width, kTraySize.height);
  std::set<unsigned> colours;
  for (int y = 0; y < kTraySize.height; y += 4) {
    for (int x = 0; x < kTraySize.width; x += 4) {
      const Rgb pixel = PixelAt(file, x, y);
      colours.insert(pixel.red << 16 | pixel.green << 8 | pixel.blue);
    }
  }
  EXPECT_GT(colours.size(), 10u) << "looks blank";
}

TEST(AppIcon, HoldsA32And16PixelSixteenColourImageWithMasks) {
  ASSERT_EQ(IconFiles().size(), 1u);
  const ByteSpan file(IconFiles()[0].data, IconFiles()[0].size);
  EXPECT_EQ(Le16(file, 0), 0u);
  EXPECT_EQ(Le16(file, 2), 1u) << "type icon";
  ASSERT_EQ(Le16(file, 4), 2u) << "images";

  const std::size_t sizes[] = {32, 16};
  for (std::size_t i = 0; i < 2; ++i) {
    const std::size_t size = sizes[i];
    SCOPED_TRACE(size);
    const std::size_t entry = 6 + 16 * i;
    EXPECT_EQ(ByteAt(file, entry), size);
    EXPECT_EQ(ByteAt(file, entry + 1), size);
    EXPECT_EQ(ByteAt(file, entry + 2), 16u) << "colours";
    EXPECT_EQ(Le16(file, entry + 4), 1u) << "planes";
    EXPECT_EQ(Le16(file, entry + 6), 4u) << "bits per pixel";
    const std::size_t bytes = Le32(file, entry + 8);
    const std::size_t offset = Le32(file, entry + 12);
    ASSERT_LE(offset + bytes, file.size());

    EXPECT_EQ(Le32(file, offset), 40u) << "BITMAPINFOHEADER";
    EXPECT_EQ(LeSigned32(file, offset + 4), static_cast<int>(size));
    EXPECT_EQ(LeSigned32(file, offset + 8), static_cast<int>(2 * size)) << "colours and mask";
    EXPECT_EQ(Le16(file, offset + 12), 1u);
    EXPECT_EQ(Le16(file, offset + 14), 4u);
    EXPECT_EQ(Le32(file, offset + 16), 0u) << "uncompressed";
    const std::size_t colour_row = (size * 4 + 31) / 32 * 4;
    const std::size_t mask_row = (size + 31) / 32 * 4;
    EXPECT_EQ(bytes, 40 + 16 * 4 + (colour_row + mask_row) * size);

    // The mask leaves the wand and sparkles opaque and the rest transparent.
    const std::size_t mask = offset + 40 + std::size_t{16} * 4 + colour_row * size;
    std::size_t transparent = 0;
    for (std::size_t y = 0; y < size; ++y) {
      for (std::size_t x = 0; x < size; ++x) {
        transparent += (ByteAt(file, mask + y * mask_row + x / 8) >> (7 - x % 8)) & 1u;
      }
    }
    EXPECT_GT(transparent, size * size / 4);
    EXPECT_LT(transparent, size * size);
  }
}

}  // namespace
}  // namespace resources_tests
