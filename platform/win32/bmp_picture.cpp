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

  // A device bitmap of the screen's format, as the OLE picture object makes one.
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &bitmapInfo->bmiHeader, CBM_INIT, bytes.data() + pixelsAt,
                                  bitmapInfo, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

}  // namespace platform::win32
