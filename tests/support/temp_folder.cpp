#include "tests/support/temp_folder.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace test_support {
namespace fs = std::filesystem;
namespace {

fs::path Native(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

constexpr fs::perms kWrite = fs::perms::owner_write | fs::perms::group_write;

// A name no other test program running at the same time picks: the folder is made only if it
// did not exist, and another name is tried if it did.
fs::path MakeFreshFolder() {
  static unsigned long long next =
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  const fs::path temp = fs::temp_directory_path();
  for (int attempt = 0; attempt < 1000; ++attempt) {
    fs::path folder = temp / ("vl-test-" + std::to_string(next++));
    if (fs::create_directory(folder)) return folder;
  }
  throw std::runtime_error("cannot make a temporary folder in " + temp.string());
}

}  // namespace

void WorkingFolderFiles::MakeFolder(const std::string& folder) const {
  fs::create_directories(Native(folder));
}

void WorkingFolderFiles::Write(const std::string& file, const std::string& contents) const {
  const fs::path target = Native(file);
  if (target.has_parent_path()) fs::create_directories(target.parent_path());
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out << contents;
  if (!out) throw std::runtime_error("cannot write " + file);
}

std::string WorkingFolderFiles::Read(const std::string& file) const {
  std::ifstream in(Native(file), std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

bool WorkingFolderFiles::Exists(const std::string& file) const {
  return fs::exists(Native(file));
}

void WorkingFolderFiles::MakeReadOnly(const std::string& file) const {
  fs::permissions(Native(file), kWrite | fs::perms::others_write, fs::perm_options::remove);
}

void WorkingFolderFiles::MakeWritable(const std::string& file) const {
  fs::permissions(Native(file), fs::perms::owner_write, fs::perm_options::add);
}

std::string WorkingFolderFiles::Names(const std::string& folder) const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(Native(folder)))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const auto& name : names) joined += (joined.empty() ? "" : " ") + name;
  return joined;
}

std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(Native(folder))) {
    const std::string name = fs::relative(entry.path(), Native(folder)).generic_string();
    if (entry.is_directory()) {
      files[name + "/"] = "";
    } else {
      files[name] = WorkingFolderFiles().Read(entry.path().string());
    }
  }
  return files;
}

TempFolder::TempFolder() : path_(MakeFreshFolder().string()) {}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Windows refuses to delete a read-only file.
  for (auto entry = fs::recursive_directory_iterator(path_, ignored);
       entry != fs::recursive_directory_iterator(); entry.increment(ignored))
    fs::permissions(entry->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

TempWorkingFolder::TempWorkingFolder() : previous_(fs::current_path().string()) {
  fs::current_path(path());
}

TempWorkingFolder::~TempWorkingFolder() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
}

std::vector<std::string> TempFolder::AllFiles() const {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(path_))
    if (!entry.is_directory()) files.push_back(fs::relative(entry.path(), path_).generic_string());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace test_support
