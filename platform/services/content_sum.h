#pragma once
// A sum of a file's bytes, taken while they pass through a copy anyway, so that the file can
// later be told to hold those bytes without a second copy to compare it with. Fletcher's two
// sums over 32-bit words in two interleaved lanes: each word's place counts, and it keeps up
// with a disk on one core with no help from the processor's vector units, which the oldest
// machines the programs run on lack.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class ContentSum {
 public:
  // A sum that takes no bytes, for a copy whose file is told by its identity.
  static ContentSum None() {
    ContentSum none;
    none.taken_ = false;
    return none;
  }

  void Add(const char* bytes, std::size_t size);
  // The sum of every byte added so far, as 32 hexadecimal digits; empty for None().
  std::string Digest() const;

 private:
  void AddWords(const unsigned char* bytes, std::size_t size);

  std::uint32_t first_[2] = {1, 1};
  std::uint32_t second_[2] = {0, 0};
  std::uint64_t size_ = 0;
  unsigned char tail_[8] = {};  // the bytes of a word pair not yet whole
  std::size_t tailSize_ = 0;
  bool taken_ = true;
};

}  // namespace platform
