#pragma once
// The image lists of the two windows, built from the pictures compiled into the program.
#include "platform/controls/picture.h"

namespace crosshairs {

// The choices, each with its option button, its preview and its archive folder.
inline constexpr int kCrosshairCount = 20;
inline constexpr int kReticleCount = 3;

// The crosshair previews: image n is crosshair n, keyed and tagged "cr<n>".
platform::ImageList CrosshairPreviewList(platform::UiBackend& ui);
// The reticle previews: image n is reticle n, keyed and tagged "rt<n>".
platform::ImageList ReticlePreviewList(platform::UiBackend& ui);
// The About window's pictures, without keys: 1 the portrait, 2 the emblem.
platform::ImageList AboutPictureList(platform::UiBackend& ui);

}  // namespace crosshairs
