#pragma once
// Pictures and image lists. A picture is decoded once, when the window that owns its list is
// created, and then shared by reference: showing it in a box hands over the reference.
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace platform {

class UiBackend;

// A decoded picture at its own size. `native` is the backend's decoded form (a bitmap handle
// on Windows); portable code never looks inside it.
class Picture {
 public:
  Picture(int widthPixels, int heightPixels, std::shared_ptr<void> native)
      : width_(widthPixels), height_(heightPixels), native_(std::move(native)) {}
  int widthPixels() const { return width_; }
  int heightPixels() const { return height_; }
  void* native() const { return native_.get(); }

 private:
  int width_;
  int height_;
  std::shared_ptr<void> native_;
};

using PictureRef = std::shared_ptr<const Picture>;

// The bytes of one picture file (BMP, JPEG or GIF) built into the program.
using PictureBytes = std::span<const unsigned char>;

// An ordered, read-only collection of pictures numbered from 1, each with the key and the tag
// its list's design gives it.
class ImageList {
 public:
  struct Entry {
    PictureBytes bytes;
    std::string key;
    std::string tag;
  };

  ImageList(UiBackend& backend, std::span<const Entry> entries);

  // The picture of image `index`, as stored; an index the list does not hold raises error
  // 35600 (never 13, which the load handlers answer with a retry).
  PictureRef Picture(int index) const;
  int Count() const { return static_cast<int>(images_.size()); }
  const std::string& Key(int index) const;
  const std::string& Tag(int index) const;

 private:
  struct Image {
    PictureRef picture;
    std::string key;
    std::string tag;
  };
  const Image& At(int index) const;

  std::vector<Image> images_;
};

}  // namespace platform
