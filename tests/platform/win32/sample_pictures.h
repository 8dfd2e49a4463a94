#pragma once
// The pictures the programs show, one of each format, as samples of a known size.
#include "platform/controls/picture.h"
#include "resources/embedded_pictures.h"
#include "tests/resources/preview_sizes.h"

namespace test_support {

struct SamplePicture {
  resources::Blob file;
  resources_tests::PictureSize size;
  platform::PictureBytes bytes() const { return {file.data, file.size}; }
};

inline SamplePicture SampleGif() {
  return {resources::AboutEmblem(), resources_tests::kEmblemSize};
}
inline SamplePicture SampleJpeg() {
  return {resources::AboutPortrait(), resources_tests::kPortraitSize};
}
inline SamplePicture SampleBmp() {
  return {resources::TrayBitmap(), resources_tests::kTraySize};
}

}  // namespace test_support
