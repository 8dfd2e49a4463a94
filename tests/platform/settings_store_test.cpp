#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "platform/services/runtime_error.h"
#include "tests/platform/error_of.h"

// The same cases run on the store of each backend: in memory in the native tests, the registry
// under Wine; what only the registry has comes at the end.
#ifdef _WIN32
#include "platform/win32/services/registry_settings_store.h"
#include "platform/win32/windows_api.h"
#else
#include "platform/headless/memory_settings_store.h"
#endif

namespace platform {
namespace {

#ifdef _WIN32
using Store = win32::RegistrySettingsStore;
// Each run works under an application name of its own and removes it afterwards.
const std::string kApp = "VlStoreTest" + std::to_string(GetCurrentProcessId());
#else
using Store = headless::MemorySettingsStore;
const std::string kApp = "VlStoreTest";
#endif

class SettingsStoreTest : public ::testing::Test {
 protected:
#ifdef _WIN32
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, Store::ApplicationKeyPath(kApp).c_str());
  }

  // Writes a value of any type directly, as another program or an old version might have.
  void WriteRaw(const std::string& key, DWORD type, const void* data, DWORD size) {
    HKEY section = nullptr;
    const std::string path = Store::ApplicationKeyPath(kApp) + "\\setting";
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &section, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(section, key.c_str(), 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(section);
  }
#endif

  Store store_;
};

TEST_F(SettingsStoreTest, NamesInAnyLetterCaseReachTheSameValue) {
  EXPECT_EQ(store_.Get(kApp, "crosshair", "cr"), "");
  store_.Save(kApp, "crosshair", "CR", "7");
  EXPECT_EQ(store_.Get(kApp, "crosshair", "cr"), "7");

  std::string lower = kApp;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(store_.Get(lower, "CROSSHAIR", "Cr"), "7");

  store_.Save(lower, "Crosshair", "cr", "12");
  EXPECT_EQ(store_.Get(kApp, "crosshair", "CR"), "12");
  EXPECT_EQ(store_.Get(kApp, "setting", "cr"), "");
}

TEST_F(SettingsStoreTest, LongValuesRoundTripWhole) {
  for (const std::size_t size :
       {std::size_t{255}, std::size_t{256}, std::size_t{65536}, std::size_t{300000}}) {
    std::string value(size, 'x');
    for (std::size_t i = 0; i < size; ++i) value[i] = static_cast<char>('a' + i % 26);
    store_.Save(kApp, "setting", "long", value);
    EXPECT_EQ(store_.Get(kApp, "setting", "long"), value) << size << " characters";
  }
}

#ifdef _WIN32
TEST_F(SettingsStoreTest, WhatIsNotStoredTextReadsAsEmpty) {
  EXPECT_EQ(store_.Get(kApp, "setting", "mode"), "");  // no application key at all
  store_.Save(kApp, "setting", "rtr", "True");
  EXPECT_EQ(store_.Get(kApp, "setting", "mode"), "");  // key there, value not
  EXPECT_EQ(store_.Get(kApp, "other", "rtr"), "");     // section not there

  const DWORD number = 1;
  WriteRaw("mode", REG_DWORD, &number, sizeof number);
  EXPECT_EQ(store_.Get(kApp, "setting", "mode"), "");
  const unsigned char bytes[] = {'T', 'r', 'u', 'e', 0};
  WriteRaw("sw", REG_BINARY, bytes, sizeof bytes);
  EXPECT_EQ(store_.Get(kApp, "setting", "sw"), "");
  EXPECT_EQ(store_.Get(kApp, "setting", "rtr"), "True");
}

TEST_F(SettingsStoreTest, TextIsReadWithOrWithoutItsTerminatingNul) {
  WriteRaw("bare", REG_SZ, "False", 5);
  EXPECT_EQ(store_.Get(kApp, "setting", "bare"), "False");
  WriteRaw("padded", REG_SZ, "1\0junk", 7);
  EXPECT_EQ(store_.Get(kApp, "setting", "padded"), "1");
  WriteRaw("empty", REG_SZ, "", 0);
  EXPECT_EQ(store_.Get(kApp, "setting", "empty"), "");
}

TEST_F(SettingsStoreTest, AFailedSaveRaisesError5) {
  // A key name the registry refuses: longer than any key name may be.
  const std::string tooLong(600, 's');
  EXPECT_EQ(test_support::ErrorOf([&] { store_.Save(kApp, tooLong, "cr", "1"); }).number(),
            error::kInvalidCall)
      << "the save was reported as done";
}
#endif

}  // namespace
}  // namespace platform
