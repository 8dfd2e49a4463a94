#include "platform/win32/controls/pictures.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/services/runtime_error.h"
#include "platform/win32/system.h"

namespace platform::win32 {

// --- what a decoded picture holds, and painting it ---

namespace {

// Exactly one of the two is set.
struct NativePicture {
  HBITMAP bitmap = nullptr;
  IPicture* ole = nullptr;

  NativePicture() = default;
  NativePicture(const NativePicture&) = delete;
  NativePicture& operator=(const NativePicture&) = delete;
  ~NativePicture() {
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (ole != nullptr) ole->Release();
  }
};

PictureRef Wrap(std::unique_ptr<NativePicture> native, int width, int height) {
  std::shared_ptr<void> held(native.release(),
                             [](void* p) { delete static_cast<NativePicture*>(p); });
  return std::make_shared<const Picture>(width, height, std::move(held));
}

void CopyBitmap(HDC dc, HBITMAP bitmap, int width, int height) {
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
}

}  // namespace

HBITMAP BitmapOf(IPicture& picture) {
  SHORT type = PICTYPE_UNINITIALIZED;
  OLE_HANDLE handle = 0;
  if (FAILED(picture.get_Type(&type)) || type != PICTYPE_BITMAP ||
      FAILED(picture.get_Handle(&handle)))
    return nullptr;
  return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

PictureRef BitmapPicture(HBITMAP bitmap) {
  auto native = std::make_unique<NativePicture>();
  native->bitmap = bitmap;
  BITMAP info{};
  if (GetObjectA(bitmap, sizeof info, &info) == 0) return nullptr;
  return Wrap(std::move(native), info.bmWidth, info.bmHeight);
}

PictureRef OlePicture(IPicture* picture, int width, int height) {
  auto native = std::make_unique<NativePicture>();
  native->ole = picture;
  return Wrap(std::move(native), width, height);
}

void PaintPicture(HDC dc, const Picture& picture) {
  const auto* native = static_cast<const NativePicture*>(picture.native());
  if (native == nullptr) return;
  const int width = picture.widthPixels();
  const int height = picture.heightPixels();
  if (native->bitmap != nullptr) {
    // Copied pixel for pixel: the picture is shown exactly as stored.
    CopyBitmap(dc, native->bitmap, width, height);
    return;
  }
  if (native->ole == nullptr) return;
  if (HBITMAP bitmap = BitmapOf(*native->ole)) {
    CopyBitmap(dc, bitmap, width, height);
    return;
  }
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  native->ole->get_Width(&himetricWidth);
  native->ole->get_Height(&himetricHeight);
  // The source rectangle runs upwards from the bottom edge, in HIMETRIC.
  native->ole->Render(dc, 0, 0, width, height, 0, himetricHeight, himetricWidth, -himetricHeight,
                      nullptr);
}

// --- BMP files, by GDI ---

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

// --- everything else, by the OLE picture object ---

namespace {

constexpr int kHimetricPerInch = 2540;

template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  Interface** out() { return &pointer_; }
  void** outVoid() { return reinterpret_cast<void**>(&pointer_); }
  Interface* get() const { return pointer_; }
  Interface* Detach() {
    Interface* pointer = pointer_;
    pointer_ = nullptr;
    return pointer;
  }

 private:
  Interface* pointer_ = nullptr;
};

using CreateStreamFunction = HRESULT(WINAPI*)(HGLOBAL, BOOL, IStream**);
using LoadPictureFunction = HRESULT(WINAPI*)(IStream*, LONG, BOOL, REFIID, void**);

IStream* StreamOver(PictureBytes bytes) {
  static const auto createStream =
      LibraryFunction<CreateStreamFunction>(L"ole32.dll", "CreateStreamOnHGlobal");
  if (createStream == nullptr) return nullptr;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (memory == nullptr) return nullptr;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(target, bytes.data(), bytes.size());
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(createStream(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  return stream;
}

int HimetricToPixels(OLE_XSIZE_HIMETRIC himetric, int dotsPerInch) {
  return MulDiv(static_cast<int>(himetric), dotsPerInch, kHimetricPerInch);
}

// The picture's size in pixels: a bitmap's own, anything else's from its extent at screen dpi.
bool PixelSize(IPicture& picture, int& width, int& height) {
  if (HBITMAP bitmap = BitmapOf(picture)) {
    BITMAP info{};
    if (GetObjectA(bitmap, sizeof info, &info) == 0) return false;
    width = info.bmWidth;
    height = info.bmHeight;
    return width > 0 && height > 0;
  }
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  if (FAILED(picture.get_Width(&himetricWidth)) || FAILED(picture.get_Height(&himetricHeight)))
    return false;
  HDC screen = GetDC(nullptr);
  width = HimetricToPixels(himetricWidth, GetDeviceCaps(screen, LOGPIXELSX));
  height = HimetricToPixels(himetricHeight, GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  return width > 0 && height > 0;
}

}  // namespace

PictureRef DecodeOlePicture(PictureBytes bytes) {
  if (bytes.empty() || bytes.size() > 0x7FFFFFFF) throw RuntimeError(error::kInvalidPicture);
  StartOle();
  ComRef<IStream> stream;
  *stream.out() = StreamOver(bytes);
  if (stream.get() == nullptr) throw RuntimeError(error::kInvalidPicture);

  static const auto loadPicture =
      LibraryFunction<LoadPictureFunction>(L"oleaut32.dll", "OleLoadPicture");
  ComRef<IPicture> picture;
  if (loadPicture == nullptr ||
      FAILED(loadPicture(stream.get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                         picture.outVoid())) ||
      picture.get() == nullptr)
    throw RuntimeError(error::kInvalidPicture);

  int width = 0;
  int height = 0;
  if (!PixelSize(*picture.get(), width, height)) throw RuntimeError(error::kInvalidPicture);

  return OlePicture(picture.Detach(), width, height);
}

// --- which decoder ---

PictureRef DecodePictureFile(PictureBytes bytes) {
  if (HBITMAP bitmap = DecodeBmpFile(bytes))
    if (PictureRef picture = BitmapPicture(bitmap)) return picture;
  return DecodeOlePicture(bytes);
}

}  // namespace platform::win32
