#include "platform/picture.h"

#include "platform/runtime_error.h"
#include "platform/ui_backend.h"

namespace platform {

ImageList::ImageList(UiBackend& backend, std::span<const Entry> entries) {
  pictures_.reserve(entries.size());
  for (const auto& entry : entries) {
    pictures_.push_back(backend.DecodePicture(entry.bytes));
    keys_.push_back(entry.key);
  }
}

PictureRef ImageList::Picture(int index) const {
  if (index < 1 || index > Count()) throw RuntimeError(error::kIndexOutOfBounds);
  return pictures_[static_cast<std::size_t>(index - 1)];
}

const std::string& ImageList::Key(int index) const {
  if (index < 1 || index > Count()) throw RuntimeError(error::kIndexOutOfBounds);
  return keys_[static_cast<std::size_t>(index - 1)];
}

}  // namespace platform
