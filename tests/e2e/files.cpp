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

// The sample itself, as this program sees its folder.
const fs::path& Sample() {
  static const fs::path sample = [] {
    const char* folder = std::getenv("VL_SAMPLE_GAME");
    if (folder == nullptr) throw std::runtime_error("VL_SAMPLE_GAME is not set");
    return fs::path(ToWindowsPath(folder));
  }();
  return sample;
}

}  // namespace

GameFolder::GameFolder(fs::path root) : root_(std::move(root)) {
  fs::copy(Sample(), root_, fs::copy_options::recursive);
}

std::string GameFolder::Original(const std::string& relative) {
  auto bytes = ReadBytes(Sample() / relative);
  if (!bytes) throw std::runtime_error("the sample game folder lacks " + relative);
  return *bytes;
}

bool GameFolder::PutBackOriginal(const std::string& relative) const {
  std::error_code failure;
  fs::create_directories(file(relative).parent_path(), failure);
  return WriteBytes(file(relative), Original(relative));
}

}  // namespace e2e
