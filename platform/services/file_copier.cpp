#include "platform/services/file_copier.h"

#include <algorithm>
#include <tuple>

#include "platform/services/staged_file_name.h"

namespace platform {

struct FileCopier::Standing {
  bool hadNone;    // the destination did not exist before the switch
  bool isOld;      // it holds its contents from before the switch; for hadNone, it is absent
  bool isNew;      // it holds the switch's contents
  bool oldKept;    // its kept-aside file holds the contents from before
  bool newStaged;  // its staged file holds the switch's contents
  bool CanGoBack() const { return isOld || oldKept || (hadNone && isNew); }
  bool CanGoForward() const { return isNew || newStaged; }
};

RepairReport FileCopier::Repair(std::vector<std::string> destinations, SavedState saved) {
  destinations_ = std::move(destinations);
  saved_ = std::move(saved);
  RepairReport report;
  std::vector<Staging::Leftovers> left;
  bool settling = false;
  for (const auto& destination : destinations_) {
    left.push_back(files_.LeftoversBeside(destination));
    for (const auto& [path, owner] : left.back().records) {
      Examine(path, owner, report);
      settling = true;
    }
  }
  // Settling changes what lies beside the files it settled: then each folder is looked at again.
  for (std::size_t i = 0; i < destinations_.size(); ++i) {
    RemoveLeftovers(settling ? files_.LeftoversBeside(destinations_[i]).staged : left[i].staged,
                    /*starting=*/true);
  }
  return report;
}

void FileCopier::Examine(const std::string& path, std::uint32_t owner, RepairReport& report) {
  const auto text = files_.Read(path);
  if (!text) {  // another program holds it, or it went meanwhile
    if (files_.Exists(path)) report.inUse.push_back(path);
    spared_.insert(owner);
    return;
  }
  const ReadRecord read = ParseCopyRecord(*text);
  const bool whole = read.text == RecordText::kWhole;
  if (read.text == RecordText::kUnknown || !IsOurs(read.record, whole)) {
    report.leftAlone.push_back(path);
    spared_.insert(owner);
    return;
  }
  if (!whole) {
    // Cut short while it was written, before anything was replaced: it settles nothing.
    if (!files_.Remove(path)) {
      report.inUse.push_back(path);
      spared_.insert(owner);
    }
    return;
  }
  Switch stopped{path, owner, read.record};
  const Outcome outcome = Settle(stopped);
  Note(std::move(stopped), outcome, &report);
}

bool FileCopier::IsOurs(const CopyRecord& record, bool whole) {
  // A record cut short before its folder was written says nothing of any folder, nor anything
  // to act on.
  if (record.folder != FolderIdentity() && (whole || !record.folder.empty())) return false;
  std::vector<std::string> seen;
  for (const RecordedCopy& copy : record.copies) {
    const bool mine = std::find(destinations_.begin(), destinations_.end(), copy.destination) !=
                          destinations_.end() &&
                      std::find(seen.begin(), seen.end(), copy.destination) == seen.end();
    if (!mine || !IsStagedFileOf(copy.staged, copy.destination) ||
        (!copy.kept.empty() && !IsStagedFileOf(copy.kept, copy.destination)))
      return false;
    seen.push_back(copy.destination);
  }
  return true;
}

FileCopier::Standing FileCopier::Survey(const RecordedCopy& copy) {
  const bool hadNone = copy.kept.empty();
  return {.hadNone = hadNone,
          .isOld = hadNone ? !files_.Exists(copy.destination)
                           : files_.Holds(copy.destination, copy.before),
          .isNew = files_.Holds(copy.destination, copy.after),
          .oldKept = !hadNone && files_.Holds(copy.kept, copy.before),
          .newStaged = files_.Holds(copy.staged, copy.after)};
}

// The one decision of settling a switch: once the program saved the switch's `after`, the
// switch stands, and goes forward or nowhere. Before that it goes back to what was saved with
// it, or, where the old contents are gone, forward where every new one is at hand. A way is
// taken only where every destination can take it: never into a mixed set.
std::optional<FileCopier::Way> FileCopier::Decide(const std::vector<Standing>& standings,
                                                  bool afterSaved) {
  const bool back = std::all_of(standings.begin(), standings.end(),
                                [](const Standing& s) { return s.CanGoBack(); });
  const bool forward = std::all_of(standings.begin(), standings.end(),
                                   [](const Standing& s) { return s.CanGoForward(); });
  if (afterSaved) return forward ? std::optional(Way::kForward) : std::nullopt;
  if (back) return Way::kBack;
  if (forward) return Way::kForward;
  return std::nullopt;
}

FileCopier::Outcome FileCopier::Settle(const Switch& done, std::optional<Way> way) {
  const CopyRecord& record = done.record;
  std::vector<Standing> standings;
  for (const RecordedCopy& copy : record.copies) standings.push_back(Survey(copy));
  if (!way) way = Decide(standings, saved_.read() == record.after);
  Outcome outcome;
  if (!way) {
    // The files that hold neither side's contents; where each holds one, all of them.
    for (std::size_t i = 0; i < standings.size(); ++i)
      if (!standings[i].isOld && !standings[i].isNew)
        outcome.unsettled.push_back(record.copies[i].destination);
    if (outcome.unsettled.empty())
      for (const RecordedCopy& copy : record.copies) outcome.unsettled.push_back(copy.destination);
    return outcome;
  }
  for (std::size_t i = 0; i < standings.size(); ++i)
    if (!Bring(record.copies[i], standings[i], *way))
      outcome.held.push_back(record.copies[i].destination);
  if (!outcome.held.empty()) return outcome;
  const std::string& state = *way == Way::kBack ? record.before : record.after;
  if (saved_.read() != state) saved_.write(state);
  // Gone, the record can settle nothing more: the files stand as they are now.
  outcome.settled = files_.Remove(done.path);
  if (outcome.settled) RemoveFilesOf(record);
  return outcome;
}

bool FileCopier::Bring(const RecordedCopy& copy, const Standing& standing, Way way) {
  try {
    if (way == Way::kForward) {
      if (!standing.isNew) files_.Replace(copy.staged, copy.destination);
    } else if (!standing.isOld) {
      if (standing.oldKept) {
        files_.Replace(copy.kept, copy.destination);
      } else {  // new where there was none
        if (!files_.Remove(copy.destination)) return false;
        files_.PutOnDisk(copy.destination);
      }
    }
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

void FileCopier::Note(Switch done, const Outcome& outcome, RepairReport* report) {
  if (outcome.settled) return;
  if (!outcome.unsettled.empty()) {
    if (report)
      report->unsettled.insert(report->unsettled.end(), outcome.unsettled.begin(),
                               outcome.unsettled.end());
    unsettled_.push_back(std::move(done));
    return;
  }
  if (report) {
    // Only the record itself is held where no file is.
    if (outcome.held.empty()) report->inUse.push_back(done.path);
    report->inUse.insert(report->inUse.end(), outcome.held.begin(), outcome.held.end());
  }
  held_.push_back(std::move(done));
}

void FileCopier::SettleHeld() {
  std::vector<Switch> held = std::move(held_);
  held_.clear();
  std::vector<std::string> stillHeld;
  for (Switch& done : held) {
    const Outcome outcome = Settle(done);
    if (!outcome.settled && outcome.unsettled.empty())
      stillHeld.push_back(outcome.held.empty() ? done.path : outcome.held.front());
    Note(std::move(done), outcome, nullptr);
  }
  if (!stillHeld.empty()) throw FileInUse(stillHeld.front());
}

void FileCopier::CopyAll(std::span<const CopyStep> steps, const std::string& before,
                         const std::string& after) {
  // A switch never committed is settled like one of a stopped program.
  if (current_) held_.push_back(std::move(*current_));
  current_.reset();
  SettleHeld();
  if (steps.empty()) return;

  Switch next = Prepare(steps, before, after);
  try {
    for (const RecordedCopy& copy : next.record.copies)
      files_.Replace(copy.staged, copy.destination);
  } catch (const RuntimeError& failure) {
    // A switch that cannot be made goes back at once, as a stopped one does at the next start.
    const Outcome outcome = Settle(next, Way::kBack);
    Note(std::move(next), outcome, nullptr);
    if (outcome.held.empty()) throw;
    throw CopyPartlyUndone(failure, outcome.held);
  }
  current_ = std::move(next);
}

FileCopier::Switch FileCopier::Prepare(std::span<const CopyStep> steps, const std::string& before,
                                       const std::string& after) {
  Switch next{{}, files_.ProcessId(), {FolderIdentity(), before, after, {}}};
  try {
    for (const CopyStep& step : steps) {
      files_.Check(step.source, step.destination);
      RecordedCopy& copy = next.record.copies.emplace_back();
      copy.destination = step.destination;
      // A second link of the old file keeps it aside at no cost, and shows that its volume
      // keeps a file's identity across a rename: then identities tell the contents, and the
      // new bytes need no sum.
      if (auto linked = files_.LinkAside(step.destination))
        std::tie(copy.kept, copy.before) = std::move(*linked);
      std::tie(copy.staged, copy.after) =
          files_.Stage(step.source, step.destination, copy.before.identity.empty());
      RemoveLeftovers(files_.LeftoversBeside(step.destination).staged, /*starting=*/false);
    }
    // Without links, the old files are copied aside once every new one is staged.
    for (RecordedCopy& copy : next.record.copies) {
      if (!copy.kept.empty() || !files_.Exists(copy.destination)) continue;
      std::tie(copy.kept, copy.before) = files_.CopyAside(copy.destination);
      copy.after.identity.clear();
    }
    next.path = files_.WriteRecord(steps.front().destination, FormatCopyRecord(next.record));
  } catch (...) {
    RemoveFilesOf(next.record);
    throw;
  }
  return next;
}

void FileCopier::Commit() {
  if (!current_) return;
  Switch done = std::move(*current_);
  current_.reset();
  // Gone, the record can settle nothing: from here on the new contents stand. One that stays
  // is settled forward later, as what goes with it is saved.
  if (!files_.Remove(done.path)) {
    held_.push_back(std::move(done));
    return;
  }
  for (const RecordedCopy& copy : done.record.copies)
    if (!copy.kept.empty()) files_.Remove(copy.kept);  // the staged ones are in place
  // A switch settled by no way is over once the player has switched every one of its files.
  std::erase_if(unsettled_, [&](const Switch& old) {
    const bool switched =
        std::all_of(old.record.copies.begin(), old.record.copies.end(), [&](const auto& copy) {
          return std::any_of(done.record.copies.begin(), done.record.copies.end(),
                             [&](const auto& now) { return now.destination == copy.destination; });
        });
    if (!switched || !files_.Remove(old.path)) return false;
    RemoveFilesOf(old.record);
    return true;
  });
}

void FileCopier::RemoveFilesOf(const CopyRecord& record) {
  for (const RecordedCopy& copy : record.copies) {
    if (!copy.staged.empty()) files_.Remove(copy.staged);
    if (!copy.kept.empty()) files_.Remove(copy.kept);
  }
}

void FileCopier::RemoveLeftovers(const std::vector<std::pair<std::string, std::uint32_t>>& staged,
                                 bool starting) {
  const std::uint32_t self = files_.ProcessId();
  const auto needed = [&](std::uint32_t owner) {
    const auto owns = [&](const Switch& s) { return s.owner == owner; };
    return spared_.contains(owner) || std::any_of(held_.begin(), held_.end(), owns) ||
           std::any_of(unsettled_.begin(), unsettled_.end(), owns);
  };
  // At the start, a file of this process's id is an earlier process's that had the same id.
  const auto gone = [&](std::uint32_t owner) {
    return owner == self ? starting : files_.ProcessIsGone(owner);
  };
  for (const auto& [path, owner] : staged)
    if (!needed(owner) && gone(owner)) files_.Remove(path);
}

const std::string& FileCopier::FolderIdentity() {
  if (folderIdentity_.empty()) folderIdentity_ = files_.FolderIdentity();
  return folderIdentity_;
}

}  // namespace platform
