// The end-to-end driver: starts a program under test and works it like a user, through its
// windows, message boxes, menus and notification-area icon, checking files and settings.
//
//   e2e_driver crosshairs|vorlane PROGRAM.EXE [GoogleTest options]
//
// Runs on Windows and under Wine; a POSIX path to the program is taken as Wine maps it.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>

#include "tests/e2e/process.h"
#include "tests/e2e/scenario.h"

namespace e2e {

namespace {
Target target;
}

const Target& CurrentTarget() {
  return target;
}

}  // namespace e2e

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 3 || (std::string(argv[1]) != "crosshairs" && std::string(argv[1]) != "vorlane")) {
    std::fprintf(stderr, "usage: e2e_driver crosshairs|vorlane PROGRAM.EXE [gtest options]\n");
    return 2;
  }
  e2e::target = {argv[1], e2e::ToWindowsPath(argv[2])};
  // Each program has its own scenarios, in the suite named after it ("Crosshairs"); a filter
  // given on the command line narrows them.
  std::string suite = e2e::target.program;
  suite[0] = static_cast<char>(std::toupper(suite[0]));
  std::string filter = GTEST_FLAG_GET(filter);
  GTEST_FLAG_SET(filter, filter == "*" ? suite + ".*" : filter);
  return RUN_ALL_TESTS();
}
