#include "platform/win32/ole_picture.h"

#include <cstring>

#include "platform/runtime_error.h"
#include "platform/win32/library_function.h"
#include "platform/win32/native_picture.h"
#include "platform/win32/system_session.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
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
      LibraryFunction<CreateStreamFunction>("ole32.dll", "CreateStreamOnHGlobal");
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
      LibraryFunction<LoadPictureFunction>("oleaut32.dll", "OleLoadPicture");
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

}  // namespace platform::win32
