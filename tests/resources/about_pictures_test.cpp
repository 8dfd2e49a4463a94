#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/embedded_pictures.h"
#include "tests/resources/byte_reader.h"
#include "tests/resources/gif_file.h"
#include "tests/resources/preview_sizes.h"

namespace resources_tests {
namespace {

ByteSpan Bytes(resources::Blob blob) {
  return ByteSpan(blob.data, blob.size);
}

struct JpegSegment {
  unsigned marker;
  std::size_t body;  // offset of the segment's bytes after its length field
  std::size_t length;
};

// The segments from SOI up to and including the start of scan.
std::vector<JpegSegment> JpegHeaderSegments(ByteSpan file) {
  std::vector<JpegSegment> segments;
  std::size_t at = 0;
  while (true) {
    if (ByteAt(file, at) != 0xFF) throw std::runtime_error("expected a marker");
    const unsigned marker = ByteAt(file, at + 1);
    if (marker == 0xD8) {
      segments.push_back({marker, at + 2, 0});
      at += 2;
      continue;
    }
    const std::size_t length = Be16(file, at + 2);
    segments.push_back({marker, at + 4, length - 2});
    if (marker == 0xDA) return segments;
    at += 2 + length;
  }
}

TEST(AboutPortrait, IsABaselineJfif101JpegOfItsSizeWithHalfResolutionColour) {
  const ByteSpan file = Bytes(resources::AboutPortrait());
  ASSERT_GT(file.size(), 4u);
  const std::vector<JpegSegment> segments = JpegHeaderSegments(file);
  ASSERT_GE(segments.size(), 3u);
  EXPECT_EQ(segments[0].marker, 0xD8u);

  const JpegSegment& app0 = segments[1];
  ASSERT_EQ(app0.marker, 0xE0u);
  ASSERT_EQ(app0.length, 14u);
  EXPECT_EQ(std::string(file.begin() + app0.body, file.begin() + app0.body + 5),
            std::string("JFIF\0", 5));
  EXPECT_EQ(ByteAt(file, app0.body + 5), 1u) << "major version";
  EXPECT_EQ(ByteAt(file, app0.body + 6), 1u) << "minor version";
  EXPECT_EQ(ByteAt(file, app0.body + 7), 1u) << "density in dots per inch";
  EXPECT_EQ(Be16(file, app0.body + 8), 72u);
  EXPECT_EQ(Be16(file, app0.body + 10), 72u);

  int frames = 0;
  for (const JpegSegment& segment : segments) {
    const bool start_of_frame = segment.marker >= 0xC0 && segment.marker <= 0xCF &&
                                segment.marker != 0xC4 && segment.marker != 0xC8 &&
                                segment.marker != 0xCC;
    if (!start_of_frame) continue;
    ++frames;
    ASSERT_EQ(segment.marker, 0xC0u) << "only baseline frames decode everywhere";
    const std::size_t at = segment.body;
    EXPECT_EQ(ByteAt(file, at), 8u) << "bits per sample";
    EXPECT_EQ(Be16(file, at + 1), static_cast<unsigned>(kPortraitSize.height)) << "height";
    EXPECT_EQ(Be16(file, at + 3), static_cast<unsigned>(kPortraitSize.width)) << "width";
    ASSERT_EQ(ByteAt(file, at + 5), 3u) << "components";
    EXPECT_EQ(ByteAt(file, at + 7), 0x22u) << "Y sampling";
    EXPECT_EQ(ByteAt(file, at + 10), 0x11u) << "Cb sampling";
    EXPECT_EQ(ByteAt(file, at + 13), 0x11u) << "Cr sampling";
  }
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(segments.back().marker, 0xDAu);
  EXPECT_EQ(ByteAt(file, file.size() - 2), 0xFFu);
  EXPECT_EQ(ByteAt(file, file.size() - 1), 0xD9u) << "ends with EOI";
}

TEST(AboutEmblem, IsOneStillGifImageOfItsSizeWithA256ColourGlobalTable) {
  const GifFile gif = ReadGif(Bytes(resources::AboutEmblem()));
  const auto width = static_cast<unsigned>(kEmblemSize.width);
  const auto height = static_cast<unsigned>(kEmblemSize.height);
  EXPECT_EQ(gif.signature, "GIF89a");
  EXPECT_EQ(gif.screen_width, width);
  EXPECT_EQ(gif.screen_height, height);
  EXPECT_TRUE(gif.has_global_table);
  EXPECT_EQ(gif.global_table_size_bits, 7u);
  ASSERT_EQ(gif.global_table.size(), 256u);
  // One whole image, neither interlaced nor with a table of its own.
  EXPECT_EQ(gif.images, (std::vector<GifFile::Image>{{0, 0, width, height, false, false}}));
  EXPECT_FALSE(gif.any_transparency);
  EXPECT_FALSE(gif.has_loop_extension);

  // The image decodes to exactly its pixels, all green or black.
  ASSERT_EQ(gif.first_image_indices.size(), std::size_t{width} * height);
  bool any_bright = false;
  for (unsigned index : gif.first_image_indices) {
    const Rgb colour = gif.global_table.at(index);
    ASSERT_EQ(colour.red, 0u);
    ASSERT_EQ(colour.blue, 0u);
    any_bright = any_bright || colour.green > 200;
  }
  EXPECT_TRUE(any_bright);
}

}  // namespace
}  // namespace resources_tests
