#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace resources {

// One file whose bytes were compiled into the program, named by its path relative to the
// folder it was embedded from (for example "crosshairs/cr7.bmp").
struct EmbeddedFile {
  std::string_view name;
  const unsigned char* data;
  std::size_t size;
};

// The file called `name` among `files`, or nullptr.
inline const EmbeddedFile* FindEmbeddedFile(std::span<const EmbeddedFile> files,
                                            std::string_view name) {
  for (const EmbeddedFile& file : files)
    if (file.name == name) return &file;
  return nullptr;
}

}  // namespace resources
