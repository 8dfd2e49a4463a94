#pragma once
// The size of every picture the programs show, in pixels, as their design gives it: the pictures
// are built and shown at these sizes, never scaled.
#include <algorithm>
#include <array>

#include "resources/embedded_pictures.h"

namespace resources_tests {

struct PictureSize {
  int width;
  int height;
};

// Crosshair n at [n - 1].
inline constexpr std::array<PictureSize, resources::kCrosshairPreviewCount> kCrosshairSizes{{
    {92, 34}, {93, 35}, {94, 37}, {94, 31}, {93, 30}, {94, 35}, {94, 33},
    {94, 34}, {94, 35}, {94, 35}, {94, 35}, {94, 35}, {94, 35}, {94, 35},
    {94, 36}, {94, 36}, {94, 36}, {94, 40}, {94, 40}, {94, 40},
}};
// Reticle n at [n - 1].
inline constexpr std::array<PictureSize, resources::kReticlePreviewCount> kReticleSizes{{
    {98, 38},
    {99, 34},
    {99, 33},
}};

// The About window's portrait and emblem, and the tray window's picture.
inline constexpr PictureSize kPortraitSize{60, 60};
inline constexpr PictureSize kEmblemSize{64, 64};
inline constexpr PictureSize kTraySize{125, 116};

// A preview the table forgot would stand there as {0, 0}.
constexpr bool EverySizeGiven(const auto& sizes) {
  return std::none_of(sizes.begin(), sizes.end(),
                      [](const PictureSize& size) { return size.width == 0 || size.height == 0; });
}
static_assert(EverySizeGiven(kCrosshairSizes) && EverySizeGiven(kReticleSizes),
              "a size for every preview");

}  // namespace resources_tests
