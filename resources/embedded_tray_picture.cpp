#include "resources/embedded_blob.h"
#include "resources/embedded_pictures.h"
#include "resources/picture_files.h"

namespace resources {

Blob TrayBitmap() {
  return detail::BlobOf(detail::TrayPictureFiles(), "vorlane/tray.bmp");
}

}  // namespace resources
