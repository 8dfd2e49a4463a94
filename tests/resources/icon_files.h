#pragma once

#include "resources/embedded_file.h"

namespace resources_tests {

// The shared window icon, embedded into the test program so that it runs from any directory.
std::span<const resources::EmbeddedFile> IconFiles();

}  // namespace resources_tests
