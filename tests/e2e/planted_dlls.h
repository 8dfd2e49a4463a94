#pragma once
// DLLs planted beside a program under the names of system DLLs, to show which of them the
// program loads from its own folder instead of the system's.
#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;

// System DLLs that are not among Windows' KnownDLLs: Windows looks for each in a program's own
// folder first unless the program restricts its search, so a planted DLL takes these names.
const std::vector<std::string>& PlantingTargets();

// The test DLL (VL_PLANTED_DLL names it) copied into `folder` under each of `names`, each copy
// leaving NAME.dll.loaded beside itself when a process loads it and then refusing the load; and
// Wine told to look for
// these names in the folder of the program `exeName` first, as Windows does for DLLs that are
// not KnownDLLs. That is said in Wine's per-program settings in the registry: Wine takes a
// started program's WINEDLLOVERRIDES from the starting process's own, not from the environment
// it is given.
class PlantedDlls {
 public:
  PlantedDlls(fs::path folder, std::vector<std::string> names, const std::string& exeName);
  ~PlantedDlls();  // Wine's settings for the program go again
  PlantedDlls(const PlantedDlls&) = delete;
  PlantedDlls& operator=(const PlantedDlls&) = delete;

  // False if a copy or a setting could not be made; the reason in `error`.
  bool planted(std::string& error) const;
  // The names whose copy a process has loaded.
  std::vector<std::string> Loaded() const;

 private:
  fs::path folder_;
  std::vector<std::string> names_;
  std::string settingsKey_;
  std::string error_;
};

// Whether a copy of the test DLL that this process tries to load leaves its mark in `folder`:
// without that, no test of planted DLLs can fail.
bool PlantedDllLeavesItsMark(const fs::path& folder);

// The names among `names` that a bare window program (VL_BARE_WINDOW) loads from its own folder
// when planted there one at a time, in subfolders of `folder`: under Wine, the DLLs Wine loads
// into every process before the program's own code runs. A program cannot be told apart from
// it for those. Fills `error` and returns nothing if the bare window neither showed nor ended.
std::vector<std::string> LoadedByABareWindow(const fs::path& folder,
                                             const std::vector<std::string>& names,
                                             std::string& error);

}  // namespace e2e
