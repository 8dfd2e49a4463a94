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
  int left = 0;             // where on screen it was captured
  int top = 0;
  Rgb at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
  bool operator==(const Image&) const = default;
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
// Whether `image` shows `picture` from the top-left corner of `area`, as far as `area` lets it
// show: a picture larger than the area is cut off at the area's edges.
bool ShowsPicture(const Image& image, const RECT& area, const Image& picture);

// The part of `image`, in its coordinates, that `window`'s inner area covers.
RECT AreaOf(const Image& image, HWND window);
int CountPixels(const Image& image, const RECT& area, Rgb colour);
inline int PixelsIn(const RECT& area) {
  return (area.right - area.left) * (area.bottom - area.top);
}

}  // namespace e2e
