#pragma once
// Files the scenarios lay out and compare: the sample game folder that the programs work on.
#include <filesystem>
#include <optional>
#include <string>

namespace e2e {

namespace fs = std::filesystem;

// The whole file as bytes; nothing if it cannot be read.
std::optional<std::string> ReadBytes(const fs::path& file);
bool WriteBytes(const fs::path& file, const std::string& bytes);

// A game's root folder as the programs expect it, with distinct contents in every file: a copy
// of the sample game folder that scripts/sample-game-folder lays out (the one the demo and the
// benchmark use), made before the tests run in the folder the environment variable
// VL_SAMPLE_GAME names.
class GameFolder {
 public:
  // Copies the sample to `root`, which must not exist yet or be empty.
  explicit GameFolder(fs::path root);

  const fs::path& root() const { return root_; }
  // Where crosshairs runs.
  fs::path modFolder() const { return root_ / "mods" / "vl1942"; }
  fs::path crosshairArchive(int n) const;
  fs::path reticleArchive(int n) const;
  fs::path menuArchive() const { return modFolder() / "archives" / "menu.rfa"; }
  fs::path gameArchive() const { return modFolder() / "archives" / "bf1942" / "game.rfa"; }
  // A file by its path below the root, written with backslashes as vorlane's copy table
  // writes its sources and destinations.
  fs::path file(const std::string& relative) const { return root_ / relative; }

  // What the sample's files hold.
  static std::string OriginalMenuArchive();
  static std::string OriginalGameArchive();
  static std::string Original(const std::string& relative);

 private:
  struct Existing {};
  GameFolder(fs::path root, Existing) : root_(std::move(root)) {}
  // The sample itself, as this program sees its folder.
  static const GameFolder& Sample();

  fs::path root_;
};

}  // namespace e2e
