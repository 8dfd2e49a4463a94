#pragma once
// Large test files, written and compared in chunks: used by the fault tests on every platform.
#include <cstddef>
#include <string>

namespace faults {

// Writes `size` bytes of a pattern that differs from offset to offset and from seed to seed.
void WritePattern(const std::string& path, std::size_t size, unsigned seed);
// True if both files exist and hold the same bytes.
bool SameBytes(const std::string& a, const std::string& b);

}  // namespace faults
