#pragma once
// Where the selector window's choices stand: each option button and the thumbnail beside it, in
// twips, and when Tab reaches them, within the window's client area. The window is laid out from
// these tables, and so is the benchmark's floor that shows the same window.
#include <iterator>

#include "crosshairs/preview_lists.h"
#include "platform/controls/control.h"

namespace crosshairs {

// The selector window's client area, in twips.
inline constexpr int kClientWidth = 3720;
inline constexpr int kClientHeight = 6090;

// Where each choice's option button and thumbnail stand (left, top, width, height in twips) and
// when Tab reaches them.
struct ChoiceLayout {
  platform::Bounds option;
  int optionTab;
  platform::Bounds thumbnail;
  int thumbnailTab;
};

// Crosshair k in row k: three columns of up to eight, numbered downwards, each button beside its
// thumbnail.
inline constexpr ChoiceLayout kCrosshairLayout[] = {
    {{120, 1440, 255, 255}, 1, {480, 1200, 615, 615}, 22},
    {{120, 2040, 255, 255}, 2, {480, 1800, 615, 615}, 23},
    {{120, 2640, 255, 255}, 3, {480, 2400, 615, 615}, 24},
    {{120, 3240, 255, 255}, 4, {480, 3000, 615, 615}, 25},
    {{120, 3840, 255, 255}, 5, {480, 3600, 615, 615}, 26},
    {{120, 4440, 255, 255}, 6, {480, 4200, 615, 615}, 27},
    {{120, 5040, 255, 255}, 7, {480, 4800, 615, 615}, 28},
    {{120, 5640, 255, 255}, 8, {480, 5400, 615, 615}, 29},
    {{1320, 1440, 255, 255}, 9, {1680, 1200, 615, 615}, 30},
    {{1320, 2040, 255, 255}, 10, {1680, 1800, 615, 615}, 31},
    {{1320, 2640, 255, 255}, 11, {1680, 2400, 615, 615}, 32},
    {{1320, 3240, 255, 255}, 12, {1680, 3000, 615, 615}, 33},
    {{1320, 3840, 255, 255}, 13, {1680, 3600, 615, 615}, 34},
    {{1320, 4440, 255, 255}, 14, {1680, 4200, 615, 615}, 35},
    {{1320, 5040, 255, 255}, 15, {1680, 4800, 615, 615}, 36},
    {{1320, 5640, 255, 255}, 16, {1680, 5400, 615, 615}, 37},
    {{2520, 1440, 255, 315}, 17, {2880, 1200, 615, 615}, 38},
    {{2520, 2040, 195, 255}, 18, {2880, 1800, 615, 615}, 39},
    {{2520, 2640, 255, 255}, 19, {2880, 2400, 615, 615}, 40},
    {{2520, 3240, 255, 255}, 20, {2880, 3000, 615, 615}, 41},
};
static_assert(std::size(kCrosshairLayout) == kCrosshairCount, "a place for every crosshair");

// Reticle k in row k, inside Frame1; Tab goes through the frame upwards.
inline constexpr ChoiceLayout kReticleLayout[] = {
    {{120, 480, 255, 255}, 49, {480, 240, 495, 615}, 46},
    {{120, 1080, 255, 255}, 48, {480, 840, 495, 615}, 45},
    {{120, 1680, 255, 195}, 47, {480, 1440, 495, 615}, 44},
};
static_assert(std::size(kReticleLayout) == kReticleCount, "a place for every reticle");

}  // namespace crosshairs
