#include "tests/e2e/usage.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "tests/e2e/windows_ui.h"

namespace e2e {

namespace {

// What a long run may gain over the warm-up before it counts as a leak: caches and heaps settle
// by small steps, a leak per cycle shows far above these.
constexpr long long kObjectMargin = 20;
constexpr long long kMemoryMargin = 4 * 1024 * 1024;

std::optional<DWORD> GuiObjects(HANDLE process, DWORD kind) {
  const DWORD count = GetGuiResources(process, kind);
  // A program with a window always holds some of both kinds: zero means "not counted".
  if (count == 0) return std::nullopt;
  return count;
}

// The GDI handle table that every process keeps in its own memory, its address in the process
// environment block. Wine keeps one too, while its GetGuiResources counts nothing.
struct GdiHandleEntry {
  UINT64 object;
  ULONG owner;
  USHORT unique;
  UCHAR type;  // 0 for a free entry
  UCHAR flags;
  UINT64 userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr std::size_t kGdiTableEntries = 0x10000;
constexpr std::size_t kPebGdiTableOffset = 0x94;  // in the 32-bit process environment block

std::optional<DWORD> GdiTableCount(HANDLE process) {
  PROCESS_BASIC_INFORMATION basic{};
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr))
    return std::nullopt;
  void* table = nullptr;
  if (!ReadProcessMemory(process,
                         reinterpret_cast<char*>(basic.PebBaseAddress) + kPebGdiTableOffset, &table,
                         sizeof table, nullptr) ||
      table == nullptr) {
    return std::nullopt;
  }
  std::vector<GdiHandleEntry> entries(kGdiTableEntries);
  if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof entries[0],
                         nullptr)) {
    return std::nullopt;
  }
  return static_cast<DWORD>(std::count_if(entries.begin(), entries.end(),
                                          [](const GdiHandleEntry& e) { return e.type != 0; }));
}

// Whether the table is read rightly: eight new brushes of this process must show as eight more.
bool GdiTableCounts() {
  static const bool counts = [] {
    const auto before = GdiTableCount(GetCurrentProcess());
    HBRUSH brushes[8];
    for (int i = 0; i < 8; ++i) brushes[i] = CreateSolidBrush(RGB(i, 0, 0));
    const auto during = GdiTableCount(GetCurrentProcess());
    for (HBRUSH brush : brushes) DeleteObject(brush);
    return before && during && *during == *before + 8;
  }();
  return counts;
}

// The kernel handles of `processId` in the system's list of all handles, where the process
// itself does not tell (Wine answers 0).
std::optional<DWORD> ListedHandles(DWORD processId) {
  std::vector<char> buffer(1 << 16);
  ULONG needed = 0;
  while (const NTSTATUS status = NtQuerySystemInformation(
             SystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed)) {
    if (status != static_cast<NTSTATUS>(0xC0000004) /* STATUS_INFO_LENGTH_MISMATCH */ ||
        buffer.size() > (64u << 20)) {
      return std::nullopt;
    }
    buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
  }
  const auto* list = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
  const auto listed = std::min<std::size_t>(
      list->Count,
      (buffer.size() - offsetof(SYSTEM_HANDLE_INFORMATION, Handle)) / sizeof(SYSTEM_HANDLE_ENTRY));
  const auto owned =
      std::count_if(list->Handle, list->Handle + listed,
                    [&](const SYSTEM_HANDLE_ENTRY& e) { return e.OwnerPid == processId; });
  if (owned == 0) return std::nullopt;
  return static_cast<DWORD>(owned);
}

// One thing a program holds: nothing where the system does not count it (Wine's
// GetGuiResources answers 0).
struct Count {
  const char* what;
  std::optional<long long> value;
  long long margin;
};
using Usage = std::vector<Count>;

// Nothing if the process cannot be measured (it has ended, or access is refused).
std::optional<Usage> Measure(const Program& program) {
  HANDLE process = program.handle();
  if (!program.Running()) return std::nullopt;
  auto gdiObjects = GuiObjects(process, GR_GDIOBJECTS);
  if (!gdiObjects && GdiTableCounts()) gdiObjects = GdiTableCount(process);
  DWORD count = 0;
  const auto handles = GetProcessHandleCount(process, &count) && count != 0
                           ? std::optional<DWORD>(count)
                           : ListedHandles(program.id());
  long long windows = 0;  // the process's windows, top-level and below
  for (HWND window : WindowsOf(program.id(), "", true))
    windows += 1 + static_cast<long long>(Descendants(window).size());
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                            sizeof memory)) {
    return std::nullopt;
  }
  // Wine leaves PrivateUsage at zero; the pagefile usage is the same committed private memory.
  const auto privateBytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
  return Usage{{"GDI objects", gdiObjects, kObjectMargin},
               {"USER objects", GuiObjects(process, GR_USEROBJECTS), kObjectMargin},
               {"handles", handles, kObjectMargin},
               {"windows", windows, kObjectMargin},
               {"private bytes", static_cast<long long>(privateBytes), kMemoryMargin}};
}

std::string Describe(const Usage& usage) {
  std::string text;
  for (const Count& count : usage) {
    text += std::string(text.empty() ? "" : ", ") + count.what + " " +
            (count.value ? std::to_string(*count.value) : "n/a");
  }
  return text;
}

}  // namespace

int Cycles(int full, int shortened) {
  const char* soak = std::getenv("VL_SOAK");
  return soak != nullptr && std::string(soak) == "full" ? full : shortened;
}

void Soak(const Program& program, const std::string& name, int cycles,
          const std::function<bool(int)>& cycle) {
  const int warmUp = std::max(1, cycles / 20);
  std::optional<Usage> before;
  const auto started = std::chrono::steady_clock::now();
  for (int i = 0; i < cycles; ++i) {
    if (i == warmUp) {
      before = Measure(program);
      ASSERT_TRUE(before) << name << ": cannot measure the program";
    }
    ASSERT_TRUE(cycle(i)) << name << ": cycle " << i + 1 << " of " << cycles << " failed";
    ASSERT_TRUE(program.Running()) << name << ": the program ended in cycle " << i + 1;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  const auto after = Measure(program);
  ASSERT_TRUE(after) << name << ": cannot measure the program at the end";
  if (!before) before = after;  // a single cycle has no warm-up to compare with
  std::printf("%s: %d cycles in %.1f s\n  after %d: %s\n  at the end: %s\n", name.c_str(), cycles,
              seconds, warmUp, Describe(*before).c_str(), Describe(*after).c_str());
  std::fflush(stdout);
  for (std::size_t i = 0; i < after->size(); ++i) {
    const Count& was = (*before)[i];
    const Count& is = (*after)[i];
    if (was.value && is.value) {
      EXPECT_LE(*is.value - *was.value, is.margin)
          << is.what << " grew from " << *was.value << " to " << *is.value;
    }
  }
}

}  // namespace e2e
