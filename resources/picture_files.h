#pragma once

#include "resources/embedded_file.h"

namespace resources::detail {

// The picture files under resources/, generated at build time from the files themselves. Each
// group is an object file of its own, so that a program links only the pictures it shows.
std::span<const EmbeddedFile> PreviewPictureFiles();  // crosshairs/ and reticles/
std::span<const EmbeddedFile> AboutPictureFiles();    // about/
std::span<const EmbeddedFile> TrayPictureFiles();     // vorlane/

}  // namespace resources::detail
