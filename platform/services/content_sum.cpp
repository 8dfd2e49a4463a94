#include "platform/services/content_sum.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace platform {

// Kept to two lanes: four running sums and a pointer fit the registers of a 32-bit processor, and
// the lanes run side by side.
void ContentSum::AddWords(const unsigned char* bytes, std::size_t size) {
  for (std::size_t at = 0; at + 8 <= size; at += 8) {
    std::uint32_t words[2];
    std::memcpy(words, bytes + at, sizeof words);
    first_[0] += words[0];
    second_[0] += first_[0];
    first_[1] += words[1];
    second_[1] += first_[1];
  }
}

void ContentSum::Add(const char* bytes, std::size_t size) {
  if (!taken_) return;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes);
  size_ += size;
  if (tailSize_ > 0) {
    const std::size_t taken = std::min(size, sizeof tail_ - tailSize_);
    std::memcpy(tail_ + tailSize_, data, taken);
    tailSize_ += taken;
    data += taken;
    size -= taken;
    if (tailSize_ < sizeof tail_) return;
    AddWords(tail_, sizeof tail_);
    tailSize_ = 0;
  }
  const std::size_t whole = size - size % sizeof tail_;
  AddWords(data, whole);
  tailSize_ = size - whole;
  std::memcpy(tail_, data + whole, tailSize_);
}

std::string ContentSum::Digest() const {
  if (!taken_) return {};
  // The bytes of an unfinished pair count as a last pair padded with zeros; the size tells a
  // file from the same bytes followed by zeros.
  ContentSum whole = *this;
  if (whole.tailSize_ > 0) {
    std::memset(whole.tail_ + whole.tailSize_, 0, sizeof whole.tail_ - whole.tailSize_);
    whole.AddWords(whole.tail_, sizeof whole.tail_);
  }
  whole.first_[0] += static_cast<std::uint32_t>(size_);
  whole.first_[1] += static_cast<std::uint32_t>(size_ >> 32);
  char digits[33];
  std::snprintf(
      digits, sizeof digits, "%08lx%08lx%08lx%08lx", static_cast<unsigned long>(whole.first_[0]),
      static_cast<unsigned long>(whole.first_[1]), static_cast<unsigned long>(whole.second_[0]),
      static_cast<unsigned long>(whole.second_[1]));
  return digits;
}

}  // namespace platform
