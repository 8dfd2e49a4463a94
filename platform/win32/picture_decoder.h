#pragma once
// Decodes the pictures built into the programs: BMP files by GDI directly, so that a program
// showing only those never starts OLE, and everything else by the OLE picture object.
#include "platform/picture.h"

namespace platform::win32 {

// Decodes a picture file held in memory; raises error 481 (invalid picture) if it cannot.
PictureRef DecodePictureFile(PictureBytes bytes);

}  // namespace platform::win32
