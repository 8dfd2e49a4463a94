#include "tests/support/byte_pattern.h"

namespace test_support {

std::string PatternBytes(std::size_t size, unsigned seed) {
  BytePattern pattern(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = pattern.Next();
  return bytes;
}

}  // namespace test_support
