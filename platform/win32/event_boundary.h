#pragma once
// The last line of defence around everything the system calls back: no C++ exception may
// reach the system's own frames (MinGW's 32-bit unwinder cannot pass through them). The
// runtime's event boundary already handles runtime errors and the end of the program; whatever
// else still arrives here is reported and ends the program.
#include <string>

#include "platform/win32/windows_api.h"

namespace platform::win32 {

// The title of the last-resort report: the program's.
void SetReportTitle(std::string title);

// The text of the last-resort report for the exception being handled.
std::string EscapedExceptionText();

// Reports the exception being handled and ends the process; call only from a catch block.
[[noreturn]] void ReportEscapedExceptionAndExit() noexcept;

// Installs a terminate handler that reports the same way, for exceptions that escape outside
// any window procedure (for instance from the program's entry point).
void InstallTerminateReport();

// A window procedure wrapped in the boundary.
template <LRESULT (*Procedure)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK Guarded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    return Procedure(window, message, wParam, lParam);
  } catch (...) {
    ReportEscapedExceptionAndExit();
  }
}

}  // namespace platform::win32
