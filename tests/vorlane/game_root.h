#pragma once
// A fresh game root as a switch finds it, laid out from the program's own copy table: each of
// the mod's prepared files holds "set <its name>" ("set bfm\n" in mods\vl1942\bfm.con), each of
// the game's files "old <its game>" ("old bf1942\r\n" in mods\bf1942\init.con).
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless/memory_settings_store.h"
#include "tests/support/temp_folder.h"
#include "vorlane/mode_switch.h"

namespace vorlane {

// "bfm" of "mods\vl1942\bfm.con".
inline std::string FileStem(std::string_view path) {
  const auto name = path.substr(path.find_last_of('\\') + 1);
  return std::string(name.substr(0, name.find('.')));
}

// "bf1942" of "mods\bf1942\init.con".
inline std::string FolderName(std::string_view path) {
  const auto folder = path.substr(0, path.find_last_of('\\'));
  return std::string(folder.substr(folder.find_last_of('\\') + 1));
}

// The first row of the copy table that `gate` lets take part.
inline const ModeCopy& Row(Gate gate) {
  for (const ModeCopy& row : kModeCopies)
    if (row.gate == gate) return row;
  throw std::logic_error("no row of that gate");
}

// "mods/bf1942/init.con" of "mods\bf1942\init.con", and its folder "mods/bf1942".
inline std::string NativePath(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}
inline std::string NativeFolder(std::string_view path) {
  return NativePath(std::string(path.substr(0, path.find_last_of('\\'))));
}

inline std::string PreparedContents(std::string_view source) {
  return "set " + FileStem(source) + "\n";
}

inline std::string OldContents(std::string_view destination) {
  return "old " + FolderName(destination) + "\r\n";
}

// The three choices as a previous run stored them; an empty text leaves one absent.
inline platform::headless::MemorySettingsStore Choices(const std::string& mode,
                                                       const std::string& rtr,
                                                       const std::string& sw) {
  platform::headless::MemorySettingsStore stored;
  for (const auto& [key, value] : {std::pair{"mode", mode}, {"rtr", rtr}, {"sw", sw}})
    if (!value.empty()) stored.Save("Vorlane", "setting", key, value);
  stored.ClearLog();
  return stored;
}

inline void LayOutGameRoot(const test_support::WorkingFolderFiles& files) {
  for (const ModeCopy& row : kModeCopies) {
    for (const char* source : {row.enableSource, row.disableSource})
      files.Write(source, PreparedContents(source));
    files.Write(row.destination, OldContents(row.destination));
  }
}

// What the game files of the copy table are to hold, in its order, by the gate of each row:
// `always`, `rtr` and `sw`, or `all` of them ("Enable", "Disable", "original", "missing").
inline std::vector<std::string> Sets(const std::string& always, const std::string& rtr,
                                     const std::string& sw) {
  std::vector<std::string> sets;
  for (const ModeCopy& row : kModeCopies)
    sets.push_back(row.gate == Gate::kAlways ? always : row.gate == Gate::kRtr ? rtr : sw);
  return sets;
}
inline std::vector<std::string> Sets(const std::string& all) {
  return Sets(all, all, all);
}

// What the game files of the copy table hold, in its order, as `read` reads a file (nothing
// where there is none): "Enable" or "Disable" where one holds that set's file, "original" where
// it holds `original(destination)`, "missing", or else its bytes.
template <typename Read, typename Original>
std::vector<std::string> InstalledSets(Read read, Original original) {
  std::vector<std::string> sets;
  for (const ModeCopy& row : kModeCopies) {
    const std::optional<std::string> bytes = read(row.destination);
    sets.push_back(!bytes                                ? "missing"
                   : bytes == read(row.enableSource)     ? "Enable"
                   : bytes == read(row.disableSource)    ? "Disable"
                   : *bytes == original(row.destination) ? "original"
                                                         : *bytes);
  }
  return sets;
}

// The same, as `folder` holds them, the game root's old contents being "original".
inline std::vector<std::string> InstalledSets(const test_support::WorkingFolderFiles& folder) {
  return InstalledSets(
      [&](const std::string& file) {
        return folder.Exists(file) ? std::optional(folder.Read(file)) : std::nullopt;
      },
      &OldContents);
}

// The folders of the copy table's files, each with its backslash.
inline std::vector<std::string> TableFolders() {
  std::vector<std::string> folders;
  for (const ModeCopy& row : kModeCopies) {
    for (const std::string_view file : {row.enableSource, row.disableSource, row.destination})
      folders.emplace_back(file.substr(0, file.find_last_of('\\') + 1));
  }
  return folders;
}

}  // namespace vorlane
