#include "crosshairs/preview_lists.h"

#include <string>
#include <vector>

#include "resources/embedded_pictures.h"

namespace crosshairs {

namespace {

platform::PictureBytes BytesOf(resources::Blob blob) {
  return {blob.data, blob.size};
}

platform::ImageList NumberedList(platform::UiBackend& ui, const std::string& prefix, int count,
                                 resources::Blob (*picture)(int)) {
  std::vector<platform::ImageList::Entry> entries;
  for (int n = 1; n <= count; ++n) {
    const std::string key = prefix + std::to_string(n);
    entries.push_back({BytesOf(picture(n)), key, key});
  }
  return platform::ImageList(ui, entries);
}

}  // namespace

platform::ImageList CrosshairPreviewList(platform::UiBackend& ui) {
  return NumberedList(ui, "cr", kCrosshairCount, &resources::CrosshairPreview);
}

platform::ImageList ReticlePreviewList(platform::UiBackend& ui) {
  return NumberedList(ui, "rt", kReticleCount, &resources::ReticlePreview);
}

platform::ImageList AboutPictureList(platform::UiBackend& ui) {
  const platform::ImageList::Entry entries[] = {
      {BytesOf(resources::AboutPortrait()), {}, {}},
      {BytesOf(resources::AboutEmblem()), {}, {}},
  };
  return platform::ImageList(ui, entries);
}

}  // namespace crosshairs
