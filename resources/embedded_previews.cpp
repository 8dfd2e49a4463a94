#include <string>

#include "resources/embedded_blob.h"
#include "resources/embedded_pictures.h"
#include "resources/picture_files.h"

namespace resources {
namespace {

Blob Numbered(const std::string& folderAndPrefix, int n, int count) {
  if (n < 1 || n > count) return Blob{nullptr, 0};
  return detail::BlobOf(detail::PreviewPictureFiles(),
                        folderAndPrefix + std::to_string(n) + ".bmp");
}

}  // namespace

Blob CrosshairPreview(int n) {
  return Numbered("crosshairs/cr", n, kCrosshairPreviewCount);
}

Blob ReticlePreview(int n) {
  return Numbered("reticles/rt", n, kReticlePreviewCount);
}

}  // namespace resources
