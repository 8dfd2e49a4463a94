#pragma once
// The per-user settings store in the registry: HKEY_CURRENT_USER\Software\VB and VBA Program
// Settings\<application>\<section>, one REG_SZ value per key. The registry itself matches names
// without regard to letter case.
#include <string>

#include "platform/services/settings_store.h"

namespace platform::win32 {

class RegistrySettingsStore : public SettingsStore {
 public:
  // A value of another type than REG_SZ, or a missing key or value, reads as the empty text.
  std::string Get(const std::string& application, const std::string& section,
                  const std::string& key) override;
  // Raises error 5 if the key cannot be created or the value not written.
  void Save(const std::string& application, const std::string& section, const std::string& key,
            const std::string& value) override;
  // RegFlushKey. A key that cannot be flushed is still written, later: not worth an error.
  void Flush(const std::string& application, const std::string& section) override;

  // The path below HKEY_CURRENT_USER of the key that holds an application's settings.
  static std::string ApplicationKeyPath(const std::string& application);
};

}  // namespace platform::win32
