#include "platform/win32/windows_api.h"

#include "sample_pictures.h"

#include <stdexcept>

namespace test_support {

platform::PictureBytes SamplePicture(int resourceId) {
  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(resourceId), RT_RCDATA);
  if (found == nullptr) throw std::runtime_error("sample picture missing");
  const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(self, found)));
  return {data, SizeofResource(self, found)};
}

}  // namespace test_support
