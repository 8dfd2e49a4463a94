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

// The mod's folder below the game's root, where crosshairs runs.
inline constexpr char kModFolder[] = "mods\\vl1942";

// A game's root folder as the programs expect it, with distinct contents in every file: a copy
// of the sample game folder that scripts/sample-game-folder lays out (the one the demo and the
// benchmark use), made before the tests run in the folder the environment variable
// VL_SAMPLE_GAME names.
class GameFolder {
 public:
  // Copies the sample to `root`, which must not exist yet or be empty.
  explicit GameFolder(fs::path root);

  const fs::path& root() const { return root_; }
  fs::path modFolder() const { return file(kModFolder); }
  // A file by its path below the root, written with backslashes as the programs' tables write
  // their files.
  fs::path file(const std::string& relative) const { return root_ / relative; }

  // What the sample's file holds.
  static std::string Original(const std::string& relative);
  // Puts the sample's file back, and its folder where that is gone.
  bool PutBackOriginal(const std::string& relative) const;

 private:
  fs::path root_;
};

}  // namespace e2e
