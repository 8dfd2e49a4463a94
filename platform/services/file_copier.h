#pragma once
// Copying that never leaves a destination half written: every copy is first staged beside its
// destination and then renamed over it, so the destination is always either its complete old
// or its complete new self, whatever fails and whenever the program is stopped.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/services/copy_record.h"
#include "platform/services/file_system.h"
#include "platform/services/runtime_error.h"
#include "platform/services/staging.h"

namespace platform {

struct CopyStep {
  std::string source;
  std::string destination;
};

// A CopyAll that failed and could not put back every destination it had already replaced
// (another program held one of them longer than the retries). The error is the first failure's.
class CopyPartlyUndone : public RuntimeError {
 public:
  CopyPartlyUndone(const RuntimeError& cause, std::vector<std::string> stillNew)
      : RuntimeError(cause), stillNew_(std::move(stillNew)) {}
  // The destinations that hold their new contents, in the order of the steps; every other
  // destination holds its old contents.
  const std::vector<std::string>& stillNew() const { return stillNew_; }

 private:
  std::vector<std::string> stillNew_;
};

class FileCopier {
 public:
  // Given the note of a CopyAll that is undone: what the caller saved with it is put back.
  using Restore = std::function<void(const std::string& note)>;

  explicit FileCopier(FileSystem& files) : files_(files) {}
  FileCopier(const FileCopier&) = delete;
  FileCopier& operator=(const FileCopier&) = delete;

  // One copy; an existing destination is replaced whole. Raises the error of the failure.
  void Copy(const std::string& source, const std::string& destination);

  // All of the copies or none, also when the program is stopped at any instant: every source
  // is staged and every old destination kept aside, then a record of them and of `note` is
  // written to the disk beside the first destination, and only then are the destinations
  // replaced. If a replacement fails, the ones already made are put back. Until Commit, the
  // record stays: a program stopped before has every destination put back at its next start,
  // and its note given to the Restore of FinishStoppedCopies.
  // Raises the error of the first failure, as CopyPartlyUndone when a destination could not be
  // put back: its record then stays, and the next CopyAll first puts the destination back.
  void CopyAll(std::span<const CopyStep> steps, const std::string& note = {});
  // The copies of the last CopyAll stand for good: their record goes, then the old contents.
  // Called once whatever the caller saves with them is on the disk.
  void Commit();

  // For the start of a program, while no other copy of it works on these files: undoes the
  // copies that stopped programs left half-way beside any of `destinations`, giving `restore`
  // the note of each once all its files are back, and removes every other file their copies
  // left there. `restore` also serves the undoing before later CopyAlls. Returns the
  // destinations that could not be put back (another program holds them): they are tried again
  // before the next CopyAll and at the next start.
  std::vector<std::string> FinishStoppedCopies(std::span<const std::string> destinations,
                                               Restore restore);

 private:
  struct Written {
    std::string path;
    CopyRecord record;
  };
  struct Pending {
    std::string path;
    std::uint32_t owner;
  };

  // Undoes what the pending records name; the destinations that stay as they are.
  std::vector<std::string> UndoPending();
  // Undoes the copies of the record at `path`, then gives back its note and removes it.
  std::vector<std::string> Undo(const std::string& path);
  // Puts the old contents back in every destination the record's copies replaced.
  std::vector<std::string> PutBack(const CopyRecord& record);

  Staging files_;
  Restore restore_;
  std::vector<Pending> pending_;    // records to undo before any further CopyAll
  std::optional<Written> written_;  // the last CopyAll's, until Commit
};

}  // namespace platform
