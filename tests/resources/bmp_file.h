#pragma once

#include "tests/resources/byte_reader.h"

namespace resources_tests {

struct Rgb {
  unsigned red, green, blue;
  bool operator==(const Rgb&) const = default;
};

// Checks a 24-bit, uncompressed, bottom-up BMP file without a colour table, of the given size.
void ExpectPlain24BitBmp(ByteSpan file, int width, int height);

// Pixel (x, y) of such a file, y counted from the top row.
Rgb PixelAt(ByteSpan file, int x, int y);

}  // namespace resources_tests
