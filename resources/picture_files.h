#pragma once

#include "resources/embedded_file.h"

namespace resources::detail {

// Every picture file under resources/, generated at build time from the files themselves.
std::span<const EmbeddedFile> PictureFiles();

}  // namespace resources::detail
