#include "platform/win32/windows_api.h"

#include "platform/win32/ole_picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/runtime_error.h"
#include "platform/win32/system_session.h"
#include "test_files.h"
#include "test_picture_ids.h"

namespace platform::win32 {
namespace {

using test_support::SamplePicture;

// A bottom-up 24-bit BMP file of `width` x `height` whose pixel (x, y) has the colour
// PixelColour(x, y).
COLORREF PixelColour(int x, int y) {
  return static_cast<COLORREF>((x * 40) | (y * 60) << 8 | ((x + y) * 20) << 16);
}

std::vector<unsigned char> MakeBmp(int width, int height) {
  const int rowBytes = (width * 3 + 3) & ~3;
  const int pixelBytes = rowBytes * height;
  std::vector<unsigned char> file(54 + static_cast<std::size_t>(pixelBytes), 0);
  auto put = [&file](std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
      file[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(value >> (8 * i));
  };
  put(0, 'B' | 'M' << 8, 2);
  put(2, static_cast<std::uint32_t>(file.size()), 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<std::uint32_t>(width), 4);
  put(22, static_cast<std::uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  put(34, static_cast<std::uint32_t>(pixelBytes), 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF colour = PixelColour(x, y);
      const std::size_t at = 54 + static_cast<std::size_t>((height - 1 - y) * rowBytes + x * 3);
      file[at] = GetBValue(colour);
      file[at + 1] = GetGValue(colour);
      file[at + 2] = GetRValue(colour);
    }
  }
  return file;
}

class OlePictureTest : public ::testing::Test {
 protected:
  SystemSession session_;
};

TEST_F(OlePictureTest, DecodesEachFormatAtItsOwnSize) {
  const PictureRef gif = DecodeOlePicture(SamplePicture(VL_TEST_GIF));
  EXPECT_EQ(gif->widthPixels(), 64);
  EXPECT_EQ(gif->heightPixels(), 64);
  const PictureRef jpeg = DecodeOlePicture(SamplePicture(VL_TEST_JPEG));
  EXPECT_EQ(jpeg->widthPixels(), 60);
  EXPECT_EQ(jpeg->heightPixels(), 60);
  const PictureRef bmp = DecodeOlePicture(SamplePicture(VL_TEST_BMP));
  EXPECT_EQ(bmp->widthPixels(), 125);
  EXPECT_EQ(bmp->heightPixels(), 116);
  EXPECT_NE(bmp->native(), nullptr);
}

TEST_F(OlePictureTest, WhatIsNoPictureRaises481) {
  for (const std::vector<unsigned char>& bytes :
       {std::vector<unsigned char>{}, std::vector<unsigned char>{'B', 'M', 0, 0},
        std::vector<unsigned char>(100, 0x5A)}) {
    try {
      DecodeOlePicture(bytes);
      FAIL() << bytes.size() << " bytes decoded as a picture";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.number(), 481);
    }
  }
}

TEST_F(OlePictureTest, PaintsPixelForPixelAtTheTopLeftWithoutScaling) {
  const PictureRef picture = DecodeOlePicture(MakeBmp(5, 3));
  ASSERT_EQ(picture->widthPixels(), 5);
  ASSERT_EQ(picture->heightPixels(), 3);

  HDC screen = GetDC(nullptr);
  HDC canvas = CreateCompatibleDC(screen);
  HBITMAP surface = CreateCompatibleBitmap(screen, 12, 12);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(canvas, surface);
  const COLORREF background = 0x00123456;
  HBRUSH fill = CreateSolidBrush(background);
  const RECT all{0, 0, 12, 12};
  FillRect(canvas, &all, fill);
  DeleteObject(fill);

  PaintPicture(canvas, *picture);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      const COLORREF expected = x < 5 && y < 3 ? PixelColour(x, y) : background;
      EXPECT_EQ(GetPixel(canvas, x, y), expected) << "at " << x << ", " << y;
    }
  }
  SelectObject(canvas, previous);
  DeleteObject(surface);
  DeleteDC(canvas);
}

}  // namespace
}  // namespace platform::win32
