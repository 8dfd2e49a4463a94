#pragma once
// Settings kept in memory, with the store's rules: names matched without regard to case.
#include <map>
#include <string>
#include <vector>

#include "platform/services/settings_store.h"

namespace platform::headless {

class MemorySettingsStore : public SettingsStore {
 public:
  std::string Get(const std::string& application, const std::string& section,
                  const std::string& key) override;
  void Save(const std::string& application, const std::string& section, const std::string& key,
            const std::string& value) override;

  // Removes a value, as if never saved.
  void Erase(const std::string& application, const std::string& section, const std::string& key);
  // Makes every later Save raise error 5, as a store that refuses to write.
  void FailSaves(bool fail) { failSaves_ = fail; }

  struct Operation {
    bool isSave;
    std::string application, section, key, value;
    bool operator==(const Operation&) const = default;
  };
  // Every Get and Save in order, with the names as the program spelled them.
  const std::vector<Operation>& log() const { return log_; }
  void ClearLog() { log_.clear(); }

 private:
  static std::string Fold(const std::string& application, const std::string& section,
                          const std::string& key);
  std::map<std::string, std::string> values_;
  std::vector<Operation> log_;
  bool failSaves_ = false;
};

}  // namespace platform::headless
