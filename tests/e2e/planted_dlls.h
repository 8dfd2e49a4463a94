#pragma once
// DLLs planted beside a program under the names of system DLLs, to show which of them the
// program loads from its own folder instead of the system's.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/process.h"

namespace e2e {

namespace fs = std::filesystem;

// Copies `exe` into `folder` beside the test DLL (VL_PLANTED_DLL) under each of `names`, each
// copy leaving NAME.dll.loaded beside itself when a process loads it and then refusing the load;
// tells Wine to look for these names in the program's folder first, as Windows does for DLLs
// that are not KnownDLLs; starts the copy there as `program` and waits until `started` holds.
// The names whose copy a process loaded; nothing, with `error` filled, where that could not be
// done. Wine's settings for the program go again at the end.
std::vector<std::string> LoadedWhenPlanted(const fs::path& exe, const fs::path& folder,
                                           const std::vector<std::string>& names, Program& program,
                                           const std::function<bool()>& started,
                                           std::string& error);

// The names of system DLLs that are not among Windows' KnownDLLs (Windows looks for each in a
// program's own folder first unless the program restricts its search), but for those that a
// bare window program (VL_BARE_WINDOW) loads from its own folder when planted there one at a
// time, in subfolders of `folder`: under Wine, the DLLs Wine loads into every process before the
// program's own code runs, which no program can be told apart from. Prints those. Fills `error`
// and returns nothing if a planted DLL leaves no mark when this process loads it (then no test of
// planted DLLs can fail), or the bare window neither showed nor ended.
std::vector<std::string> PlantingTargets(const fs::path& folder, std::string& error);

}  // namespace e2e
