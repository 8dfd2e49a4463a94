#pragma once
// The sample pictures built into the Windows test program.
#include "platform/controls/picture.h"

namespace test_support {

// The bytes of a sample picture resource (see test_picture_ids.h).
platform::PictureBytes SamplePicture(int resourceId);

}  // namespace test_support
