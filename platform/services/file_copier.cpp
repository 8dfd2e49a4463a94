#include "platform/services/file_copier.h"

#include <optional>
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
  Replaced(destination);
}

void FileCopier::CopyAll(std::span<const CopyStep> steps) {
  StagedFiles fresh(files_);
  for (const auto& step : steps) fresh.Add(files_.Stage(step.source, step.destination));

  // The old contents, kept so that a replacement failing half-way can be undone.
  StagedFiles old(files_);
  for (const auto& step : steps) {
    old.Add(files_.Exists(step.destination) ? std::optional(files_.KeepAside(step.destination))
                                            : std::nullopt);
  }

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
          // The last copy of the old contents: kept while the name holds the new ones.
          oldContentsKept_[destination] = *old[done];
          stillNew.push_back(destination);
        }
        old.Release(done);  // put back in its place, or kept: not ours to remove either way
      }
      if (!stillNew.empty()) throw CopyPartlyUndone(failure, std::move(stillNew));
      throw;
    }
  }
  for (const auto& step : steps) Replaced(step.destination);
}

void FileCopier::Replaced(const std::string& destination) {
  const auto kept = oldContentsKept_.find(destination);
  if (kept == oldContentsKept_.end()) return;
  files_.Remove(kept->second);
  oldContentsKept_.erase(kept);
}

}  // namespace platform
