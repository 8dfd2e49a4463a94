#include "tests/e2e/files.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tests/e2e/process.h"

namespace e2e {

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

std::string SampleBytes(const fs::path& file) {
  auto bytes = ReadBytes(file);
  if (!bytes) throw std::runtime_error("the sample game folder lacks " + file.string());
  return *bytes;
}

}  // namespace

const GameFolder& GameFolder::Sample() {
  static const GameFolder sample(
      [] {
        const char* folder = std::getenv("VL_SAMPLE_GAME");
        if (folder == nullptr) throw std::runtime_error("VL_SAMPLE_GAME is not set");
        return fs::path(ToWindowsPath(folder));
      }(),
      Existing{});
  return sample;
}

GameFolder::GameFolder(fs::path root) : root_(std::move(root)) {
  fs::copy(Sample().root(), root_, fs::copy_options::recursive);
}

std::string GameFolder::OriginalMenuArchive() {
  return SampleBytes(Sample().menuArchive());
}

std::string GameFolder::OriginalGameArchive() {
  return SampleBytes(Sample().gameArchive());
}

std::string GameFolder::Original(const std::string& relative) {
  return SampleBytes(Sample().file(relative));
}

fs::path GameFolder::crosshairArchive(int n) const {
  return modFolder() / "cr" / std::to_string(n) / "menu.rfa";
}

fs::path GameFolder::reticleArchive(int n) const {
  return modFolder() / "rt" / std::to_string(n) / "game.rfa";
}

}  // namespace e2e
