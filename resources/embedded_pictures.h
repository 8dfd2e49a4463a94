#pragma once

#include <cstddef>

// The pictures the programs show, compiled into them as the bytes of their files; nothing is
// read from disk at run time.
namespace resources {

struct Blob {
  const unsigned char* data;
  std::size_t size;
};

inline constexpr int kCrosshairPreviewCount = 20;
inline constexpr int kReticlePreviewCount = 3;

// The BMP file of crosshair n (1..20), or {nullptr, 0} for any other n.
Blob CrosshairPreview(int n);
// The BMP file of reticle n (1..3), or {nullptr, 0} for any other n.
Blob ReticlePreview(int n);
// The About window's portrait, a 60 x 60 JPEG file.
Blob AboutPortrait();
// The About window's emblem, a 64 x 64 GIF file.
Blob AboutEmblem();
// The tray window's picture, a 125 x 116 24-bit BMP file.
Blob TrayBitmap();

}  // namespace resources
