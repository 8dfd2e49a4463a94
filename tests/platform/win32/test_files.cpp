#include "platform/win32/windows_api.h"

#include "test_files.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace platform::win32::test_support {
namespace {

std::string CurrentFolder() {
  char buffer[MAX_PATH + 1] = {};
  GetCurrentDirectoryA(MAX_PATH, buffer);
  return buffer;
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA entry{};
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder() : previous_(CurrentFolder()) {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  static unsigned counter = 0;
  path_ = std::string(temp) + "vl-win32-test-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(counter++);
  if (!CreateDirectoryA(path_.c_str(), nullptr) || !SetCurrentDirectoryA(path_.c_str()))
    throw std::runtime_error("cannot make the scratch folder " + path_);
}

ScratchFolder::~ScratchFolder() {
  SetCurrentDirectoryA(previous_.c_str());
  RemoveTree(path_);
}

std::string ListFiles(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry{};
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const auto& name : names) joined += (joined.empty() ? "" : " ") + name;
  return joined;
}

void WriteContents(const std::string& path, const std::string& contents) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << contents;
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadContents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

void MakeFolder(const std::string& path) {
  if (!CreateDirectoryA(path.c_str(), nullptr)) throw std::runtime_error("cannot make " + path);
}

void SetReadOnly(const std::string& path, bool readOnly) {
  SetFileAttributesA(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

std::string PatternBytes(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  unsigned state = seed * 2654435761u + 1;
  for (char& byte : bytes) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<char>(state >> 16);
  }
  return bytes;
}

PictureBytes SamplePicture(int resourceId) {
  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(resourceId), RT_RCDATA);
  if (found == nullptr) throw std::runtime_error("sample picture missing");
  const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(self, found)));
  return {data, SizeofResource(self, found)};
}

}  // namespace platform::win32::test_support
