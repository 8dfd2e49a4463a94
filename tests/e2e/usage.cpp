#include "tests/e2e/usage.h"

#include <psapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace e2e {

namespace {

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

using QueryInformationProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
using QuerySystemInformation = LONG(WINAPI*)(int, void*, ULONG, ULONG*);

template <typename Function>
Function FromNtdll(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
}

std::optional<DWORD> GdiTableCount(HANDLE process) {
  static const auto query = FromNtdll<QueryInformationProcess>("NtQueryInformationProcess");
  if (query == nullptr) return std::nullopt;
  struct {
    LONG exitStatus;
    void* peb;
    ULONG_PTR affinity;
    LONG basePriority;
    ULONG_PTR processId;
    ULONG_PTR parentId;
  } basic{};
  if (query(process, 0 /* ProcessBasicInformation */, &basic, sizeof basic, nullptr) != 0) {
    return std::nullopt;
  }
  void* table = nullptr;
  if (!ReadProcessMemory(process, static_cast<char*>(basic.peb) + kPebGdiTableOffset, &table,
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
  static const auto query = FromNtdll<QuerySystemInformation>("NtQuerySystemInformation");
  if (query == nullptr) return std::nullopt;
  struct Entry {
    ULONG ownerId;
    UCHAR objectType;
    UCHAR flags;
    USHORT value;
    void* object;
    ULONG access;
  };
  std::vector<char> buffer(1 << 16);
  for (;;) {
    ULONG needed = 0;
    const LONG status = query(16 /* SystemHandleInformation */, buffer.data(),
                              static_cast<ULONG>(buffer.size()), &needed);
    if (status == 0) break;
    if (status != static_cast<LONG>(0xC0000004) /* STATUS_INFO_LENGTH_MISMATCH */ ||
        buffer.size() > (64u << 20)) {
      return std::nullopt;
    }
    buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
  }
  ULONG count = 0;
  std::memcpy(&count, buffer.data(), sizeof count);
  const char* first = buffer.data() + sizeof(ULONG);
  DWORD owned = 0;
  for (ULONG i = 0; i < count && (i + 1) * sizeof(Entry) + sizeof(ULONG) <= buffer.size(); ++i) {
    Entry entry;
    std::memcpy(&entry, first + i * sizeof(Entry), sizeof entry);
    if (entry.ownerId == processId) ++owned;
  }
  if (owned == 0) return std::nullopt;
  return owned;
}

struct WindowCount {
  DWORD processId;
  DWORD count;
};

BOOL CALLBACK CountChild(HWND, LPARAM data) {
  ++reinterpret_cast<WindowCount*>(data)->count;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM data) {
  auto* windows = reinterpret_cast<WindowCount*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != windows->processId) return TRUE;
  ++windows->count;
  EnumChildWindows(window, CountChild, data);
  return TRUE;
}

}  // namespace

std::optional<Usage> MeasureUsage(HANDLE process, DWORD processId) {
  if (process == nullptr || WaitForSingleObject(process, 0) != WAIT_TIMEOUT) return std::nullopt;
  Usage usage;
  usage.gdiObjects = GuiObjects(process, GR_GDIOBJECTS);
  if (!usage.gdiObjects && GdiTableCounts()) usage.gdiObjects = GdiTableCount(process);
  usage.userObjects = GuiObjects(process, GR_USEROBJECTS);
  DWORD handles = 0;
  if (GetProcessHandleCount(process, &handles) && handles != 0) {
    usage.handles = handles;
  } else {
    usage.handles = ListedHandles(processId);
  }
  WindowCount windows{processId, 0};
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&windows));
  usage.windows = windows.count;
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                            sizeof memory)) {
    return std::nullopt;
  }
  // Wine leaves PrivateUsage at zero; the pagefile usage is the same committed private memory.
  usage.privateBytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
  return usage;
}

std::string Describe(const Usage& usage) {
  auto count = [](const std::optional<DWORD>& value) {
    return value ? std::to_string(*value) : std::string("n/a");
  };
  return "GDI " + count(usage.gdiObjects) + ", USER " + count(usage.userObjects) + ", handles " +
         count(usage.handles) + ", windows " + std::to_string(usage.windows) + ", private " +
         std::to_string(usage.privateBytes / 1024) + " KiB";
}

}  // namespace e2e
