#pragma once
// The per-user settings store: text values under application, section and key, all three
// names matched without regard to letter case.
#include <string>

namespace platform {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored text, or the empty text when there is none (there is no default to pass).
  virtual std::string Get(const std::string& application, const std::string& section,
                          const std::string& key) = 0;
  // Creates or overwrites the value; a store that refuses raises a runtime error.
  virtual void Save(const std::string& application, const std::string& section,
                    const std::string& key, const std::string& value) = 0;
  // Puts what has been saved in the section on the disk before it returns, where the store
  // would write it later, so that a power cut cannot take it back; raises a runtime error where
  // it cannot.
  virtual void Flush(const std::string& application, const std::string& section) = 0;
};

}  // namespace platform
