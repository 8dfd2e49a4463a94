#include "platform/win32/tick_count_64.h"

#include <atomic>

#include "platform/win32/system.h"

namespace platform::win32 {
namespace {

using TickCount64Function = ULONGLONG(WINAPI*)();

constexpr std::uint64_t kNothingGivenOut = ~std::uint64_t{0};
// The count last given out where the system has no GetTickCount64: it outlives the wraps of the
// 32-bit count as long as one reading falls between each two of them.
std::atomic<std::uint64_t> lastGivenOut{kNothingGivenOut};

ULONGLONG WINAPI CountFromTickCount() {
  std::uint64_t last = lastGivenOut.load();
  for (;;) {
    const std::uint32_t now = GetTickCount();
    const std::uint64_t next = last == kNothingGivenOut ? now : ExtendTickCount(last, now);
    if (next == last || lastGivenOut.compare_exchange_weak(last, next)) return next;
  }
}

ULONGLONG WINAPI LookUpTickCount64();
// The system's own once looked up, else the count of our own. Kept without a guarded static:
// the thread library that guards statics calls this from its own waits.
std::atomic<TickCount64Function> tickCount64{&LookUpTickCount64};

ULONGLONG WINAPI LookUpTickCount64() {
  const auto system =
      ModuleFunction<TickCount64Function>(GetModuleHandleW(L"kernel32.dll"), "GetTickCount64");
  tickCount64.store(system != nullptr ? system : &CountFromTickCount);
  return tickCount64.load()();
}

ULONGLONG WINAPI TickCount64Entry() {
  return tickCount64.load()();
}

}  // namespace

std::uint64_t TickCount64() {
  return TickCount64Entry();
}

std::uint64_t ExtendTickCount(std::uint64_t last, std::uint32_t now) {
  const std::uint32_t ahead = now - static_cast<std::uint32_t>(last);
  return ahead < 0x80000000u ? last + ahead : last;
}

}  // namespace platform::win32

// The import slot through which the thread library calls GetTickCount64: ours, so the linker
// takes no import of it from kernel32 (platform/win32/CMakeLists.txt links it into every
// program).
#ifdef _WIN64
#define VL_TICK_COUNT_64_IMPORT "__imp_GetTickCount64"
#else
#define VL_TICK_COUNT_64_IMPORT "__imp__GetTickCount64@0"
#endif
extern "C" __attribute__((used)) ULONGLONG(WINAPI* const vl_tick_count_64_import)() __asm__(
    VL_TICK_COUNT_64_IMPORT) = &platform::win32::TickCount64Entry;
