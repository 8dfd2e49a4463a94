#include "platform/win32/services/folder_identity.h"

#include <cstdio>
#include <vector>

#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

// The working folder is kept in Unicode: a folder whose name the ANSI code page cannot spell is
// still reached by "." and by the wide functions.
std::wstring WorkingFolderPath() {
  const DWORD size = GetCurrentDirectoryW(0, nullptr);
  if (size == 0) return {};
  std::vector<wchar_t> path(size);
  const DWORD length = GetCurrentDirectoryW(size, path.data());
  if (length == 0 || length >= size) return {};
  std::vector<wchar_t> longPath(32768);
  const DWORD longLength =
      GetLongPathNameW(path.data(), longPath.data(), static_cast<DWORD>(longPath.size()));
  if (longLength == 0 || longLength >= longPath.size()) return std::wstring(path.data(), length);
  return std::wstring(longPath.data(), longLength);
}

std::string PathIdentity() {
  std::wstring path = WorkingFolderPath();
  if (path.empty()) return {};
  CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
  const int size = WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), text.data(), size,
                      nullptr, nullptr);
  return "path:" + text;
}

}  // namespace

std::string WorkingFolderIdentity() {
  HANDLE folder = CreateFileW(L".", FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return {};
  BY_HANDLE_FILE_INFORMATION information{};
  const BOOL known = GetFileInformationByHandle(folder, &information);
  CloseHandle(folder);
  if (!known || (information.nFileIndexHigh == 0 && information.nFileIndexLow == 0))
    return PathIdentity();
  char identity[32];
  std::snprintf(identity, sizeof identity, "%08lx-%08lx%08lx",
                static_cast<unsigned long>(information.dwVolumeSerialNumber),
                static_cast<unsigned long>(information.nFileIndexHigh),
                static_cast<unsigned long>(information.nFileIndexLow));
  return identity;
}

}  // namespace platform::win32
