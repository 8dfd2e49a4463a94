#include "platform/win32/ole_picture.h"

#include <cstring>

#include "platform/runtime_error.h"

namespace platform::win32 {
namespace {

constexpr int kInvalidPicture = 481;
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

IStream* StreamOver(PictureBytes bytes) {
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
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  return stream;
}

HBITMAP BitmapOf(IPicture& picture) {
  SHORT type = PICTYPE_UNINITIALIZED;
  OLE_HANDLE handle = 0;
  if (FAILED(picture.get_Type(&type)) || type != PICTYPE_BITMAP ||
      FAILED(picture.get_Handle(&handle)))
    return nullptr;
  return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
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
  if (bytes.empty() || bytes.size() > 0x7FFFFFFF) throw RuntimeError(kInvalidPicture);
  ComRef<IStream> stream;
  *stream.out() = StreamOver(bytes);
  if (stream.get() == nullptr) throw RuntimeError(kInvalidPicture);

  ComRef<IPicture> picture;
  if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                            picture.outVoid())) ||
      picture.get() == nullptr)
    throw RuntimeError(kInvalidPicture);

  int width = 0;
  int height = 0;
  if (!PixelSize(*picture.get(), width, height)) throw RuntimeError(kInvalidPicture);

  std::shared_ptr<void> native(picture.Detach(),
                               [](void* held) { static_cast<IPicture*>(held)->Release(); });
  return std::make_shared<const Picture>(width, height, std::move(native));
}

void PaintPicture(HDC dc, const Picture& picture) {
  auto* ole = static_cast<IPicture*>(picture.native());
  if (ole == nullptr) return;
  const int width = picture.widthPixels();
  const int height = picture.heightPixels();
  if (HBITMAP bitmap = BitmapOf(*ole)) {
    // Copied pixel for pixel: the picture is shown exactly as stored.
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    return;
  }
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  ole->get_Width(&himetricWidth);
  ole->get_Height(&himetricHeight);
  // The source rectangle runs upwards from the bottom edge, in HIMETRIC.
  ole->Render(dc, 0, 0, width, height, 0, himetricHeight, himetricWidth, -himetricHeight, nullptr);
}

}  // namespace platform::win32
