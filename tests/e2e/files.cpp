#include "tests/e2e/files.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace e2e {

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  char base[MAX_PATH + 1] = {};
  GetTempPathA(sizeof base, base);
  for (;;) {
    path_ = fs::path(base) /
            ("vl-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++));
    std::error_code error;
    if (fs::create_directories(path_, error)) break;
  }
}

TempFolder::~TempFolder() {
  std::error_code error;
  fs::remove_all(path_, error);
}

std::optional<std::string> ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out.flush());
}

namespace {

void Write(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  if (!WriteBytes(file, bytes)) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace

GameFolder::GameFolder(fs::path root) : root_(std::move(root)) {
  for (int n = 1; n <= 20; ++n) {
    Write(crosshairArchive(n), "sample crosshair archive " + std::to_string(n) + "\n");
  }
  for (int n = 1; n <= 3; ++n) {
    Write(reticleArchive(n), "sample reticle archive " + std::to_string(n) + "\n");
  }
  Write(menuArchive(), OriginalMenuArchive());
  Write(gameArchive(), OriginalGameArchive());
  for (const char* set : {"bf", "x1", "x2"}) {
    Write(modeSource(set, 'm'), std::string("rem ") + set + ": Vorlane mode ENABLED\r\n");
    Write(modeSource(set, 'p'), std::string("rem ") + set + ": Vorlane mode DISABLED\r\n");
  }
  for (const char* game : {"bf1942", "xpack1", "xpack2"}) {
    Write(initCon(game), OriginalInitCon(game));
  }
}

fs::path GameFolder::crosshairArchive(int n) const {
  return modFolder() / "cr" / std::to_string(n) / "menu.rfa";
}

fs::path GameFolder::reticleArchive(int n) const {
  return modFolder() / "rt" / std::to_string(n) / "game.rfa";
}

fs::path GameFolder::initCon(const std::string& game) const {
  return root_ / "mods" / game / "init.con";
}

fs::path GameFolder::modeSource(const std::string& set, char mode) const {
  return modFolder() / (set + mode + ".con");
}

std::string GameFolder::OriginalInitCon(const std::string& game) {
  return "rem " + game + ": original init.con\r\n";
}

}  // namespace e2e
