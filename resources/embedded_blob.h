#pragma once
// How the picture groups answer for one of their files.
#include <string_view>

#include "resources/embedded_file.h"
#include "resources/embedded_pictures.h"

namespace resources::detail {

// The file called `name` among `files` as a Blob, or {nullptr, 0}.
inline Blob BlobOf(std::span<const EmbeddedFile> files, std::string_view name) {
  const EmbeddedFile* file = FindEmbeddedFile(files, name);
  return file == nullptr ? Blob{nullptr, 0} : Blob{file->data, file->size};
}

}  // namespace resources::detail
