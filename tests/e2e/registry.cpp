#include "tests/e2e/registry.h"

#include <windows.h>

#include <cstring>

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
  return RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_SZ, value.c_str(),
                         static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

std::optional<std::string> ReadUserString(const std::string& key, const std::string& name) {
  const auto read = [&](void* data, DWORD& size) {
    return RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, data,
                        &size) == ERROR_SUCCESS;
  };
  DWORD size = 0;
  if (!read(nullptr, size)) return std::nullopt;
  std::string value(size, '\0');
  if (!read(value.data(), size)) return std::nullopt;
  value.resize(std::strlen(value.c_str()));
  return value;
}

}  // namespace e2e
