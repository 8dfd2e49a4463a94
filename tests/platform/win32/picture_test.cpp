#include "platform/win32/controls/pictures.h"
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "platform/services/runtime_error.h"
#include "platform/win32/system.h"
#include "sample_pictures.h"
#include "test_picture_ids.h"

namespace platform::win32 {
namespace {

using test_support::SamplePicture;

// A bottom-up 24-bit BMP file of `width` x `height` whose pixel (x, y) has the colour
// colour(x, y): by default one of many, or one of the previews' two, or one of 16 or 17.
COLORREF PixelColour(int x, int y) {
  return static_cast<COLORREF>((x * 40) | (y * 60) << 8 | ((x + y) * 20) << 16);
}
COLORREF BlackOrGreen(int x, int y) {
  return (x * y) % 3 == 0 ? 0x0000FF00 : 0;
}
COLORREF SixteenColours(int x, int y) {
  return PixelColour((x + 4 * y) % 16, 0);
}
COLORREF SeventeenColours(int x, int y) {
  return PixelColour((x + 5 * y) % 17, 1);
}

std::vector<unsigned char> MakeBmp(int width, int height,
                                   COLORREF (*colour)(int x, int y) = PixelColour) {
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
      const COLORREF pixel = colour(x, y);
      const std::size_t at = 54 + static_cast<std::size_t>((height - 1 - y) * rowBytes + x * 3);
      file[at] = GetBValue(pixel);
      file[at + 1] = GetGValue(pixel);
      file[at + 2] = GetRValue(pixel);
    }
  }
  return file;
}

// A 12 x 12 memory canvas of the screen's format, filled with kBackground.
constexpr COLORREF kBackground = 0x00123456;

class Canvas {
 public:
  Canvas(int width, int height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    surface_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    previous_ = SelectObject(dc_, surface_);
    HBRUSH fill = CreateSolidBrush(kBackground);
    const RECT all{0, 0, width, height};
    FillRect(dc_, &all, fill);
    DeleteObject(fill);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(surface_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP surface_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// Whether OLE runs on the calling thread: a thread with OLE is single-threaded and refuses to
// become multi-threaded.
bool OleRunsOnThisThread() {
  const HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (SUCCEEDED(result)) CoUninitialize();
  return result == RPC_E_CHANGED_MODE;
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
      EXPECT_STREQ(error.what(), "Invalid picture");
    }
  }
}

TEST_F(OlePictureTest, PaintsPixelForPixelAtTheTopLeftWithoutScaling) {
  const PictureRef picture = DecodeOlePicture(MakeBmp(5, 3));
  ASSERT_EQ(picture->widthPixels(), 5);
  ASSERT_EQ(picture->heightPixels(), 3);

  const Canvas canvas(12, 12);
  PaintPicture(canvas.dc(), *picture);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      const COLORREF expected = x < 5 && y < 3 ? PixelColour(x, y) : kBackground;
      EXPECT_EQ(GetPixel(canvas.dc(), x, y), expected) << "at " << x << ", " << y;
    }
  }
}

class PictureFileTest : public ::testing::Test {
 protected:
  SystemSession session_;
};

TEST_F(PictureFileTest, BmpFilesAreDecodedWithoutStartingOle) {
  // On a thread of its own, so that no other test's OLE is seen.
  bool oleAfterBmp = true;
  bool oleAfterGif = false;
  std::thread([&] {
    const SystemSession session;
    const PictureRef bmp = DecodePictureFile(SamplePicture(VL_TEST_BMP));
    EXPECT_EQ(bmp->widthPixels(), 125);
    oleAfterBmp = OleRunsOnThisThread();
    const PictureRef gif = DecodePictureFile(SamplePicture(VL_TEST_GIF));
    EXPECT_EQ(gif->widthPixels(), 64);
    oleAfterGif = OleRunsOnThisThread();
  }).join();
  EXPECT_FALSE(oleAfterBmp);
  EXPECT_TRUE(oleAfterGif);
}

TEST_F(PictureFileTest, ABmpFileShowsTheSamePixelsAsTheOleDecoderMakes) {
  const PictureBytes sample = SamplePicture(VL_TEST_BMP);
  for (const std::vector<unsigned char>& file :
       {MakeBmp(5, 3), MakeBmp(1, 1), MakeBmp(7, 4), MakeBmp(7, 4, BlackOrGreen),
        MakeBmp(9, 5, SixteenColours), MakeBmp(9, 5, SeventeenColours),
        std::vector<unsigned char>(sample.begin(), sample.end())}) {
    const PictureRef ours = DecodePictureFile(file);
    const PictureRef ole = DecodeOlePicture(file);
    ASSERT_EQ(ours->widthPixels(), ole->widthPixels());
    ASSERT_EQ(ours->heightPixels(), ole->heightPixels());
    const int width = ole->widthPixels() + 2;
    const int height = ole->heightPixels() + 2;
    const Canvas oursCanvas(width, height);
    const Canvas oleCanvas(width, height);
    PaintPicture(oursCanvas.dc(), *ours);
    PaintPicture(oleCanvas.dc(), *ole);
    int differing = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (GetPixel(oursCanvas.dc(), x, y) != GetPixel(oleCanvas.dc(), x, y)) ++differing;
    EXPECT_EQ(differing, 0) << "in a picture of " << width - 2 << " x " << height - 2;
  }
}

TEST_F(PictureFileTest, APictureOfFewColoursTakesFourBitsAPixel) {
  HBITMAP bitmap = DecodeBmpFile(MakeBmp(94, 40, BlackOrGreen));
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  ASSERT_NE(GetObjectA(bitmap, sizeof info, &info), 0);
  EXPECT_EQ(info.bmBitsPixel, 4);
  DeleteObject(bitmap);
}

TEST_F(PictureFileTest, BmpFilesWhosePixelsOrTableDoNotFitAreLeftToOle) {
  const std::vector<unsigned char> good = MakeBmp(5, 3);
  HBITMAP reference = DecodeBmpFile(good);  // the cases below each break only one thing of it
  ASSERT_NE(reference, nullptr);
  DeleteObject(reference);

  std::vector<unsigned char> truncated = good;
  truncated.pop_back();
  std::vector<unsigned char> pixelsBeyondEnd = good;
  pixelsBeyondEnd[10] = 0xF0;
  std::vector<unsigned char> tableOverPixels = good;
  tableOverPixels[46] = 2;  // two colours used, but no room for their table before the pixels
  std::vector<unsigned char> compressed = good;
  compressed[30] = BI_RLE8;
  std::vector<unsigned char> topDown = good;
  topDown[25] = 0xFF;  // a negative height
  topDown[24] = 0xFF;
  topDown[23] = 0xFF;
  topDown[22] = 0xFD;
  std::vector<unsigned char> hugeWidth = good;
  hugeWidth[21] = 0x7F;
  const std::vector<unsigned char>* cases[] = {&truncated,  &pixelsBeyondEnd, &tableOverPixels,
                                               &compressed, &topDown,         &hugeWidth};
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(DecodeBmpFile(*cases[i]), nullptr) << "case " << i;
}

TEST_F(PictureFileTest, WhatIsNoPictureStillRaises481) {
  for (const std::vector<unsigned char>& bytes :
       {std::vector<unsigned char>{}, std::vector<unsigned char>{'B', 'M', 0, 0},
        std::vector<unsigned char>(100, 0x5A)}) {
    try {
      DecodePictureFile(bytes);
      FAIL() << bytes.size() << " bytes decoded as a picture";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.number(), 481);
      EXPECT_STREQ(error.what(), "Invalid picture");
    }
  }
}

}  // namespace
}  // namespace platform::win32
