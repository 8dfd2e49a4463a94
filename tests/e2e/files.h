#pragma once
// Files the scenarios lay out and compare: a temporary folder of their own and the sample game
// folder that the programs work on.
#include <filesystem>
#include <optional>
#include <string>

namespace e2e {

namespace fs = std::filesystem;

// A new, empty folder under the user's temporary folder, removed with everything in it when the
// object goes away.
class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// The whole file as bytes; nothing if it cannot be read.
std::optional<std::string> ReadBytes(const fs::path& file);
bool WriteBytes(const fs::path& file, const std::string& bytes);

// A game's root folder as the programs expect it, with distinct contents in every file:
//   mods\bf1942|xpack1|xpack2\init.con              the game's configuration files
//   mods\vl1942\{bf,x1,x2}{m,p}.con                 the mod's Enable (m) and Disable (p) sets
//   mods\vl1942\cr\1..20\menu.rfa, rt\1..3\game.rfa  prepared crosshair and reticle archives
//   mods\vl1942\archives\menu.rfa, archives\bf1942\game.rfa   the mod's own archives
class GameFolder {
 public:
  // Lays the folder out at `root`, which must not exist yet or be empty.
  explicit GameFolder(fs::path root);

  const fs::path& root() const { return root_; }
  // Where crosshairs runs.
  fs::path modFolder() const { return root_ / "mods" / "vl1942"; }
  fs::path crosshairArchive(int n) const;
  fs::path reticleArchive(int n) const;
  fs::path menuArchive() const { return modFolder() / "archives" / "menu.rfa"; }
  fs::path gameArchive() const { return modFolder() / "archives" / "bf1942" / "game.rfa"; }
  // The game's configuration file of "bf1942", "xpack1" or "xpack2".
  fs::path initCon(const std::string& game) const;
  // A source of the mod's sets: `set` "bf", "x1" or "x2", `mode` 'm' (Enable) or 'p' (Disable).
  fs::path modeSource(const std::string& set, char mode) const;

  static std::string OriginalMenuArchive() { return "original menu archive\n"; }
  static std::string OriginalGameArchive() { return "original game archive\n"; }
  static std::string OriginalInitCon(const std::string& game);

 private:
  fs::path root_;
};

}  // namespace e2e
