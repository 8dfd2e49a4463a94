#pragma once
// Pictures decoded by the system's OLE picture object, which reads BMP, JPEG and GIF files.
#include "platform/picture.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// Decodes a picture file held in memory; raises error 481 (invalid picture) if it cannot.
PictureRef DecodeOlePicture(PictureBytes bytes);

// Draws `picture` at its own size with its top-left corner at (0, 0) of `dc`; whatever lies
// outside the DC's clipping region is cut off, nothing is scaled.
void PaintPicture(HDC dc, const Picture& picture);

}  // namespace platform::win32
