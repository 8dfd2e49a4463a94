#include "tests/support/temp_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace test_support {
namespace {

std::string Posix(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace

TempWorkingFolder::TempWorkingFolder() {
  previous_ = std::filesystem::current_path().string();
  std::string pattern = (std::filesystem::temp_directory_path() / "vl-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  std::filesystem::current_path(path_);
}

TempWorkingFolder::~TempWorkingFolder() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(path_, ignored);
}

void TempWorkingFolder::MakeFolder(const std::string& folder) {
  std::filesystem::create_directories(Posix(folder));
}

void TempWorkingFolder::Write(const std::string& file, const std::string& contents) {
  const std::filesystem::path target = Posix(file);
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path());
  std::ofstream(target, std::ios::binary | std::ios::trunc) << contents;
}

std::string TempWorkingFolder::Read(const std::string& file) const {
  std::ifstream in(Posix(file), std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

bool TempWorkingFolder::Exists(const std::string& file) const {
  return std::filesystem::exists(Posix(file));
}

void TempWorkingFolder::MakeReadOnly(const std::string& file) {
  ::chmod(Posix(file).c_str(), 0444);
}

std::vector<std::string> TempWorkingFolder::AllFiles() const {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path_))
    if (!entry.is_directory())
      files.push_back(std::filesystem::relative(entry.path(), path_).generic_string());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace test_support
