#pragma once
// The steps every copy is made of, written once over the primitives of a file system: a copy
// is staged beside its destination under a name of its own (staged_file_name.h), and only
// then put in its destination's place in one step. A step that finds a file held open by
// another program for a moment is tried again a few times over about a second.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/services/copy_record.h"
#include "platform/services/file_system.h"

namespace platform {

class Staging {
 public:
  explicit Staging(FileSystem& files) : files_(files) {}

  // Checks that `source` is a readable file and that `destination` lies in an existing folder
  // and can be replaced.
  void Check(const std::string& source, const std::string& destination);
  // Copies the bytes of `source` into a new file beside `destination`, summed as they pass
  // where `summed` asks, and returns its name and what tells its contents. On failure nothing
  // is left behind.
  std::pair<std::string, Fingerprint> Stage(const std::string& source,
                                            const std::string& destination, bool summed = true);
  // Gives the file `path` a second link beside it, under which its contents stay as they are
  // when `path` is replaced: its name and what tells those contents, or nothing where the file
  // system has no links (or `path` is no file).
  std::optional<std::pair<std::string, Fingerprint>> LinkAside(const std::string& path);
  // Does what LinkAside does with a copy, where the file system has no links; such a volume
  // keeps no identity of a file across a rename either, so the sum alone tells the contents.
  std::pair<std::string, Fingerprint> CopyAside(const std::string& path);
  // Puts the file `from` in the place of `to` in one step, on the disk.
  void Replace(const std::string& from, const std::string& to);
  // Puts the folder entry of `path` on the disk, as it is now.
  void PutOnDisk(const std::string& path) { files_.PutOnDisk(path); }
  // Whether the file `path` holds the contents `print` tells: the same file, or the same sum.
  bool Holds(const std::string& path, const Fingerprint& print);
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
  std::string FolderIdentity() { return files_.FolderIdentity(); }
  std::uint32_t ProcessId() { return files_.ProcessId(); }
  bool ProcessIsGone(std::uint32_t processId) { return files_.ProcessIsGone(processId); }

 private:
  template <typename Step>
  void WhileInUse(Step step);
  template <typename Make>
  std::optional<std::string> NewNameBeside(const std::string& destination, Make make);
  // What tells the contents of the file `path`, of which `sum` holds the sum or nothing.
  Fingerprint FingerprintOf(const std::string& path, std::string sum);

  FileSystem& files_;
};

}  // namespace platform
