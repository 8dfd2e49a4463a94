#include "platform/headless/memory_settings_store.h"

#include <cctype>

#include "platform/runtime_error.h"

namespace platform::headless {

std::string MemorySettingsStore::Fold(const std::string& application, const std::string& section,
                                      const std::string& key) {
  std::string folded = application + '\\' + section + '\\' + key;
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

std::string MemorySettingsStore::Get(const std::string& application, const std::string& section,
                                     const std::string& key) {
  log_.push_back({false, application, section, key, {}});
  const auto found = values_.find(Fold(application, section, key));
  return found == values_.end() ? std::string() : found->second;
}

void MemorySettingsStore::Save(const std::string& application, const std::string& section,
                               const std::string& key, const std::string& value) {
  log_.push_back({true, application, section, key, value});
  if (failSaves_) throw RuntimeError(error::kInvalidCall);
  values_[Fold(application, section, key)] = value;
}

void MemorySettingsStore::Erase(const std::string& application, const std::string& section,
                                const std::string& key) {
  values_.erase(Fold(application, section, key));
}

}  // namespace platform::headless
