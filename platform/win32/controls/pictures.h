#pragma once
// The pictures on Windows: decoding the picture files built into the programs, holding what a
// decoded picture is, and painting it. BMP files are decoded by GDI alone, so that a program
// showing only those never starts OLE; JPEG and GIF files by the system's OLE picture object,
// started on the thread with the first of them.
#include "platform/controls/picture.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// Decodes a picture file held in memory; raises error 481 (invalid picture) if it cannot.
PictureRef DecodePictureFile(PictureBytes bytes);

// Draws `picture` at its own size with its top-left corner at (0, 0) of `dc`; whatever lies
// outside the DC's clipping region is cut off, nothing is scaled.
void PaintPicture(HDC dc, const Picture& picture);

// --- the two decoders, on their own for the tests ---

// A bitmap of the BMP file `bytes` that paints pixel for pixel as the OLE picture object's does
// (a 24-bit file of few colours is kept with a colour table of its own, to take less memory);
// nullptr for anything but an uncompressed, bottom-up BMP file with a 40-byte header whose
// pixels all lie within `bytes` (other files are left to the OLE decoder).
HBITMAP DecodeBmpFile(PictureBytes bytes);
// Decodes with the OLE picture object alone; raises error 481 if it cannot.
PictureRef DecodeOlePicture(PictureBytes bytes);

// --- what a decoded picture holds: a device bitmap for BMP files, or the OLE picture object ---

// Takes ownership of `bitmap`; the picture's size is the bitmap's own.
PictureRef BitmapPicture(HBITMAP bitmap);
// Takes over the reference to `picture`, shown at `width` x `height` pixels.
PictureRef OlePicture(IPicture* picture, int width, int height);
// The bitmap an OLE picture holds, if it holds one (it stays the picture's); nullptr for any
// other kind. Drawn like ours, pixel for pixel.
HBITMAP BitmapOf(IPicture& picture);

}  // namespace platform::win32
