#pragma once
// What a decoded picture holds on Windows: a device bitmap for BMP files, which GDI reads
// itself, or the OLE picture object for everything else.
#include "platform/picture.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// Takes ownership of `bitmap`; the picture's size is the bitmap's own.
PictureRef BitmapPicture(HBITMAP bitmap);

// Takes over the reference to `picture`, shown at `width` x `height` pixels.
PictureRef OlePicture(IPicture* picture, int width, int height);

// The bitmap an OLE picture holds, if it holds one (it stays the picture's); nullptr for any
// other kind. Drawn like ours, pixel for pixel.
HBITMAP BitmapOf(IPicture& picture);

// Draws `picture` at its own size with its top-left corner at (0, 0) of `dc`; whatever lies
// outside the DC's clipping region is cut off, nothing is scaled.
void PaintPicture(HDC dc, const Picture& picture);

}  // namespace platform::win32
