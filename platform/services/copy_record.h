#pragma once
// The record a switch keeps on the disk while it replaces its destinations: for which folder it
// was written, the state its program saves before and after it, and for each destination the
// staged file that holds its new contents and the kept-aside file that holds its old ones, with
// what tells those contents apart. A program started after one stopped half-way reads it to
// settle the switch one way or the other.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What tells a file's contents from others without a copy to compare them with: their size, and
// either the identity of the file that holds them (which a rename and a second link keep) or the
// sum of their bytes taken as they were copied. An empty identity or sum is unknown.
struct Fingerprint {
  std::uint64_t size = 0;
  std::string identity;
  std::string sum;
  bool operator==(const Fingerprint&) const = default;
};

struct RecordedCopy {
  std::string destination;
  std::string staged;  // its new contents, until they are put in the destination's place
  Fingerprint after;
  std::string kept;  // its old contents; empty where the destination did not exist
  Fingerprint before;
  bool operator==(const RecordedCopy&) const = default;
};

struct CopyRecord {
  std::string folder;  // the identity of the folder the switch was made in
  std::string before;  // what the program had saved before the switch
  std::string after;   // what it saves once the switch is made
  std::vector<RecordedCopy> copies;
  bool operator==(const CopyRecord&) const = default;
};

std::string FormatCopyRecord(const CopyRecord& record);

enum class RecordText {
  kWhole,
  // The beginning of a whole record: one cut short while it was being written, which is before
  // any destination was replaced. What its whole lines say is read.
  kCutShort,
  kUnknown,  // anything else: another program's file, another version's record, garbage
};

struct ReadRecord {
  RecordText text = RecordText::kUnknown;
  CopyRecord record;
};

ReadRecord ParseCopyRecord(std::string_view text);

}  // namespace platform
