#pragma once
// Settings kept in memory, with the store's rules: names matched without regard to case.
#include <functional>
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
  void Flush(const std::string& application, const std::string& section) override;

  // Removes a value, as if never saved.
  void Erase(const std::string& application, const std::string& section, const std::string& key);
  // Makes every later Save raise error 5, as a store that refuses to write.
  void FailSaves(bool fail) { failSaves_ = fail; }
  // Runs before every Save and Flush: a test may stop the program there.
  std::function<void()> beforeWrite;
  // What a power cut keeps: the values as they were at the last Flush, or at the last call of
  // MarkDurable, to which LoseUnflushed goes back.
  void MarkDurable() { durable_ = values_; }
  void LoseUnflushed() { values_ = durable_; }
  // The sections flushed, as "application\section", in order.
  std::vector<std::string> flushed;

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
  std::map<std::string, std::string> durable_;
  std::vector<Operation> log_;
  bool failSaves_ = false;
};

}  // namespace platform::headless
