#pragma once
// GetTickCount64 for the thread library that the toolchain links into every program. The library
// calls it (Windows Vista and later) through an import, which would keep the programs from
// starting on Windows XP; the build points that import at TickCount64 instead, which calls the
// system's own where there is one and else keeps a count of its own from GetTickCount.
#include <cstdint>

namespace platform::win32 {

// The milliseconds since Windows started.
std::uint64_t TickCount64();

// `last`, the count last given out, moved on to `now`, a reading of the 32-bit tick count, which
// goes back to 0 every 49.7 days. A reading older than `last` (that of a thread that lost a
// race to another) gives `last` again: the count never goes back.
std::uint64_t ExtendTickCount(std::uint64_t last, std::uint32_t now);

}  // namespace platform::win32
