#pragma once

#include <cstdint>
#include <string>

#include "tests/resources/byte_reader.h"

namespace resources_tests {

struct Rgb {
  unsigned red, green, blue;
  bool operator==(const Rgb&) const = default;
};

// The two headers of a BMP file, field by field.
struct BmpHeaders {
  std::string magic;
  std::uint32_t file_size, reserved, pixel_offset;
  std::uint32_t header_size;
  std::int32_t width, height;
  std::uint32_t planes, bits_per_pixel, compression, image_size;
  std::int32_t x_pixels_per_metre, y_pixels_per_metre;
  std::uint32_t colours_used, colours_important;
};

BmpHeaders ReadBmpHeaders(ByteSpan file);

// Checks a 24-bit, uncompressed, bottom-up BMP file without a colour table, of the given size.
void ExpectPlain24BitBmp(ByteSpan file, int width, int height);

// Pixel (x, y) of such a file, y counted from the top row.
Rgb PixelAt(ByteSpan file, int x, int y);

}  // namespace resources_tests
