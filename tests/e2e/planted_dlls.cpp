#include "tests/e2e/planted_dlls.h"

#include <windows.h>

#include <cstdlib>
#include <iostream>
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

std::vector<std::string> LoadedWhenPlanted(const fs::path& exe, const fs::path& folder,
                                           const std::vector<std::string>& names, Program& program,
                                           const std::function<bool()>& started,
                                           std::string& error) {
  const fs::path dll = FromEnvironment("VL_PLANTED_DLL");
  const fs::path copy = folder / exe.filename();
  // Said in Wine's per-program settings in the registry: Wine takes a started program's
  // WINEDLLOVERRIDES from the starting process's own, not from the environment it is given.
  const std::string settings = "Software\\Wine\\AppDefaults\\" + copy.filename().string();
  if (dll.empty()) error = "VL_PLANTED_DLL is not set";
  bool planted = !dll.empty() && CopyInto(exe, copy, error);
  for (const std::string& name : names) {
    // Native first: looked for along the search path, which starts at the program's folder
    // unless the program restricts it; Wine's own if none is found there.
    planted = planted && CopyInto(dll, folder / (name + ".dll"), error);
    if (planted && !WriteUserString(settings + "\\DllOverrides", name, "native,builtin")) {
      error = "cannot write Wine's settings under " + settings;
      planted = false;
    }
  }
  std::vector<std::string> loaded;
  if (planted && program.Start(copy.string(), folder.string(), error) && started()) {
    for (const std::string& name : names) {
      if (fs::exists(folder / (name + ".dll" + kMarkerSuffix))) loaded.push_back(name);
    }
  } else if (error.empty()) {
    error = copy.string() + " among planted DLLs neither ended nor got as far as its window";
  }
  DeleteUserKey(settings);
  return loaded;
}

std::vector<std::string> PlantingTargets(const fs::path& folder, std::string& error) {
  const fs::path bareWindow = FromEnvironment("VL_BARE_WINDOW");
  const fs::path check = folder / "plant-check.dll";
  if (bareWindow.empty() || !CopyInto(FromEnvironment("VL_PLANTED_DLL"), check, error)) {
    error = bareWindow.empty() ? "VL_BARE_WINDOW is not set" : error;
    return {};
  }
  if (HMODULE module = LoadLibraryW(check.wstring().c_str())) FreeLibrary(module);
  if (!fs::exists(check.string() + kMarkerSuffix)) {
    error = "the planted DLL leaves no mark when loaded";
    return {};
  }
  std::vector<std::string> names;
  std::cout << "loaded by a bare window program too, not told apart:";
  for (const std::string name :
       {"uxtheme", "comctl32", "msimg32", "dwmapi", "version", "winmm", "cryptbase", "profapi",
        "userenv", "wtsapi32", "propsys", "dbghelp"}) {
    // One name at a time: a refused DLL may end the program before it loads the next one.
    Program program;
    const auto loaded = LoadedWhenPlanted(
        bareWindow, folder / name, {name}, program,
        [&] {
          const bool seen = WaitUntil([&] {
            return !program.Running() || FindWindowOf(program.id(), "Bench floor") != nullptr;
          });
          program.Kill();
          return seen;
        },
        error);
    if (!error.empty()) return {};
    if (loaded.empty()) {
      names.push_back(name);
    } else {
      std::cout << " " << name;
    }
  }
  std::cout << std::endl;
  return names;
}

}  // namespace e2e
