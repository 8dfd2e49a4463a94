#include "tests/resources/bmp_file.h"

#include <gtest/gtest.h>

namespace resources_tests {
namespace {

std::size_t PaddedRowSize(const BmpHeaders& headers) {
  return (static_cast<std::size_t>(headers.width) * 3 + 3) / 4 * 4;
}

}  // namespace

BmpHeaders ReadBmpHeaders(ByteSpan file) {
  BmpHeaders h{};
  h.magic = {static_cast<char>(ByteAt(file, 0)), static_cast<char>(ByteAt(file, 1))};
  h.file_size = Le32(file, 2);
  h.reserved = Le32(file, 6);
  h.pixel_offset = Le32(file, 10);
  h.header_size = Le32(file, 14);
  h.width = LeSigned32(file, 18);
  h.height = LeSigned32(file, 22);
  h.planes = Le16(file, 26);
  h.bits_per_pixel = Le16(file, 28);
  h.compression = Le32(file, 30);
  h.image_size = Le32(file, 34);
  h.x_pixels_per_metre = LeSigned32(file, 38);
  h.y_pixels_per_metre = LeSigned32(file, 42);
  h.colours_used = Le32(file, 46);
  h.colours_important = Le32(file, 50);
  return h;
}

void ExpectPlain24BitBmp(ByteSpan file, int width, int height) {
  const BmpHeaders h = ReadBmpHeaders(file);
  EXPECT_EQ(h.magic, "BM");
  EXPECT_EQ(h.reserved, 0u);
  EXPECT_EQ(h.pixel_offset, 54u);
  EXPECT_EQ(h.header_size, 40u);
  EXPECT_EQ(h.width, width);
  EXPECT_EQ(h.height, height) << "a positive height means rows stored bottom-up";
  EXPECT_EQ(h.planes, 1u);
  EXPECT_EQ(h.bits_per_pixel, 24u);
  EXPECT_EQ(h.compression, 0u);
  EXPECT_EQ(h.x_pixels_per_metre, 0);
  EXPECT_EQ(h.y_pixels_per_metre, 0);
  EXPECT_EQ(h.colours_used, 0u);
  EXPECT_EQ(h.colours_important, 0u);
  const std::size_t pixel_bytes = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4 * height;
  EXPECT_EQ(h.image_size, pixel_bytes);
  EXPECT_EQ(h.file_size, 54 + pixel_bytes);
  EXPECT_EQ(file.size(), 54 + pixel_bytes);
}

Rgb PixelAt(ByteSpan file, int x, int y) {
  const BmpHeaders h = ReadBmpHeaders(file);
  if (x < 0 || x >= h.width || y < 0 || y >= h.height) throw std::out_of_range("pixel outside");
  const std::size_t row_from_bottom = static_cast<std::size_t>(h.height - 1 - y);
  const std::size_t at = h.pixel_offset + row_from_bottom * PaddedRowSize(h) + x * 3u;
  return Rgb{ByteAt(file, at + 2), ByteAt(file, at + 1), ByteAt(file, at)};
}

}  // namespace resources_tests
