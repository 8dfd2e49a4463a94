#include "tests/e2e/registry.h"

#include <windows.h>

namespace e2e {

bool DeleteUserKey(const std::string& key) {
  LSTATUS status = RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
  }
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) == ERROR_SUCCESS) {
    RegCloseKey(handle);
    return false;
  }
  return true;
}

bool WriteUserString(const std::string& key, const std::string& name, const std::string& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LSTATUS status =
      RegSetValueExA(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

std::optional<std::string> ReadUserString(const std::string& key, const std::string& name) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  DWORD type = 0;
  DWORD size = 0;
  std::optional<std::string> result;
  if (RegQueryValueExA(handle, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      type == REG_SZ) {
    std::string value(size, '\0');
    if (RegQueryValueExA(handle, name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(value.data()), &size) == ERROR_SUCCESS) {
      value.resize(size);
      while (!value.empty() && value.back() == '\0') value.pop_back();
      result = value;
    }
  }
  RegCloseKey(handle);
  return result;
}

}  // namespace e2e
