#include "platform/services/runtime_error.h"

namespace platform {

std::string ErrorDescription(int number) {
  switch (number) {
    case error::kInvalidCall:
      return "Invalid procedure call or argument";
    case error::kTypeMismatch:
      return "Type mismatch";
    case error::kFileNotFound:
      return "File not found";
    case error::kDiskFull:
      return "Disk full";
    case error::kPermissionDenied:
      return "Permission denied";
    case error::kPathFileAccess:
      return "Path/File access error";
    case error::kPathNotFound:
      return "Path not found";
    case error::kInvalidPicture:
      return "Invalid picture";
    case error::kIndexOutOfBounds:
      return "Index out of bounds";
    default:
      return "Application-defined or object-defined error";
  }
}

RuntimeError::RuntimeError(int number, std::string path)
    : std::runtime_error(ErrorDescription(number)), number_(number), path_(std::move(path)) {}

}  // namespace platform
