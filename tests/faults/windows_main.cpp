// The Windows fault tests, and the other programs they need: run with --copy SOURCE DESTINATION
// the program copies as the programs do (so that the test can kill it half-way); with
// --copy-all SOURCE DESTINATION... it makes all the copies as a switch does and is ended at
// once after the last, before they are committed; with --hold FILE [MS] it keeps the file open
// without sharing until it is ended, or for MS milliseconds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/services/file_copier.h"
#include "platform/services/runtime_error.h"
#include "platform/win32/services/win32_file_system.h"
#include "platform/win32/windows_api.h"
#include "tests/support/copy_one.h"

namespace {

constexpr DWORD kHoldAtMostMs = 120000;
constexpr DWORD kHoldRetryMs = 5;

int Copy(const std::string& source, const std::string& destination) {
  platform::win32::Win32FileSystem files;
  platform::FileCopier copier(files);
  try {
    test_support::CopyOne(copier, source, destination);
  } catch (const platform::RuntimeError& error) {
    return error.number();
  }
  return 0;
}

int CopyAllAndStop(const std::vector<platform::CopyStep>& steps) {
  platform::win32::Win32FileSystem files;
  platform::FileCopier copier(files);
  copier.CopyAll(steps, "False", "True");
  TerminateProcess(GetCurrentProcess(), 9);
  return 1;
}

int Hold(const std::string& file, DWORD forMs) {
  // The test looks for the hold by opening the file for a moment itself: meanwhile, again.
  HANDLE handle = INVALID_HANDLE_VALUE;
  for (DWORD tried = 0; handle == INVALID_HANDLE_VALUE; tried += kHoldRetryMs) {
    handle = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) break;
    if (GetLastError() != ERROR_SHARING_VIOLATION || tried >= kHoldAtMostMs) return 1;
    Sleep(kHoldRetryMs);
  }
  Sleep(forMs);
  CloseHandle(handle);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "--copy" && argc == 4) return Copy(argv[2], argv[3]);
  if (mode == "--copy-all" && argc % 2 == 0) {
    std::vector<platform::CopyStep> steps;
    for (int i = 2; i + 1 < argc; i += 2) steps.push_back({argv[i], argv[i + 1]});
    return CopyAllAndStop(steps);
  }
  if (mode == "--hold" && argc == 3) return Hold(argv[2], kHoldAtMostMs);
  if (mode == "--hold" && argc == 4) return Hold(argv[2], std::stoul(argv[3]));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
