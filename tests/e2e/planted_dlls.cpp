#include "tests/e2e/planted_dlls.h"

#include <windows.h>

#include <cstdlib>
#include <system_error>

#include "tests/e2e/process.h"
#include "tests/e2e/registry.h"
#include "tests/e2e/wait.h"
#include "tests/e2e/windows_ui.h"

namespace e2e {
namespace {

const std::string kMarkerSuffix = ".loaded";

fs::path FromEnvironment(const char* variable) {
  const char* value = std::getenv(variable);
  return value == nullptr ? fs::path() : fs::path(ToWindowsPath(value));
}

bool CopyInto(const fs::path& file, const fs::path& copy, std::string& error) {
  std::error_code failure;
  fs::create_directories(copy.parent_path(), failure);
  if (!fs::copy_file(file, copy, fs::copy_options::overwrite_existing, failure)) {
    error = "cannot copy " + file.string() + " to " + copy.string() + ": " + failure.message();
    return false;
  }
  return true;
}

}  // namespace

const std::vector<std::string>& PlantingTargets() {
  static const std::vector<std::string> names = {"uxtheme", "comctl32", "msimg32",   "dwmapi",
                                                 "version", "winmm",    "cryptbase", "profapi",
                                                 "userenv", "wtsapi32", "propsys",   "dbghelp"};
  return names;
}

PlantedDlls::PlantedDlls(fs::path folder, std::vector<std::string> names,
                         const std::string& exeName)
    : folder_(std::move(folder)),
      names_(std::move(names)),
      settingsKey_("Software\\Wine\\AppDefaults\\" + exeName) {
  const fs::path dll = FromEnvironment("VL_PLANTED_DLL");
  if (dll.empty()) {
    error_ = "VL_PLANTED_DLL is not set";
    return;
  }
  for (const std::string& name : names_) {
    if (!CopyInto(dll, folder_ / (name + ".dll"), error_)) return;
    // Native first: looked for along the search path, which starts at the program's folder
    // unless the program restricts it; Wine's own if none is found there.
    if (!WriteUserString(settingsKey_ + "\\DllOverrides", name, "native,builtin")) {
      error_ = "cannot write Wine's settings under " + settingsKey_;
      return;
    }
  }
}

PlantedDlls::~PlantedDlls() {
  DeleteUserKey(settingsKey_);
}

bool PlantedDlls::planted(std::string& error) const {
  error = error_;
  return error_.empty();
}

std::vector<std::string> PlantedDlls::Loaded() const {
  std::vector<std::string> loaded;
  for (const std::string& name : names_) {
    fs::path marker = folder_ / (name + ".dll");
    if (fs::exists(marker += kMarkerSuffix)) loaded.push_back(name);
  }
  return loaded;
}

bool PlantedDllLeavesItsMark(const fs::path& folder) {
  std::string error;
  const fs::path copy = folder / "plant-check.dll";
  if (!CopyInto(FromEnvironment("VL_PLANTED_DLL"), copy, error)) return false;
  if (HMODULE module = LoadLibraryW(copy.wstring().c_str())) FreeLibrary(module);
  return fs::exists(folder / ("plant-check.dll" + kMarkerSuffix));
}

std::vector<std::string> LoadedByABareWindow(const fs::path& folder,
                                             const std::vector<std::string>& names,
                                             std::string& error) {
  const fs::path bareWindow = FromEnvironment("VL_BARE_WINDOW");
  if (bareWindow.empty()) {
    error = "VL_BARE_WINDOW is not set";
    return {};
  }
  std::vector<std::string> loaded;
  for (const std::string& name : names) {
    // One name at a time: a refused DLL may end the program before it loads the next one.
    const fs::path exe = folder / name / bareWindow.filename();
    PlantedDlls planted(exe.parent_path(), {name}, exe.filename().string());
    Program program;
    if (!planted.planted(error) || !CopyInto(bareWindow, exe, error) ||
        !program.Start(exe.string(), exe.parent_path().string(), error)) {
      return {};
    }
    if (!WaitUntil([&] {
          return !program.Running() || FindWindowOf(program.id(), "Bench floor") != nullptr;
        })) {
      error = "the bare window program with " + name + " planted neither showed nor ended";
      return {};
    }
    program.Kill();
    if (!planted.Loaded().empty()) loaded.push_back(name);
  }
  return loaded;
}

}  // namespace e2e
