#include "platform/win32/system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/temp_folder.h"

namespace platform::win32 {
namespace {

namespace fs = std::filesystem;

// The DLL that the build puts beside this test program (tests/support/planted_dll.cpp): loaded,
// it leaves a marker file beside itself.
constexpr wchar_t kPlanted[] = L"planted-probe.dll";
const fs::path kMarker = L"planted-probe.dll.loaded";

// The file of a module loaded in this process; of the program itself for nullptr.
fs::path ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  return fs::path(std::wstring(path, length));
}

// After the program's first step, a DLL is found by its name neither beside the program nor
// in the working folder, while the system's own DLLs load from the system folder.
TEST(DllSearch, FindsNothingBesideTheProgramOrInTheWorkingFolder) {
  const fs::path programFolder = ModulePath(nullptr).parent_path();
  test_support::TempWorkingFolder working;
  fs::remove(programFolder / kMarker);
  ASSERT_TRUE(fs::exists(programFolder / kPlanted));
  fs::copy_file(programFolder / kPlanted, fs::path(working.path()) / kPlanted);

  LoadDllsFromSystemFolderOnly();
  if (HMODULE module = LoadLibraryW(kPlanted)) FreeLibrary(module);
  EXPECT_FALSE(fs::exists(programFolder / kMarker));
  EXPECT_FALSE(fs::exists(fs::path(working.path()) / kMarker));

  wchar_t system[MAX_PATH];
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  HMODULE images = LoadSystemLibrary(L"msimg32.dll");
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(ModulePath(images).parent_path(), fs::path(std::wstring(system, length)));
}

}  // namespace
}  // namespace platform::win32
