#pragma once
// The per-user settings the programs keep, read and cleared directly in the registry.
#include <optional>
#include <string>

namespace e2e {

// Where both programs keep their sections under HKEY_CURRENT_USER.
inline const std::string kSettingsKey = "Software\\VB and VBA Program Settings\\Vorlane";

// Removes HKCU\`key` with everything below it; true if it is gone afterwards.
bool DeleteUserKey(const std::string& key);
// Writes a REG_SZ value, creating the key as needed.
bool WriteUserString(const std::string& key, const std::string& name, const std::string& value);
// The REG_SZ value `name` of HKCU\`key`; nothing if the key or value is absent or not REG_SZ.
std::optional<std::string> ReadUserString(const std::string& key, const std::string& name);

}  // namespace e2e
