#include "tests/e2e/capture.h"

#include <algorithm>
#include <fstream>

#include "tests/e2e/wait.h"
#include "tests/e2e/windows_ui.h"

namespace e2e {

std::optional<Image> CaptureScreen(const RECT& area) {
  Image image{area.right - area.left, area.bottom - area.top, {}, area.left, area.top};
  if (image.width <= 0 || image.height <= 0) return std::nullopt;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool copied = false;
  if (bitmap != nullptr) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    copied = BitBlt(memory, 0, 0, image.width, image.height, screen, area.left, area.top,
                    SRCCOPY) != FALSE;
    GdiFlush();
    SelectObject(memory, old);
    if (copied) {
      const auto* bgrx = static_cast<const std::uint8_t*>(bits);
      image.pixels.resize(static_cast<size_t>(image.width * image.height));
      for (size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = {bgrx[4 * i + 2], bgrx[4 * i + 1], bgrx[4 * i]};
      }
    }
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!copied) return std::nullopt;
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
  auto read32 = [&](size_t at) {
    return static_cast<std::int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                     static_cast<std::uint32_t>(bytes[at + 3]) << 24);
  };
  if (size < 54 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const auto offset = static_cast<size_t>(read32(10));
  Image image;
  image.width = read32(18);
  const std::int32_t height = read32(22);
  const bool bottomUp = height > 0;
  image.height = bottomUp ? height : -height;
  const int bitsPerPixel = bytes[28] | bytes[29] << 8;
  if (bitsPerPixel != 24 || read32(30) != 0 || image.width <= 0) return std::nullopt;
  const auto rowBytes = static_cast<size_t>((image.width * 3 + 3) & ~3);
  if (offset + rowBytes * static_cast<size_t>(image.height) > size) return std::nullopt;
  for (int y = 0; y < image.height; ++y) {
    const size_t row = offset + rowBytes * static_cast<size_t>(bottomUp ? image.height - 1 - y : y);
    for (int x = 0; x < image.width; ++x) {
      const unsigned char* bgr = bytes + row + 3 * static_cast<size_t>(x);
      image.pixels.push_back({bgr[2], bgr[1], bgr[0]});
    }
  }
  return image;
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
