#include "platform/win32/services/file_error_numbers.h"

#include "platform/services/runtime_error.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

bool IsDiskFullCode(unsigned long win32Code) {
  return win32Code == ERROR_DISK_FULL || win32Code == ERROR_HANDLE_DISK_FULL;
}

int FileErrorNumber(unsigned long win32Code) {
  switch (win32Code) {
    case ERROR_FILE_NOT_FOUND:
      return error::kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
      return error::kPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return error::kPermissionDenied;
    default:
      return IsDiskFullCode(win32Code) ? error::kDiskFull : error::kPathFileAccess;
  }
}

}  // namespace platform::win32
