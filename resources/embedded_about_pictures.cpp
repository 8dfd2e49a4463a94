#include "resources/embedded_blob.h"
#include "resources/embedded_pictures.h"
#include "resources/picture_files.h"

namespace resources {

Blob AboutPortrait() {
  return detail::BlobOf(detail::AboutPictureFiles(), "about/portrait.jpg");
}

Blob AboutEmblem() {
  return detail::BlobOf(detail::AboutPictureFiles(), "about/emblem.gif");
}

}  // namespace resources
