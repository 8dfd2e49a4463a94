#pragma once
// Switches of files that are all or nothing, also when the program is stopped at any instant.
// A switch passes through these states, each on the disk before the next begins:
//
//   prepared  every new file staged beside its destination and every old one kept aside; no
//             record yet, so nothing is replaced and a stop leaves only leftovers
//   recorded  the record of the switch written beside its first destination; the destinations
//             are being replaced, each in one step, each always whole
//   replaced  every destination holds its new contents; the program has not saved yet
//   saved     the program has saved what goes with the switch (its `after`): the switch stands
//   done      the record removed, then the old contents
//
// A program started after one that stopped between `recorded` and `done` finds the record and
// settles the switch: back to the old contents while the saved state is not the switch's
// `after`, forward once it is, each way only as far as the disk proves the contents it puts in
// place; a switch it can settle neither way is left as it is. It trusts only records it wrote
// for its own folder, naming only its own destinations and their staged and kept-aside files.
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
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

// A switch that failed and could not put back every destination it had already replaced
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

// What a program saves with its switches, as text: read as it stands, and written to the disk
// before `write` returns.
struct SavedState {
  std::function<std::string()> read;
  std::function<void(const std::string&)> write;
};

// What settling stopped switches found that the player is to be told.
struct RepairReport {
  // Files named like a record of this program that it did not write for this folder, or that
  // name other files than its own: left alone, with every file they name.
  std::vector<std::string> leftAlone;
  // Files another program holds: settled before the next switch, or at the next start.
  std::vector<std::string> inUse;
  // Destinations of a switch that can be settled neither way, as the contents it would put in
  // place are gone: nothing changed.
  std::vector<std::string> unsettled;
  bool empty() const { return leftAlone.empty() && inUse.empty() && unsettled.empty(); }
};

class FileCopier {
 public:
  explicit FileCopier(FileSystem& files) : files_(files) {}
  FileCopier(const FileCopier&) = delete;
  FileCopier& operator=(const FileCopier&) = delete;

  // For the start of a program, while no other copy of it works in this folder: takes charge of
  // `destinations`, the only files it switches, and of `saved`, what it saves with a switch;
  // settles the switches that stopped copies of it left half-way, and removes whatever else
  // their copies left beside the destinations.
  RepairReport Repair(std::vector<std::string> destinations, SavedState saved);

  // Makes the copies of `steps` as one switch, from `before`, what the program has saved now,
  // to `after`, which it saves once this returns, and then calls Commit. Switches that were
  // stopped or failed before are settled first: where one of their files is held, raises
  // FileInUse. Where a copy cannot be made, raises its error with every destination as it was;
  // as CopyPartlyUndone where one could not be put back (its record stays, and the switch is
  // settled back before the next one).
  void CopyAll(std::span<const CopyStep> steps, const std::string& before,
               const std::string& after);
  // The last switch stands for good, once the program has saved its `after`: its record goes,
  // then the old contents.
  void Commit();

 private:
  // A switch whose record lies at `path`, written by process `owner`.
  struct Switch {
    std::string path;
    std::uint32_t owner;
    CopyRecord record;
  };
  enum class Way { kBack, kForward };
  struct Standing;  // where one destination of a switch stands on the disk
  struct Outcome {
    bool settled = false;                // its record is gone: the files stand as they are
    std::vector<std::string> held;       // files another program holds
    std::vector<std::string> unsettled;  // destinations that keep it from either way
  };

  // Reads the record at `path` and settles it, or leaves it alone where it is not ours.
  void Examine(const std::string& path, std::uint32_t owner, RepairReport& report);
  // Whether `record` was written by this program for this folder: `whole` or cut short.
  bool IsOurs(const CopyRecord& record, bool whole);
  // Settles `done` the way the disk and the saved state decide, or the way `way` says.
  Outcome Settle(const Switch& done, std::optional<Way> way = std::nullopt);
  Standing Survey(const RecordedCopy& copy);
  static std::optional<Way> Decide(const std::vector<Standing>& standings, bool afterSaved);
  // Puts in `copy`'s destination the contents `way` asks for; false where a file is held.
  bool Bring(const RecordedCopy& copy, const Standing& standing, Way way);
  // Keeps `report` and the switches still to settle up to date with what settling `done` came to.
  void Note(Switch done, const Outcome& outcome, RepairReport* report);
  // Settles again the switches that were held; raises FileInUse where one is held still.
  void SettleHeld();
  // Stages every step and keeps every old destination aside, then writes the record.
  Switch Prepare(std::span<const CopyStep> steps, const std::string& before,
                 const std::string& after);
  // Removes the staged and kept-aside files a settled record names, where they are left.
  void RemoveFilesOf(const CopyRecord& record);
  // Removes the files of `staged`, which lie beside a destination, that stopped programs made
  // and no record still needs; `starting` while this program has made none of its own yet.
  void RemoveLeftovers(const std::vector<std::pair<std::string, std::uint32_t>>& staged,
                       bool starting);
  const std::string& FolderIdentity();

  Staging files_;
  std::vector<std::string> destinations_;
  SavedState saved_{[] { return std::string(); }, [](const std::string&) {}};
  std::string folderIdentity_;
  std::vector<Switch> held_;        // to settle before the next switch
  std::vector<Switch> unsettled_;   // settled by no way; given up by a switch of all their files
  std::set<std::uint32_t> spared_;  // owners of records left alone, whose files stay
  std::optional<Switch> current_;   // the last switch, until Commit
};

}  // namespace platform
