#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

namespace resources_tests {

using ByteSpan = std::span<const unsigned char>;

// Reads that fail loudly instead of running past the end of a truncated file.
inline std::uint32_t ByteAt(ByteSpan bytes, std::size_t at) {
  if (at >= bytes.size()) throw std::out_of_range("read past the end of the file");
  return bytes[at];
}

inline std::uint32_t Le16(ByteSpan bytes, std::size_t at) {
  return ByteAt(bytes, at) | ByteAt(bytes, at + 1) << 8;
}

inline std::uint32_t Le32(ByteSpan bytes, std::size_t at) {
  return Le16(bytes, at) | Le16(bytes, at + 2) << 16;
}

inline std::int32_t LeSigned32(ByteSpan bytes, std::size_t at) {
  return static_cast<std::int32_t>(Le32(bytes, at));
}

inline std::uint32_t Be16(ByteSpan bytes, std::size_t at) {
  return ByteAt(bytes, at) << 8 | ByteAt(bytes, at + 1);
}

}  // namespace resources_tests
