#pragma once
// The size of every preview picture as the previews' design gives it, in pixels: the pictures
// are built and shown at these sizes, never scaled.
#include <algorithm>
#include <array>

#include "resources/embedded_pictures.h"

namespace resources_tests {

struct PreviewSize {
  int width;
  int height;
};

// Crosshair n at [n - 1].
inline constexpr std::array<PreviewSize, resources::kCrosshairPreviewCount> kCrosshairSizes{{
    {92, 34}, {93, 35}, {94, 37}, {94, 31}, {93, 30}, {94, 35}, {94, 33},
    {94, 34}, {94, 35}, {94, 35}, {94, 35}, {94, 35}, {94, 35}, {94, 35},
    {94, 36}, {94, 36}, {94, 36}, {94, 40}, {94, 40}, {94, 40},
}};
// Reticle n at [n - 1].
inline constexpr std::array<PreviewSize, resources::kReticlePreviewCount> kReticleSizes{{
    {98, 38},
    {99, 34},
    {99, 33},
}};

// A preview the table forgot would stand there as {0, 0}.
constexpr bool EverySizeGiven(const auto& sizes) {
  return std::none_of(sizes.begin(), sizes.end(),
                      [](const PreviewSize& size) { return size.width == 0 || size.height == 0; });
}
static_assert(EverySizeGiven(kCrosshairSizes) && EverySizeGiven(kReticleSizes),
              "a size for every preview");

}  // namespace resources_tests
