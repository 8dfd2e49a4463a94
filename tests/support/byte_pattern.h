#pragma once
// Test contents that differ from offset to offset and from seed to seed, so that a copy that
// loses, repeats or shifts a part of a file shows.
#include <cstddef>
#include <string>

namespace test_support {

// The pattern's bytes one after the other, for files too large to hold at once.
class BytePattern {
 public:
  explicit BytePattern(unsigned seed) : state_(seed * 2654435761u + 1) {}
  char Next() {
    state_ = state_ * 1103515245u + 12345u;
    return static_cast<char>(state_ >> 16);
  }

 private:
  unsigned state_;
};

// The first `size` bytes of the pattern of `seed`.
std::string PatternBytes(std::size_t size, unsigned seed);

}  // namespace test_support
