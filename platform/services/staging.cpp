#include "platform/services/staging.h"

#include <atomic>
#include <cstdint>
#include <optional>

#include "platform/services/staged_file_name.h"

namespace platform {
namespace {

constexpr std::uint32_t kMaxNameAttempts = 1000;
// Numbers the names this process makes beside its destinations, one count for every kind.
std::atomic<std::uint32_t> nameCounter{0};

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
  for (std::uint32_t attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
    std::string name = StagedFileName(destination, files_.ProcessId(), nameCounter++);
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

Fingerprint Staging::FingerprintOf(const std::string& path, std::string sum) {
  const auto facts = files_.Facts(path);
  if (!facts) throw RuntimeError(error::kPathFileAccess, path);
  return {facts->size, facts->identity, std::move(sum)};
}

// A name may be taken by a record left by an earlier process of the same id.
std::string Staging::WriteRecord(const std::string& destination, const std::string& contents) {
  for (std::uint32_t number = 0; number < kMaxNameAttempts; ++number) {
    std::string name = RecordFileName(destination, files_.ProcessId(), number);
    try {
      if (files_.WriteNew(name, contents)) return name;
    } catch (...) {
      Remove(name);
      throw;
    }
  }
  throw RuntimeError(error::kPathFileAccess, destination);
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

void Staging::Check(const std::string& source, const std::string& destination) {
  files_.CheckSource(source);
  WhileInUse([&] { files_.CheckDestination(destination); });
}

std::pair<std::string, Fingerprint> Staging::Stage(const std::string& source,
                                                   const std::string& destination, bool summed) {
  const auto fresh = [summed] { return summed ? ContentSum() : ContentSum::None(); };
  std::string made;
  ContentSum sum = fresh();
  try {
    NewNameBeside(destination, [&](const std::string& name) {
      made = name;  // from here on ours, unless it turns out taken
      if (files_.CopyToNew(source, name, destination, sum)) return NewName::kMade;
      made.clear();
      sum = fresh();
      return NewName::kTaken;
    });
    return {made, FingerprintOf(made, sum.Digest())};
  } catch (...) {
    if (!made.empty()) Remove(made);
    throw;
  }
}

std::optional<std::pair<std::string, Fingerprint>> Staging::LinkAside(const std::string& path) {
  const auto link =
      NewNameBeside(path, [&](const std::string& name) { return files_.LinkToNew(path, name); });
  // A second link is the same file: its identity tells the old contents, at no cost.
  if (!link) return std::nullopt;
  return std::pair{*link, FingerprintOf(*link, {})};
}

std::pair<std::string, Fingerprint> Staging::CopyAside(const std::string& path) {
  Check(path, path);
  auto [copy, print] = Stage(path, path);
  print.identity.clear();
  return {copy, print};
}

void Staging::Replace(const std::string& from, const std::string& to) {
  WhileInUse([&] { files_.RenameOver(from, to); });
  WhileInUse([&] { files_.PutOnDisk(to); });
}

bool Staging::Holds(const std::string& path, const Fingerprint& print) {
  const auto facts = files_.Facts(path);
  if (!facts || facts->size != print.size) return false;
  if (!print.identity.empty() && facts->identity == print.identity) return true;
  if (print.sum.empty()) return false;
  ContentSum sum;
  return files_.ReadInto(path, sum) && sum.Digest() == print.sum;
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
