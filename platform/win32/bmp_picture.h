#pragma once
// BMP files decoded by GDI alone, so that showing them needs no OLE.
#include "platform/picture.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// A bitmap of the BMP file `bytes` that paints pixel for pixel as the OLE picture object's does
// (a 24-bit file of few colours is kept with a colour table of its own, to take less memory);
// nullptr for anything but an uncompressed, bottom-up BMP file with a 40-byte header whose
// pixels all lie within `bytes` (other files are left to the OLE decoder).
HBITMAP DecodeBmpFile(PictureBytes bytes);

}  // namespace platform::win32
