#include "platform/controls/picture.h"

#include "platform/controls/ui_backend.h"
#include "platform/services/runtime_error.h"

namespace platform {

ImageList::ImageList(UiBackend& backend, std::span<const Entry> entries) {
  images_.reserve(entries.size());
  for (const auto& entry : entries)
    images_.push_back({backend.DecodePicture(entry.bytes), entry.key, entry.tag});
}

const ImageList::Image& ImageList::At(int index) const {
  if (index < 1 || index > Count()) throw RuntimeError(error::kIndexOutOfBounds);
  return images_[static_cast<std::size_t>(index - 1)];
}

PictureRef ImageList::Picture(int index) const {
  return At(index).picture;
}

const std::string& ImageList::Key(int index) const {
  return At(index).key;
}

const std::string& ImageList::Tag(int index) const {
  return At(index).tag;
}

}  // namespace platform
