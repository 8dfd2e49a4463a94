#pragma once

#include <string>
#include <vector>

#include "tests/resources/bmp_file.h"
#include "tests/resources/byte_reader.h"

namespace resources_tests {

// What a GIF file holds, as far as the pictures here need: the screen, the global table, every
// image's descriptor, the extensions that would add transparency or animation, and the decoded
// pixels of the first image.
struct GifFile {
  std::string signature;
  unsigned screen_width = 0, screen_height = 0;
  bool has_global_table = false;
  unsigned global_table_size_bits = 0;  // the table holds 2^(bits + 1) colours
  std::vector<Rgb> global_table;

  struct Image {
    unsigned left, top, width, height;
    bool interlaced, has_local_table;
    bool operator==(const Image&) const = default;
  };
  std::vector<Image> images;
  bool any_transparency = false;
  bool has_loop_extension = false;
  std::vector<unsigned> first_image_indices;
};

// Throws std::runtime_error (or std::out_of_range) on a malformed file.
GifFile ReadGif(ByteSpan file);

}  // namespace resources_tests
