#include "platform/services/staging.h"

#include <atomic>
#include <cstdint>
#include <optional>

#include "platform/services/staged_file_name.h"

namespace platform {
namespace {

constexpr int kMaxNameAttempts = 1000;
// The waits before each new try of a step that found its file in use: about a second in all.
constexpr unsigned long kWaitsWhileInUseMs[] = {50, 100, 150, 250, 450};

// "mods\bf1942\" of "mods\bf1942\init.con"; empty for a bare name.
std::string FolderPrefix(const std::string& path) {
  const auto cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace

template <typename Step>
void Staging::WhileInUse(Step step) {
  for (const unsigned long ms : kWaitsWhileInUseMs) {
    try {
      step();
      return;
    } catch (const FileInUse&) {
      files_.Wait(ms);
    }
  }
  step();
}

// Makes a new entry of a name no one else uses beside `destination` with `make`, which tells
// whether it made one; the name, or nothing when `make` was refused for another reason.
template <typename Make>
std::optional<std::string> Staging::NewNameBeside(const std::string& destination, Make make) {
  static std::atomic<std::uint32_t> counter{0};
  for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
    std::string name = StagedFileName(destination, files_.ProcessId(), counter++);
    switch (make(name)) {
      case NewName::kMade:
        return name;
      case NewName::kTaken:
        continue;
      case NewName::kRefused:
        return std::nullopt;
    }
  }
  throw RuntimeError(error::kPathFileAccess, destination);
}

// Removes what copies to `destination` staged in programs that were stopped before they
// finished; a staged file of a copy still running elsewhere is left alone.
void Staging::RemoveAbandoned(const std::string& destination) {
  const std::uint32_t self = files_.ProcessId();
  for (const auto& [path, owner] : LeftoversBeside(destination).staged)
    if (owner != self && files_.ProcessIsGone(owner)) Remove(path);
}

std::string Staging::WriteRecord(const std::string& destination, const std::string& contents) {
  std::string name = RecordFileName(destination, files_.ProcessId());
  bool made = false;
  try {
    made = files_.WriteNew(name, contents);
  } catch (...) {
    Remove(name);
    throw;
  }
  // Taken: an earlier record of this process still waits to be undone.
  if (!made) throw RuntimeError(error::kPathFileAccess, name);
  return name;
}

Staging::Leftovers Staging::LeftoversBeside(const std::string& destination) {
  const std::string folder = FolderPrefix(destination);
  const std::string name = destination.substr(folder.size());
  Leftovers left;
  for (const std::string& entry : files_.NamesBeside(destination)) {
    if (const auto owner = RecordFileOwner(entry, name))
      left.records.emplace_back(folder + entry, *owner);
    else if (const auto stager = StagedFileOwner(entry, name))
      left.staged.emplace_back(folder + entry, *stager);
  }
  return left;
}

std::string Staging::Stage(const std::string& source, const std::string& destination) {
  files_.CheckSource(source);
  WhileInUse([&] { files_.CheckDestination(destination); });
  RemoveAbandoned(destination);
  std::string made;
  try {
    NewNameBeside(destination, [&](const std::string& name) {
      made = name;  // from here on ours, unless it turns out taken
      if (files_.CopyToNew(source, name, destination)) return NewName::kMade;
      made.clear();
      return NewName::kTaken;
    });
  } catch (...) {
    if (!made.empty()) Remove(made);
    throw;
  }
  return made;
}

std::string Staging::KeepAside(const std::string& path) {
  RemoveAbandoned(path);
  const auto link =
      NewNameBeside(path, [&](const std::string& name) { return files_.LinkToNew(path, name); });
  // Without links (FAT volumes, some network shares) the old contents are copied.
  return link ? *link : Stage(path, path);
}

void Staging::Replace(const std::string& staged, const std::string& destination) {
  WhileInUse([&] { files_.RenameOver(staged, destination); });
}

bool Staging::Remove(const std::string& path) noexcept {
  for (const unsigned long ms : kWaitsWhileInUseMs) {
    const Removal removal = files_.Remove(path);
    if (removal != Removal::kInUse) return removal == Removal::kGone;
    files_.Wait(ms);
  }
  return files_.Remove(path) == Removal::kGone;
}

}  // namespace platform
