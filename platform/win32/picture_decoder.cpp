#include "platform/win32/picture_decoder.h"

#include "platform/win32/bmp_picture.h"
#include "platform/win32/native_picture.h"
#include "platform/win32/ole_picture.h"

namespace platform::win32 {

PictureRef DecodePictureFile(PictureBytes bytes) {
  if (HBITMAP bitmap = DecodeBmpFile(bytes))
    if (PictureRef picture = BitmapPicture(bitmap)) return picture;
  return DecodeOlePicture(bytes);
}

}  // namespace platform::win32
