#include "platform/services/file_copier.h"

#include <algorithm>
#include <optional>
#include <set>
#include <vector>

#include "platform/services/runtime_error.h"

namespace platform {
namespace {

// Staged files that are removed unless handed over; keeps every failure path clean.
class StagedFiles {
 public:
  explicit StagedFiles(Staging& files) : files_(files) {}
  StagedFiles(const StagedFiles&) = delete;
  StagedFiles& operator=(const StagedFiles&) = delete;
  ~StagedFiles() {
    for (const auto& path : paths_)
      if (path) files_.Remove(*path);
  }
  void Add(std::optional<std::string> path) { paths_.push_back(std::move(path)); }
  const std::optional<std::string>& operator[](std::size_t i) const { return paths_[i]; }
  void Release(std::size_t i) { paths_[i].reset(); }

 private:
  Staging& files_;
  std::vector<std::optional<std::string>> paths_;
};

}  // namespace

void FileCopier::Copy(const std::string& source, const std::string& destination) {
  StagedFiles staged(files_);
  staged.Add(files_.Stage(source, destination));
  files_.Replace(*staged[0], destination);
  staged.Release(0);
}

void FileCopier::CopyAll(std::span<const CopyStep> steps, const std::string& note) {
  // Copies never committed are undone like those of a stopped program.
  if (written_) pending_.push_back({written_->path, files_.ProcessId()});
  written_.reset();
  if (const auto stillNew = UndoPending(); !stillNew.empty()) throw FileInUse(stillNew.front());
  if (steps.empty()) return;

  StagedFiles fresh(files_);
  for (const auto& step : steps) fresh.Add(files_.Stage(step.source, step.destination));
  // The old contents, kept so that a replacement failing half-way can be undone.
  StagedFiles old(files_);
  for (const auto& step : steps) {
    old.Add(files_.Exists(step.destination) ? std::optional(files_.KeepAside(step.destination))
                                            : std::nullopt);
  }
  CopyRecord record{note, {}};
  for (std::size_t i = 0; i < steps.size(); ++i)
    record.copies.push_back({steps[i].destination, *fresh[i], old[i].value_or("")});
  const std::string recordPath =
      files_.WriteRecord(steps.front().destination, FormatCopyRecord(record));

  for (std::size_t i = 0; i < steps.size(); ++i) {
    try {
      files_.Replace(*fresh[i], steps[i].destination);
      fresh.Release(i);
    } catch (const RuntimeError& failure) {
      std::vector<std::string> stillNew;
      for (std::size_t done = 0; done < i; ++done) {
        const std::string& destination = steps[done].destination;
        if (!old[done]) {
          if (!files_.Remove(destination)) stillNew.push_back(destination);
          continue;
        }
        try {
          files_.Replace(*old[done], destination);
        } catch (const RuntimeError&) {
          stillNew.push_back(destination);  // its old contents stay for the record's undoing
        }
        old.Release(done);
      }
      // Every destination is its old self again: the record has nothing left to undo.
      if (stillNew.empty() && files_.Remove(recordPath)) throw;
      pending_.push_back({recordPath, files_.ProcessId()});
      if (stillNew.empty()) throw;
      throw CopyPartlyUndone(failure, std::move(stillNew));
    }
  }
  for (std::size_t i = 0; i < steps.size(); ++i) old.Release(i);  // the record's, until Commit
  written_ = Written{recordPath, std::move(record)};
}

void FileCopier::Commit() {
  if (!written_) return;
  const Written done = std::move(*written_);
  written_.reset();
  // Gone, the record can undo nothing: from here on the new contents stand.
  if (!files_.Remove(done.path)) {
    pending_.push_back({done.path, files_.ProcessId()});
    return;
  }
  for (const auto& copy : done.record.copies)
    if (!copy.kept.empty()) files_.Remove(copy.kept);
}

std::vector<std::string> FileCopier::FinishStoppedCopies(std::span<const std::string> destinations,
                                                         Restore restore) {
  restore_ = std::move(restore);
  std::vector<Staging::Leftovers> left;
  for (const auto& destination : destinations) {
    left.push_back(files_.LeftoversBeside(destination));
    for (auto& record : left.back().records) {
      const bool known = std::any_of(pending_.begin(), pending_.end(), [&](const Pending& pending) {
        return pending.path == record.first;
      });
      if (!known) pending_.push_back({std::move(record.first), record.second});
    }
  }
  // Undoing changes what lies beside the files undone: then each folder is looked at again.
  const bool undoing = !pending_.empty();
  std::vector<std::string> stillNew = UndoPending();

  // No other copy of the program works here and this one has copied nothing yet: every other
  // staged or kept-aside file is left over, but those a record still needs.
  std::set<std::uint32_t> needed;
  for (const auto& pending : pending_) needed.insert(pending.owner);
  for (std::size_t i = 0; i < destinations.size(); ++i) {
    if (undoing) left[i] = files_.LeftoversBeside(destinations[i]);
    for (const auto& [path, owner] : left[i].staged)
      if (!needed.contains(owner)) files_.Remove(path);
  }
  return stillNew;
}

std::vector<std::string> FileCopier::UndoPending() {
  std::vector<std::string> stillNew;
  std::erase_if(pending_, [&](const Pending& pending) {
    const auto left = Undo(pending.path);
    stillNew.insert(stillNew.end(), left.begin(), left.end());
    return left.empty();
  });
  return stillNew;
}

std::vector<std::string> FileCopier::Undo(const std::string& path) {
  const auto text = files_.Read(path);
  if (!text) return files_.Exists(path) ? std::vector{path} : std::vector<std::string>{};
  // A record that is not whole was cut short while being written, before any replacement.
  if (const auto record = ParseCopyRecord(*text)) {
    auto stillNew = PutBack(*record);
    if (!stillNew.empty()) return stillNew;
    if (restore_) restore_(record->note);
  }
  if (!files_.Remove(path)) return {path};
  return {};
}

// A destination was replaced once its staged file is gone; its kept-aside file is gone once
// it has been put back.
std::vector<std::string> FileCopier::PutBack(const CopyRecord& record) {
  std::vector<std::string> stillNew;
  for (const auto& copy : record.copies) {
    if (files_.Exists(copy.staged)) {
      files_.Remove(copy.staged);
      if (!copy.kept.empty()) files_.Remove(copy.kept);
      continue;
    }
    if (copy.kept.empty()) {
      if (!files_.Remove(copy.destination)) stillNew.push_back(copy.destination);
      continue;
    }
    if (!files_.Exists(copy.kept)) continue;
    try {
      files_.Replace(copy.kept, copy.destination);
      files_.Remove(copy.kept);  // still there where it was a second name of the same file
    } catch (const RuntimeError&) {
      stillNew.push_back(copy.destination);
    }
  }
  return stillNew;
}

}  // namespace platform
