#pragma once
// The image lists of the two windows, built from the pictures compiled into the program.
#include "platform/controls/picture.h"
#include "resources/embedded_pictures.h"

namespace crosshairs {

// The choices, each with its option button, its preview and its archive folder: as many as
// there are previews built in.
inline constexpr int kCrosshairCount = resources::kCrosshairPreviewCount;
inline constexpr int kReticleCount = resources::kReticlePreviewCount;

// The crosshair previews: image n is crosshair n, keyed and tagged "cr<n>".
platform::ImageList CrosshairPreviewList(platform::UiBackend& ui);
// The reticle previews: image n is reticle n, keyed and tagged "rt<n>".
platform::ImageList ReticlePreviewList(platform::UiBackend& ui);
// The About window's pictures, without keys: 1 the portrait, 2 the emblem.
platform::ImageList AboutPictureList(platform::UiBackend& ui);

}  // namespace crosshairs
