#include "platform/win32/native_picture.h"

namespace platform::win32 {
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

}  // namespace platform::win32
