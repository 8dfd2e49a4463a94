#include "tests/e2e/capture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "tests/e2e/wait.h"
#include "tests/e2e/windows_ui.h"

namespace e2e {

namespace {

// What `draw` leaves on a blank bitmap of `width` x `height`.
template <typename Draw>
std::optional<Image> Drawn(int width, int height, Draw draw) {
  if (width <= 0 || height <= 0) return std::nullopt;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};  // top-down
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = bitmap != nullptr ? SelectObject(memory, bitmap) : nullptr;
  std::optional<Image> image;
  if (bitmap != nullptr && draw(memory)) {
    GdiFlush();
    image = Image{width, height};
    const auto* bgrx = static_cast<const std::uint8_t*>(bits);
    for (std::size_t i = 0; i < static_cast<std::size_t>(width * height); ++i)
      image->pixels.push_back({bgrx[4 * i + 2], bgrx[4 * i + 1], bgrx[4 * i]});
  }
  if (old != nullptr) SelectObject(memory, old);
  if (bitmap != nullptr) DeleteObject(bitmap);
  DeleteDC(memory);
  return image;
}

}  // namespace

std::optional<Image> CaptureScreen(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  auto image = Drawn(width, height, [&](HDC memory) {
    return BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) != FALSE;
  });
  ReleaseDC(nullptr, screen);
  if (image) {
    image->left = area.left;
    image->top = area.top;
  }
  return image;
}

namespace {

// Whether every part of the window's inner area shows the window itself, not another window
// lying over it.
bool Uncovered(HWND window) {
  const RECT r = ClientRectOnScreen(window);
  for (POINT p : {POINT{r.left, r.top}, POINT{r.right - 1, r.top}, POINT{r.left, r.bottom - 1},
                  POINT{r.right - 1, r.bottom - 1}, Centre(r)}) {
    if (GetAncestor(WindowFromPoint(p), GA_ROOT) != window) return false;
  }
  return true;
}

// Wine's tray window stands where new windows go, and the X server may keep it above them
// whatever Wine's own window order says.
bool UnderWineTray(HWND window) {
  HWND tray = FindWindowA(nullptr, "Wine System Tray");
  RECT trayRect{};
  RECT windowRect{};
  RECT overlap{};
  return tray != nullptr && IsWindowVisible(tray) && GetWindowRect(tray, &trayRect) &&
         GetWindowRect(window, &windowRect) && IntersectRect(&overlap, &trayRect, &windowRect);
}

}  // namespace

std::optional<Image> CaptureWindow(HWND window) {
  if (UnderWineTray(window)) {
    SetWindowPos(window, nullptr, GetSystemMetrics(SM_CXSCREEN) / 3,
                 GetSystemMetrics(SM_CYSCREEN) / 3, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!WaitUntil([&] { return !UnderWineTray(window); })) return std::nullopt;
  }
  SetForegroundWindow(window);
  BringWindowToTop(window);
  if (!WaitUntil([&] { return Uncovered(window); })) return std::nullopt;
  // Away from the window, so that no control shows itself hovered.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  std::optional<Image> previous;
  std::optional<Image> current;
  WaitUntil(
      [&] {
        previous = std::move(current);
        current = CaptureScreen(ClientRectOnScreen(window));
        return previous && current && previous == current;
      },
      kTimeout, milliseconds(250));
  return current;
}

bool SaveBmp(const Image& image, const std::filesystem::path& file) {
  const int rowBytes = (image.width * 3 + 3) & ~3;
  const auto imageBytes = static_cast<DWORD>(rowBytes * image.height);
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  header.bfSize = header.bfOffBits + imageBytes;
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = image.width;
  info.biHeight = image.height;  // bottom-up
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = imageBytes;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  std::vector<char> row(static_cast<size_t>(rowBytes), 0);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb pixel = image.at(x, y);
      row[static_cast<size_t>(3 * x)] = static_cast<char>(pixel.blue);
      row[static_cast<size_t>(3 * x + 1)] = static_cast<char>(pixel.green);
      row[static_cast<size_t>(3 * x + 2)] = static_cast<char>(pixel.red);
    }
    out.write(row.data(), rowBytes);
  }
  return static_cast<bool>(out.flush());
}

std::optional<Image> DecodeBmp24(const unsigned char* bytes, size_t size) {
  BITMAPFILEHEADER file{};
  BITMAPINFO info{};
  if (size < sizeof file + sizeof info.bmiHeader) return std::nullopt;
  std::memcpy(&file, bytes, sizeof file);
  std::memcpy(&info.bmiHeader, bytes + sizeof file, sizeof info.bmiHeader);
  const BITMAPINFOHEADER& header = info.bmiHeader;
  const int width = header.biWidth;
  const int height = std::abs(header.biHeight);
  const auto rowBytes = static_cast<size_t>((width * 3 + 3) & ~3);
  if (file.bfType != 0x4D42 /* "BM" */ || header.biBitCount != 24 ||
      header.biCompression != BI_RGB || width <= 0 || file.bfOffBits + rowBytes * height > size)
    return std::nullopt;
  return Drawn(width, height, [&](HDC memory) {
    return SetDIBitsToDevice(memory, 0, 0, width, height, 0, 0, 0, height, bytes + file.bfOffBits,
                             &info, DIB_RGB_COLORS) != 0;
  });
}

bool ShowsPicture(const Image& image, const RECT& area, const Image& picture) {
  const int width = std::min<int>(picture.width, area.right - area.left);
  const int height = std::min<int>(picture.height, area.bottom - area.top);
  if (width <= 0 || height <= 0 || area.left < 0 || area.top < 0 ||
      area.left + width > image.width || area.top + height > image.height)
    return false;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (image.at(area.left + x, area.top + y) != picture.at(x, y)) return false;
    }
  }
  return true;
}

RECT AreaOf(const Image& image, HWND window) {
  RECT area = ClientRectOnScreen(window);
  OffsetRect(&area, -image.left, -image.top);
  return area;
}

int CountPixels(const Image& image, const RECT& area, Rgb colour) {
  int count = 0;
  for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, image.height); ++y) {
    for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, image.width); ++x) {
      if (image.at(x, y) == colour) ++count;
    }
  }
  return count;
}

}  // namespace e2e
