#include "platform/win32/bmp_picture.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace platform::win32 {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::size_t kPixelsOffsetAt = 10;

std::uint32_t ReadUint32(PictureBytes bytes, std::size_t at) {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}

bool IsPlainBitCount(WORD bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// A 24-bit picture of at most 16 colours (the previews have two, black and green) kept at four
// bits a pixel with its own colour table, instead of at the screen's 32: an eighth of the
// memory, painted to the same pixels. nullptr when it has more colours.
HBITMAP FewColourBitmap(const BITMAPINFOHEADER& header, const unsigned char* pixels,
                        std::size_t rowBytes) {
  constexpr std::size_t kMaxColours = 16;
  const auto width = static_cast<std::size_t>(header.biWidth);
  const auto height = static_cast<std::size_t>(header.biHeight);
  const std::size_t packedRowBytes = (width * 4 + 31) / 32 * 4;
  std::vector<unsigned char> packed(packedRowBytes * height, 0);
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[kMaxColours];
  } info{};
  std::size_t colours = 0;
  for (std::size_t y = 0; y < height; ++y) {
    const unsigned char* row = pixels + rowBytes * y;
    for (std::size_t x = 0; x < width; ++x) {
      const RGBQUAD colour{row[3 * x], row[3 * x + 1], row[3 * x + 2], 0};
      std::size_t index = 0;
      while (index < colours && std::memcmp(&info.colours[index], &colour, sizeof colour) != 0)
        ++index;
      if (index == colours) {
        if (colours == kMaxColours) return nullptr;
        info.colours[colours++] = colour;
      }
      packed[packedRowBytes * y + x / 2] |=
          static_cast<unsigned char>(x % 2 == 0 ? index << 4 : index);
    }
  }
  info.header = header;
  info.header.biBitCount = 4;
  info.header.biSizeImage = 0;
  info.header.biClrUsed = static_cast<DWORD>(colours);
  info.header.biClrImportant = 0;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info),
                                    DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr) std::memcpy(bits, packed.data(), packed.size());
  return bitmap;
}

}  // namespace

HBITMAP DecodeBmpFile(PictureBytes bytes) {
  if (bytes.size() < kFileHeaderBytes + kInfoHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M')
    return nullptr;
  BITMAPINFOHEADER header{};
  std::memcpy(&header, bytes.data() + kFileHeaderBytes, sizeof header);
  if (header.biSize != kInfoHeaderBytes || header.biWidth <= 0 || header.biHeight <= 0 ||
      header.biPlanes != 1 || header.biCompression != BI_RGB || !IsPlainBitCount(header.biBitCount))
    return nullptr;

  // Up to 8 bits a pixel the colour table follows the header; above, any table is unused.
  const std::uint64_t fullTable = header.biBitCount <= 8 ? (1u << header.biBitCount) : 0;
  const std::uint64_t colours = header.biClrUsed != 0 ? header.biClrUsed : fullTable;
  if (header.biBitCount <= 8 && colours > fullTable) return nullptr;
  const std::uint64_t tableEnd = kFileHeaderBytes + kInfoHeaderBytes + colours * sizeof(RGBQUAD);
  const std::uint64_t pixelsAt = ReadUint32(bytes, kPixelsOffsetAt);
  const std::uint64_t rowBytes =
      (static_cast<std::uint64_t>(header.biWidth) * header.biBitCount + 31) / 32 * 4;
  const std::uint64_t pixelBytes = rowBytes * static_cast<std::uint64_t>(header.biHeight);
  if (pixelsAt < tableEnd || pixelsAt > bytes.size() || pixelBytes > bytes.size() - pixelsAt)
    return nullptr;

  // The header and its colour table, copied to aligned memory as BITMAPINFO wants them.
  const auto infoBytes = static_cast<std::size_t>(tableEnd - kFileHeaderBytes);
  std::vector<DWORD> info(infoBytes / sizeof(DWORD));
  std::memcpy(info.data(), bytes.data() + kFileHeaderBytes, info.size() * sizeof(DWORD));
  const auto* bitmapInfo = reinterpret_cast<const BITMAPINFO*>(info.data());

  if (header.biBitCount == 24)
    if (HBITMAP few =
            FewColourBitmap(header, bytes.data() + pixelsAt, static_cast<std::size_t>(rowBytes)))
      return few;
  // Otherwise a device bitmap of the screen's format, as the OLE picture object makes one.
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &bitmapInfo->bmiHeader, CBM_INIT, bytes.data() + pixelsAt,
                                  bitmapInfo, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

}  // namespace platform::win32
