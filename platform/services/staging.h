#pragma once
// The steps every copy is made of, written once over the primitives of a file system: a copy
// is staged beside its destination under a name of its own (staged_file_name.h), and only
// then put in its destination's place in one step. A step that finds a file held open by
// another program for a moment is tried again a few times over about a second; what copies
// of programs stopped half-way left behind is cleared away by the next copy beside it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/services/file_system.h"

namespace platform {

class Staging {
 public:
  explicit Staging(FileSystem& files) : files_(files) {}

  // Checks that `source` is a readable file and that `destination` lies in an existing folder
  // and can be replaced, then copies the source's bytes into a new file beside the destination
  // and returns its name. On failure nothing is left behind.
  std::string Stage(const std::string& source, const std::string& destination);
  // Gives the file `path` a second name beside it, under which its contents stay as they are
  // when `path` is replaced, and returns that name: a second link to the same file where the
  // file system has links, else a copy.
  std::string KeepAside(const std::string& path);
  // Puts the staged file `staged` in the place of `destination` in one step.
  void Replace(const std::string& staged, const std::string& destination);
  bool Exists(const std::string& path) { return files_.Exists(path); }
  // Removes a file of ours: a staged copy, a kept-aside one, or a copy that is undone. Never
  // raises; true once nothing is left under that name.
  bool Remove(const std::string& path) noexcept;

  // Writes `contents` to the disk as this process's record beside `destination`; its name.
  std::string WriteRecord(const std::string& destination, const std::string& contents);
  std::optional<std::string> Read(const std::string& path) { return files_.ReadAll(path); }
  // What copies left beside `destination`, whichever processes made them, seen in one look at
  // its folder: their records, and their staged and kept-aside files; each by its path, with the
  // process that made it.
  struct Leftovers {
    std::vector<std::pair<std::string, std::uint32_t>> records;
    std::vector<std::pair<std::string, std::uint32_t>> staged;
  };
  Leftovers LeftoversBeside(const std::string& destination);
  std::uint32_t ProcessId() { return files_.ProcessId(); }

 private:
  template <typename Step>
  void WhileInUse(Step step);
  void RemoveAbandoned(const std::string& destination);
  template <typename Make>
  std::optional<std::string> NewNameBeside(const std::string& destination, Make make);

  FileSystem& files_;
};

}  // namespace platform
