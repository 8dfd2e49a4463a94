#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "crosshairs/choice_layout.h"
#include "resources/embedded_pictures.h"
#include "tests/resources/bmp_file.h"
#include "tests/resources/preview_sizes.h"

namespace resources_tests {
namespace {

enum class Kind { kCrosshair, kReticle };

struct Preview {
  Kind kind;
  int number;
  PictureSize size;
  // The box beside the preview's option button shows only this many columns from the left.
  int thumbnailWidth;

  std::string Name() const {
    return (kind == Kind::kCrosshair ? "crosshair " : "reticle ") + std::to_string(number);
  }
  ByteSpan Bytes() const {
    const resources::Blob blob = kind == Kind::kCrosshair ? resources::CrosshairPreview(number)
                                                          : resources::ReticlePreview(number);
    return ByteSpan(blob.data, blob.size);
  }
};

// Every preview with its size from the tests' table and its thumbnail's width from the layout.
std::vector<Preview> AllPreviews() {
  std::vector<Preview> all;
  for (std::size_t i = 0; i < kCrosshairSizes.size(); ++i)
    all.push_back({Kind::kCrosshair, static_cast<int>(i + 1), kCrosshairSizes[i],
                   crosshairs::kCrosshairLayout[i].thumbnail.width / 15});
  for (std::size_t i = 0; i < kReticleSizes.size(); ++i)
    all.push_back({Kind::kReticle, static_cast<int>(i + 1), kReticleSizes[i],
                   crosshairs::kReticleLayout[i].thumbnail.width / 15});
  return all;
}

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGreen{0, 255, 0};

// Columns left of this hold the shape; the number is drawn right of it.
constexpr int kShapeColumns = 37;

// Which pixels of a preview are green ('#') or black ('.'), row by row from the top; a pixel of
// any other colour shows as '?'.
std::vector<std::string> GreenMask(ByteSpan file, int width, int height) {
  std::vector<std::string> rows(height, std::string(width, '?'));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb pixel = PixelAt(file, x, y);
      if (pixel == kGreen || pixel == kBlack) rows[y][x] = pixel == kGreen ? '#' : '.';
    }
  }
  return rows;
}

struct ColumnSpan {
  int first = -1, last = -1;
  bool empty() const { return first < 0; }
  int width() const { return empty() ? 0 : last - first + 1; }
};

ColumnSpan GreenColumns(const std::vector<std::string>& mask, int from, int to) {
  ColumnSpan span;
  for (const std::string& row : mask) {
    for (int x = from; x < to && x < static_cast<int>(row.size()); ++x) {
      if (row[x] != '#') continue;
      if (span.empty() || x < span.first) span.first = x;
      span.last = std::max(span.last, x);
    }
  }
  return span;
}

// The shape alone, cut to its bounding box, so that shapes at different heights compare equal.
std::string CroppedShape(const std::vector<std::string>& mask) {
  const ColumnSpan columns = GreenColumns(mask, 0, kShapeColumns);
  std::string shape;
  for (const std::string& row : mask) {
    const std::string part = row.substr(columns.first, columns.width());
    if (part.find('#') != std::string::npos) shape += part + '\n';
  }
  return shape;
}

TEST(PreviewBitmaps, AreUncompressed24BitFilesOfTheirOwnSize) {
  for (const Preview& preview : AllPreviews()) {
    SCOPED_TRACE(preview.Name());
    ASSERT_NE(preview.Bytes().data(), nullptr);
    ExpectPlain24BitBmp(preview.Bytes(), preview.size.width, preview.size.height);
  }
}

TEST(PreviewBitmaps, ShowAGreenShapeOnTheLeftAndTheNumberToItsRight) {
  std::set<std::string> crosshair_shapes, reticle_shapes;
  for (const Preview& preview : AllPreviews()) {
    SCOPED_TRACE(preview.Name());
    const std::vector<std::string> mask =
        GreenMask(preview.Bytes(), preview.size.width, preview.size.height);
    for (const std::string& row : mask)
      ASSERT_EQ(row.find('?'), std::string::npos) << "a pixel neither black nor green: " << row;
    const ColumnSpan shape = GreenColumns(mask, 0, kShapeColumns);
    const ColumnSpan lettering = GreenColumns(mask, kShapeColumns, preview.size.width);
    ASSERT_FALSE(shape.empty());
    ASSERT_FALSE(lettering.empty());
    EXPECT_GE(shape.first, 2);
    EXPECT_LT(shape.last, preview.thumbnailWidth) << "the thumbnail would cut the shape";
    EXPECT_GE(lettering.first, 38);
    EXPECT_LE(lettering.first, 43);

    // "1-Default" is far wider than any number alone.
    if (preview.number == 1) {
      EXPECT_GE(lettering.width(), 40);
    } else {
      EXPECT_LE(lettering.width(), 12);
    }

    auto& shapes = preview.kind == Kind::kCrosshair ? crosshair_shapes : reticle_shapes;
    EXPECT_TRUE(shapes.insert(CroppedShape(mask)).second) << "looks the same as an earlier one:\n"
                                                          << CroppedShape(mask);
  }
}

TEST(PreviewBitmaps, NumbersOutsideTheListsGiveNoPicture) {
  for (int n : {-1, 0, resources::kCrosshairPreviewCount + 1, 1000}) {
    SCOPED_TRACE(n);
    EXPECT_EQ(resources::CrosshairPreview(n).data, nullptr);
    EXPECT_EQ(resources::CrosshairPreview(n).size, 0u);
  }
  for (int n : {-1, 0, resources::kReticlePreviewCount + 1}) {
    SCOPED_TRACE(n);
    EXPECT_EQ(resources::ReticlePreview(n).data, nullptr);
    EXPECT_EQ(resources::ReticlePreview(n).size, 0u);
  }
}

}  // namespace
}  // namespace resources_tests
