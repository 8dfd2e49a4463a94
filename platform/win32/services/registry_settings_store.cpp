#include "platform/win32/services/registry_settings_store.h"

#include <algorithm>
#include <limits>

#include "platform/services/runtime_error.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

class OpenKey {
 public:
  OpenKey() = default;
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

std::string SectionKeyPath(const std::string& application, const std::string& section) {
  return RegistrySettingsStore::ApplicationKeyPath(application) + '\\' + section;
}

}  // namespace

std::string RegistrySettingsStore::ApplicationKeyPath(const std::string& application) {
  return "Software\\VB and VBA Program Settings\\" + application;
}

std::string RegistrySettingsStore::Get(const std::string& application, const std::string& section,
                                       const std::string& key) {
  OpenKey open;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionKeyPath(application, section).c_str(), 0,
                    KEY_QUERY_VALUE, open.out()) != ERROR_SUCCESS)
    return {};

  // The value may grow between the call that sizes it and the call that reads it: ask again
  // until the buffer holds all of it.
  std::string data(256, '\0');
  for (;;) {
    DWORD type = REG_NONE;
    auto size = static_cast<DWORD>(data.size());
    const LONG result = RegQueryValueExA(open.get(), key.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(data.data()), &size);
    if (result == ERROR_MORE_DATA) {
      data.resize(std::max<std::size_t>(size, data.size() * 2));
      continue;
    }
    if (result != ERROR_SUCCESS || type != REG_SZ) return {};
    // A string may be stored with or without its terminating NUL; the text ends at the first.
    data.resize(std::min<std::size_t>(size, data.size()));
    const auto nul = data.find('\0');
    if (nul != std::string::npos) data.resize(nul);
    return data;
  }
}

void RegistrySettingsStore::Save(const std::string& application, const std::string& section,
                                 const std::string& key, const std::string& value) {
  if (value.size() >= std::numeric_limits<DWORD>::max()) throw RuntimeError(error::kInvalidCall);
  OpenKey open;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, SectionKeyPath(application, section).c_str(), 0, nullptr,
                      REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, open.out(),
                      nullptr) != ERROR_SUCCESS)
    throw RuntimeError(error::kInvalidCall);
  if (RegSetValueExA(open.get(), key.c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
    throw RuntimeError(error::kInvalidCall);
}

// What goes with a switch is on the disk only once this returns: a store that cannot say so
// fails as a save does.
void RegistrySettingsStore::Flush(const std::string& application, const std::string& section) {
  OpenKey open;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionKeyPath(application, section).c_str(), 0,
                    KEY_QUERY_VALUE, open.out()) != ERROR_SUCCESS ||
      RegFlushKey(open.get()) != ERROR_SUCCESS)
    throw RuntimeError(error::kInvalidCall);
}

}  // namespace platform::win32
