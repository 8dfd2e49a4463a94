#include "platform/win32/controls/pictures.h"
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "platform/services/runtime_error.h"
#include "platform/win32/system.h"
#include "sample_pictures.h"
#include "tests/platform/error_of.h"

namespace platform::win32 {
namespace {

using test_support::SampleBmp;
using test_support::SampleGif;
using test_support::SampleJpeg;
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
using PictureFileTest = OlePictureTest;

// What is no picture raises 481 from either decoder.
void ExpectNoPictureRaises481(PictureRef (*decode)(PictureBytes)) {
  for (const std::vector<unsigned char>& bytes :
       {std::vector<unsigned char>{}, std::vector<unsigned char>{'B', 'M', 0, 0},
        std::vector<unsigned char>(100, 0x5A)}) {
    const RuntimeError error = test_support::ErrorOf([&] { decode(bytes); });
    EXPECT_EQ(error.number(), 481) << bytes.size() << " bytes decoded as a picture";
    EXPECT_STREQ(error.what(), "Invalid picture");
  }
}

TEST_F(OlePictureTest, DecodesEachFormatAtItsOwnSize) {
  for (const SamplePicture& sample : {SampleGif(), SampleJpeg(), SampleBmp()}) {
    const PictureRef picture = DecodeOlePicture(sample.bytes());
    EXPECT_EQ(picture->widthPixels(), sample.size.width);
    EXPECT_EQ(picture->heightPixels(), sample.size.height);
    EXPECT_NE(picture->native(), nullptr);
  }
}

TEST_F(OlePictureTest, WhatIsNoPictureRaises481) {
  ExpectNoPictureRaises481(DecodeOlePicture);
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

TEST_F(PictureFileTest, BmpFilesAreDecodedWithoutStartingOle) {
  // On a thread of its own, so that no other test's OLE is seen.
  bool oleAfterBmp = true;
  bool oleAfterGif = false;
  std::thread([&] {
    const SystemSession session;
    EXPECT_EQ(DecodePictureFile(SampleBmp().bytes())->widthPixels(), SampleBmp().size.width);
    oleAfterBmp = OleRunsOnThisThread();
    EXPECT_EQ(DecodePictureFile(SampleGif().bytes())->widthPixels(), SampleGif().size.width);
    oleAfterGif = OleRunsOnThisThread();
  }).join();
  EXPECT_FALSE(oleAfterBmp);
  EXPECT_TRUE(oleAfterGif);
}

TEST_F(PictureFileTest, ABmpFileShowsTheSamePixelsAsTheOleDecoderMakes) {
  const PictureBytes sample = SampleBmp().bytes();
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

  const std::vector<unsigned char> truncated(good.begin(), good.end() - 1);
  EXPECT_EQ(DecodeBmpFile(truncated), nullptr) << "truncated";
  struct Edit {
    std::size_t at;
    unsigned char value;
  };
  for (const std::vector<Edit>& edits : std::vector<std::vector<Edit>>{
           {{10, 0xF0}},  // the pixels beyond the end
           {{46, 2}},     // two colours used, but no room for their table before the pixels
           {{30, BI_RLE8}},
           {{22, 0xFD}, {23, 0xFF}, {24, 0xFF}, {25, 0xFF}},  // a negative height
           {{21, 0x7F}},                                      // a huge width
       }) {
    std::vector<unsigned char> broken = good;
    for (const Edit& edit : edits) broken[edit.at] = edit.value;
    EXPECT_EQ(DecodeBmpFile(broken), nullptr) << "byte " << edits[0].at;
  }
}

TEST_F(PictureFileTest, WhatIsNoPictureStillRaises481) {
  ExpectNoPictureRaises481(DecodePictureFile);
}

}  // namespace
}  // namespace platform::win32
