#pragma once
// What a running program holds: its GDI and USER objects, kernel handles, windows and private
// memory, measured from outside so that a long run can show whether any of them keeps growing.
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

namespace e2e {

struct Usage {
  // Nothing where the system does not count them (Wine's GetGuiResources answers 0).
  std::optional<DWORD> gdiObjects;
  std::optional<DWORD> userObjects;
  std::optional<DWORD> handles;  // kernel handles: files, keys, events, ...
  DWORD windows = 0;             // the process's windows, top-level and below
  std::size_t privateBytes = 0;
};

// Nothing if the process cannot be measured (it has ended, or access is refused).
std::optional<Usage> MeasureUsage(HANDLE process, DWORD processId);

std::string Describe(const Usage& usage);

}  // namespace e2e
