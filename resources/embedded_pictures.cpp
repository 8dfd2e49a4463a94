#include "resources/embedded_pictures.h"

#include <string>
#include <string_view>

#include "resources/picture_files.h"

namespace resources {
namespace {

Blob Find(std::string_view name) {
  for (const EmbeddedFile& file : detail::PictureFiles()) {
    if (file.name == name) return Blob{file.data, file.size};
  }
  return Blob{nullptr, 0};
}

Blob Numbered(std::string_view folder_and_prefix, int n, int count) {
  if (n < 1 || n > count) return Blob{nullptr, 0};
  return Find(std::string(folder_and_prefix) + std::to_string(n) + ".bmp");
}

}  // namespace

Blob CrosshairPreview(int n) {
  return Numbered("crosshairs/cr", n, kCrosshairPreviewCount);
}

Blob ReticlePreview(int n) {
  return Numbered("reticles/rt", n, kReticlePreviewCount);
}

Blob AboutPortrait() {
  return Find("about/portrait.jpg");
}

Blob AboutEmblem() {
  return Find("about/emblem.gif");
}

Blob TrayBitmap() {
  return Find("vorlane/tray.bmp");
}

}  // namespace resources
