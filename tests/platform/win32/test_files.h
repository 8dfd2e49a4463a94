#pragma once
// Helpers of the Windows tests: a scratch folder as working directory, file contents, and the
// sample pictures built into the test program.
#include <string>

#include "platform/picture.h"

namespace platform::win32::test_support {

// A new empty folder under the temporary folder, made the working directory for the life of
// the object; removed with everything in it (read-only files included) afterwards.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

 private:
  std::string previous_;
  std::string path_;
};

// The names of the entries of `folder`, sorted and separated by spaces.
std::string ListFiles(const std::string& folder);
void WriteContents(const std::string& path, const std::string& contents);
std::string ReadContents(const std::string& path);
void MakeFolder(const std::string& path);
void SetReadOnly(const std::string& path, bool readOnly);
// `size` bytes of a pattern that differs from offset to offset, seeded by `seed`.
std::string PatternBytes(std::size_t size, unsigned seed);

// The bytes of a sample picture resource (see test_picture_ids.h).
PictureBytes SamplePicture(int resourceId);

}  // namespace platform::win32::test_support
