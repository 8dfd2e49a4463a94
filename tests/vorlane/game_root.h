#pragma once
// A fresh game root as a switch finds it, laid out from the program's own copy table: each of
// the mod's prepared files holds "set <its name>" ("set bfm\n" in mods\vl1942\bfm.con), each of
// the game's files "old <its game>" ("old bf1942\r\n" in mods\bf1942\init.con).
#include <string>
#include <string_view>

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

inline std::string PreparedContents(std::string_view source) {
  return "set " + FileStem(source) + "\n";
}

inline std::string OldContents(std::string_view destination) {
  return "old " + FolderName(destination) + "\r\n";
}

inline void LayOutGameRoot(const test_support::WorkingFolderFiles& files) {
  for (const ModeCopy& row : kModeCopies) {
    for (const char* source : {row.enableSource, row.disableSource})
      files.Write(source, PreparedContents(source));
    files.Write(row.destination, OldContents(row.destination));
  }
}

}  // namespace vorlane
