#pragma once
// Screenshots of another program's windows, and the pixel questions the scenarios ask of them.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace e2e {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};
constexpr Rgb kBlackPixel{0, 0, 0};
constexpr Rgb kGreenPixel{0, 255, 0};

struct Image {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // rows top to bottom
  Rgb at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

// What the screen shows in `area` (screen coordinates).
std::optional<Image> CaptureScreen(const RECT& area);
// The inner area of `window` as shown on screen: brings the window to the front, then captures
// until two captures in a row agree, so that the window has finished drawing.
std::optional<Image> CaptureWindow(HWND window);
// A 24-bit bitmap file.
bool SaveBmp(const Image& image, const std::filesystem::path& file);

// A 24-bit uncompressed bitmap file held in memory; nothing if it is not one.
std::optional<Image> DecodeBmp24(const unsigned char* bytes, size_t size);
// Whether `image` shows `picture` with its top-left corner at `at`, as far as `area` (which
// holds `at`) lets it show: a picture larger than the area is cut off at the area's edges.
bool ShowsPicture(const Image& image, const RECT& area, const Image& picture);

// `area` in `image` coordinates: the part of `image` (captured at `origin` on screen) that
// `window`'s inner area covers.
RECT AreaOf(HWND window, POINT origin);
int CountPixels(const Image& image, const RECT& area, Rgb colour);
inline int PixelsIn(const RECT& area) {
  return (area.right - area.left) * (area.bottom - area.top);
}
// The `width` x `height` block of `image` with its top-left corner at `from`.
Image Crop(const Image& image, POINT from, int width, int height);
bool SamePixels(const Image& a, const Image& b);

}  // namespace e2e
