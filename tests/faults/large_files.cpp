#include "tests/faults/large_files.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "tests/support/byte_pattern.h"

namespace faults {
namespace {

constexpr std::size_t kChunk = 1 << 20;

}  // namespace

void WritePattern(const std::string& path, std::size_t size, unsigned seed) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::vector<char> chunk(kChunk);
  test_support::BytePattern pattern(seed);
  for (std::size_t written = 0; written < size;) {
    const std::size_t count = std::min(kChunk, size - written);
    for (std::size_t i = 0; i < count; ++i) chunk[i] = pattern.Next();
    out.write(chunk.data(), static_cast<std::streamsize>(count));
    written += count;
  }
  if (!out) throw std::runtime_error("cannot write " + path);
}

bool SameBytes(const std::string& a, const std::string& b) {
  std::ifstream first(a, std::ios::binary);
  std::ifstream second(b, std::ios::binary);
  if (!first || !second) return false;
  std::vector<char> one(kChunk);
  std::vector<char> two(kChunk);
  for (;;) {
    first.read(one.data(), static_cast<std::streamsize>(one.size()));
    second.read(two.data(), static_cast<std::streamsize>(two.size()));
    const auto got = static_cast<std::size_t>(first.gcount());
    if (got != static_cast<std::size_t>(second.gcount())) return false;
    if (std::memcmp(one.data(), two.data(), got) != 0) return false;
    if (got < kChunk) return true;  // both ended at the same byte
  }
}

}  // namespace faults
