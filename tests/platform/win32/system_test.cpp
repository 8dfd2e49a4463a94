#include "platform/win32/system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/win32/tick_count_64.h"
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

fs::path SystemFolder() {
  wchar_t system[MAX_PATH];
  return fs::path(std::wstring(system, GetSystemDirectoryW(system, MAX_PATH)));
}

// Windows XP cannot keep the program's folder out of the search: there the system's DLLs are
// loaded by their full paths. First in this program, before the search is restricted below.
TEST(DllSearch, OnXpLoadsSystemDllsByFullPathOnly) {
  const fs::path marker = ModulePath(nullptr).parent_path() / kMarker;
  const LaterSystemFunctions xp{};
  LoadDllsFromSystemFolderOnly(xp);
  fs::remove(marker);
  LoadLibraryW(kPlanted);  // the planted DLL refuses every load, but leaves its marker
  ASSERT_TRUE(fs::remove(marker)) << "the search is restricted already: nothing to prove";
  EXPECT_EQ(LoadSystemLibrary(kPlanted, xp), nullptr);
  EXPECT_FALSE(fs::exists(marker));
  EXPECT_EQ(ModulePath(LoadSystemLibrary(L"msimg32.dll", xp)).parent_path(), SystemFolder());
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

  HMODULE images = LoadSystemLibrary(L"msimg32.dll");
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(ModulePath(images).parent_path(), SystemFolder());
}

// Each Windows lets the message through a filter of its own: 7 and later the window's, Vista
// the process's, XP none.
std::string filtered;
BOOL WINAPI ProcessFilter(UINT message, DWORD action) {
  filtered = "process " + std::to_string(message) + " " + std::to_string(action);
  return FALSE;
}
BOOL WINAPI WindowFilter(HWND window, UINT message, DWORD action, void* /*status*/) {
  filtered = "window " + std::to_string(window == GetDesktopWindow()) + " " +
             std::to_string(message) + " " + std::to_string(action);
  return TRUE;
}

TEST(MessageFilter, LetsTheMessageThroughTheFilterOfEachWindows) {
  const LaterSystemFunctions xp{}, vista{.changeWindowMessageFilter = ProcessFilter},
      seven{.changeWindowMessageFilter = ProcessFilter,
            .changeWindowMessageFilterEx = WindowFilter};
  EXPECT_TRUE(AllowFromAnyProgram(GetDesktopWindow(), 49000, xp));
  EXPECT_EQ(filtered, "");
  EXPECT_FALSE(AllowFromAnyProgram(GetDesktopWindow(), 49000, vista));  // the filter's answer
  EXPECT_EQ(filtered, "process 49000 " + std::to_string(MSGFLT_ADD));
  EXPECT_TRUE(AllowFromAnyProgram(GetDesktopWindow(), 49000, seven));
  EXPECT_EQ(filtered, "window 1 49000 " + std::to_string(MSGFLT_ALLOW));
}

// Without GetTickCount64 (XP) the count is kept from the 32-bit one, on across its wraps.
TEST(TickCount64, CountsOnAcrossTheWrapOfTheTickCountAndNeverBack) {
  EXPECT_EQ(ExtendTickCount(1000, 1500), 1500u);
  EXPECT_EQ(ExtendTickCount(0xFFFFFF00u, 0x10), 0x100000010u);
  EXPECT_EQ(ExtendTickCount(0x3FFFFFF00u, 0x10), 0x400000010u);
  // The reading of a thread that lost the race to a later one.
  EXPECT_EQ(ExtendTickCount(0x100000010u, 0x8), 0x100000010u);
}

}  // namespace
}  // namespace platform::win32
