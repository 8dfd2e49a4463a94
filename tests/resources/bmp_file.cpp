#include "tests/resources/bmp_file.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace resources_tests {
namespace {

// The bytes of a row of pixels, padded to whole words.
std::size_t RowBytes(std::int64_t width) {
  return static_cast<std::size_t>(width * 3 + 3) / 4 * 4;
}

}  // namespace

void ExpectPlain24BitBmp(ByteSpan file, int width, int height) {
  EXPECT_EQ(ByteAt(file, 0), 'B');
  EXPECT_EQ(ByteAt(file, 1), 'M');
  const std::int64_t pixel_bytes = static_cast<std::int64_t>(RowBytes(width)) * height;
  // The two headers, field by field: where each stands, its bytes, and what it must hold.
  struct Field {
    std::size_t at;
    int bytes;
    std::int64_t value;
    const char* name;
  };
  for (const Field& field :
       {Field{2, 4, 54 + pixel_bytes, "file size"}, Field{6, 4, 0, "reserved"},
        Field{10, 4, 54, "pixel offset"}, Field{14, 4, 40, "header size"},
        Field{18, 4, width, "width"},
        Field{22, 4, height, "height: positive, so rows are stored bottom-up"},
        Field{26, 2, 1, "planes"}, Field{28, 2, 24, "bits per pixel"},
        Field{30, 4, 0, "compression"}, Field{34, 4, pixel_bytes, "image size"},
        Field{38, 4, 0, "horizontal pixels per metre"},
        Field{42, 4, 0, "vertical pixels per metre"}, Field{46, 4, 0, "colours used"},
        Field{50, 4, 0, "colours important"}}) {
    EXPECT_EQ(field.bytes == 2 ? Le16(file, field.at) : Le32(file, field.at), field.value)
        << field.name;
  }
  EXPECT_EQ(static_cast<std::int64_t>(file.size()), 54 + pixel_bytes);
}

Rgb PixelAt(ByteSpan file, int x, int y) {
  const std::int32_t width = LeSigned32(file, 18);
  const std::int32_t height = LeSigned32(file, 22);
  if (x < 0 || x >= width || y < 0 || y >= height) throw std::out_of_range("pixel outside");
  const std::size_t at = Le32(file, 10) +
                         static_cast<std::size_t>(height - 1 - y) * RowBytes(width) +
                         static_cast<std::size_t>(x) * 3;
  return Rgb{ByteAt(file, at + 2), ByteAt(file, at + 1), ByteAt(file, at)};
}

}  // namespace resources_tests
