// The Windows fault tests, and the other programs they need: run with --copy the program copies
// a large archive as the programs do (so that the test can end it half-way); with
// --enable-all-and-stop it makes the copies of an Enable with both expansions as a switch does
// and is ended at once after the last, before they are committed.
#include <gtest/gtest.h>

#include <string>

#include "platform/services/file_copier.h"
#include "platform/win32/services/win32_file_system.h"
#include "platform/win32/windows_api.h"
#include "tests/faults/mod_folder.h"
#include "vorlane/mode_switch.h"

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "--copy") {
    platform::win32::Win32FileSystem files;
    return faults::CopyLargeArchive(files);
  }
  if (mode == "--enable-all-and-stop") {
    platform::win32::Win32FileSystem files;
    platform::FileCopier(files).CopyAll(
        vorlane::ModeCopySteps(vorlane::Mode::kEnabled, "True", "True"), "False", "True");
    TerminateProcess(GetCurrentProcess(), 9);
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
