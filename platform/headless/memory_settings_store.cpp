#include "platform/headless/memory_settings_store.h"

#include "platform/services/letter_case.h"
#include "platform/services/runtime_error.h"

namespace platform::headless {

std::string MemorySettingsStore::Fold(const std::string& application, const std::string& section,
                                      const std::string& key) {
  return FoldCase(application + '\\' + section + '\\' + key);
}

std::string MemorySettingsStore::Get(const std::string& application, const std::string& section,
                                     const std::string& key) {
  log_.push_back({false, application, section, key, {}});
  const auto found = values_.find(Fold(application, section, key));
  return found == values_.end() ? std::string() : found->second;
}

void MemorySettingsStore::Save(const std::string& application, const std::string& section,
                               const std::string& key, const std::string& value) {
  if (beforeWrite) beforeWrite();
  log_.push_back({true, application, section, key, value});
  if (failSaves_) throw RuntimeError(error::kInvalidCall);
  values_[Fold(application, section, key)] = value;
}

void MemorySettingsStore::Flush(const std::string& application, const std::string& section) {
  if (beforeWrite) beforeWrite();
  flushed.push_back(application + '\\' + section);
  MarkDurable();
}

void MemorySettingsStore::Erase(const std::string& application, const std::string& section,
                                const std::string& key) {
  values_.erase(Fold(application, section, key));
}

}  // namespace platform::headless
