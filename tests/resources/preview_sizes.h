#pragma once
// The size of every preview picture as the previews' design gives it, in pixels: the pictures
// are built and shown at these sizes, never scaled.
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

}  // namespace resources_tests
