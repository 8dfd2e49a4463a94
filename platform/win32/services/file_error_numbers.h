#pragma once
// How a failed file operation's Win32 error code reads as the runtime's error number.

namespace platform::win32 {

// 2 → 53 (file not found), 3 → 76 (path not found), 5, 19, 32, 33 → 70 (permission denied:
// access denied, write protected, sharing or lock violation), 39 and 112 → 61 (disk full),
// anything else → 75 (path/file access error).
int FileErrorNumber(unsigned long win32Code);

// True for the codes that mean the disk has no room left.
bool IsDiskFullCode(unsigned long win32Code);

}  // namespace platform::win32
