#pragma once
// Pictures decoded by the system's OLE picture object, which reads BMP, JPEG and GIF files.
// OLE is started on the thread with the first of them.
#include "platform/picture.h"

namespace platform::win32 {

// Decodes a picture file held in memory; raises error 481 (invalid picture) if it cannot.
PictureRef DecodeOlePicture(PictureBytes bytes);

}  // namespace platform::win32
