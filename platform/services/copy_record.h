#pragma once
// The record a set of copies keeps on the disk while it replaces its destinations: which staged
// file holds each destination's new contents and which kept-aside file its old ones, so that a
// program started after one stopped half-way can put every destination back.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct RecordedCopy {
  std::string destination;
  std::string staged;  // the new contents, until they are put in the destination's place
  std::string kept;    // the old contents; empty where the destination did not exist
};

struct CopyRecord {
  std::string note;  // the caller's own text, given back when the copies are undone
  std::vector<RecordedCopy> copies;
};

std::string FormatCopyRecord(const CopyRecord& record);
// The record `text` holds, or nothing when it is not a whole record: one cut short while it was
// being written, before any destination was replaced.
std::optional<CopyRecord> ParseCopyRecord(std::string_view text);

}  // namespace platform
