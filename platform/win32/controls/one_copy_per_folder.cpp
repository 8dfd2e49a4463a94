#include "platform/win32/controls/one_copy_per_folder.h"

#include <cstdint>
#include <cstdio>

#include "platform/win32/services/folder_identity.h"
#include "platform/win32/system.h"

namespace platform::win32 {
namespace {

constexpr DWORD kWaitForTheFirstCopyMs = 5000;
constexpr DWORD kWaitStepMs = 100;
constexpr UINT kWaitForAnAnswerMs = 5000;

// FNV-1a: short, and the same in every copy of every version of the program.
std::uint64_t Hash(const std::string& text) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3u;
  }
  return hash;
}

struct Search {
  const char* name;
  HWND found;
};

BOOL CALLBACK FindMarked(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  if (GetPropA(window, search.name) == nullptr) return TRUE;
  search.found = window;
  return FALSE;
}

HWND FindClaimWindow(const std::string& name) {
  Search search{name.c_str(), nullptr};
  EnumWindows(&FindMarked, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Sent rather than posted: only an answer tells a copy that works from one that hangs.
bool AskedToComeBack(HWND first) {
  // The user started this copy: the first may take the foreground from it.
  DWORD process = 0;
  GetWindowThreadProcessId(first, &process);
  AllowSetForegroundWindow(process);
  DWORD_PTR answer = 0;
  return SendMessageTimeoutA(first, kComeBackMessage, 0, 0, SMTO_ABORTIFHUNG, kWaitForAnAnswerMs,
                             &answer) != 0 &&
         static_cast<LRESULT>(answer) == kCameBack;
}

}  // namespace

std::string FolderClaimName(const std::string& program) {
  const std::string identity = WorkingFolderIdentity();
  if (identity.empty()) return {};
  char digits[17] = {};
  const auto hash = Hash(identity);
  std::snprintf(digits, sizeof digits, "%08lx%08lx", static_cast<unsigned long>(hash >> 32),
                static_cast<unsigned long>(hash & 0xFFFFFFFFu));
  return "Local\\" + program + "-" + digits;
}

FolderClaim ClaimOrHandOver(const std::string& name, HANDLE& claim) {
  claim = CreateMutexA(nullptr, TRUE, name.c_str());
  const DWORD error = GetLastError();
  if (claim != nullptr && error != ERROR_ALREADY_EXISTS) return FolderClaim::kClaimed;
  if (claim == nullptr) {
    if (error != ERROR_ACCESS_DENIED) return FolderClaim::kClaimed;
    // Where the holder's claim still lets us wait on it, its end frees the folder for us.
    claim = OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
  }
  FolderClaim outcome = FolderClaim::kHolderNotAnswering;
  for (DWORD waited = 0; waited < kWaitForTheFirstCopyMs; waited += kWaitStepMs) {
    if (HWND first = FindClaimWindow(name)) {
      if (AskedToComeBack(first)) {
        outcome = FolderClaim::kHandedOver;
        break;
      }
      // A window gone meanwhile is a copy ending, not one that hangs.
      if (IsWindow(first)) break;
    }
    if (claim == nullptr) {
      Sleep(kWaitStepMs);
      continue;
    }
    const DWORD waitResult = WaitForSingleObject(claim, kWaitStepMs);
    if (waitResult == WAIT_OBJECT_0 || waitResult == WAIT_ABANDONED) return FolderClaim::kClaimed;
  }
  if (claim != nullptr) CloseHandle(claim);
  claim = nullptr;
  return outcome;
}

void MarkClaimWindow(HWND window, const std::string& name) {
  SetPropA(window, name.c_str(), window);
  // Also when this copy runs elevated and the later one does not.
  AllowFromAnyProgram(window, kComeBackMessage);
}

void UnmarkClaimWindow(HWND window, const std::string& name) {
  RemovePropA(window, name.c_str());
}

}  // namespace platform::win32
