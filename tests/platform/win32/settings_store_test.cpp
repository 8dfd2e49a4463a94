#include "platform/win32/services/registry_settings_store.h"
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include "platform/services/runtime_error.h"

namespace platform::win32 {
namespace {

// Each run works under an application name of its own and removes it afterwards.
class RegistrySettingsStoreTest : public ::testing::Test {
 protected:
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, RegistrySettingsStore::ApplicationKeyPath(app_).c_str());
  }

  // Writes a value of any type directly, as another program or an old version might have.
  void WriteRaw(const std::string& key, DWORD type, const void* data, DWORD size) {
    HKEY section = nullptr;
    const std::string path = RegistrySettingsStore::ApplicationKeyPath(app_) + "\\setting";
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &section, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(section, key.c_str(), 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(section);
  }

  const std::string app_ = "VlStoreTest" + std::to_string(GetCurrentProcessId());
  RegistrySettingsStore store_;
};

TEST_F(RegistrySettingsStoreTest, NamesInAnyLetterCaseReachTheSameValue) {
  store_.Save(app_, "crosshair", "CR", "7");
  EXPECT_EQ(store_.Get(app_, "crosshair", "cr"), "7");

  std::string lower = app_;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(store_.Get(lower, "CROSSHAIR", "Cr"), "7");

  store_.Save(lower, "Crosshair", "cr", "12");
  EXPECT_EQ(store_.Get(app_, "crosshair", "CR"), "12");
}

TEST_F(RegistrySettingsStoreTest, WhatIsNotStoredTextReadsAsEmpty) {
  EXPECT_EQ(store_.Get(app_, "setting", "mode"), "");  // no application key at all
  store_.Save(app_, "setting", "rtr", "True");
  EXPECT_EQ(store_.Get(app_, "setting", "mode"), "");  // key there, value not
  EXPECT_EQ(store_.Get(app_, "other", "rtr"), "");     // section not there

  const DWORD number = 1;
  WriteRaw("mode", REG_DWORD, &number, sizeof number);
  EXPECT_EQ(store_.Get(app_, "setting", "mode"), "");
  const unsigned char bytes[] = {'T', 'r', 'u', 'e', 0};
  WriteRaw("sw", REG_BINARY, bytes, sizeof bytes);
  EXPECT_EQ(store_.Get(app_, "setting", "sw"), "");
  EXPECT_EQ(store_.Get(app_, "setting", "rtr"), "True");
}

TEST_F(RegistrySettingsStoreTest, TextIsReadWithOrWithoutItsTerminatingNul) {
  WriteRaw("bare", REG_SZ, "False", 5);
  EXPECT_EQ(store_.Get(app_, "setting", "bare"), "False");
  WriteRaw("padded", REG_SZ, "1\0junk", 7);
  EXPECT_EQ(store_.Get(app_, "setting", "padded"), "1");
  WriteRaw("empty", REG_SZ, "", 0);
  EXPECT_EQ(store_.Get(app_, "setting", "empty"), "");
}

TEST_F(RegistrySettingsStoreTest, LongValuesRoundTripWhole) {
  for (const std::size_t size :
       {std::size_t{255}, std::size_t{256}, std::size_t{65536}, std::size_t{300000}}) {
    std::string value(size, 'x');
    for (std::size_t i = 0; i < size; ++i) value[i] = static_cast<char>('a' + i % 26);
    store_.Save(app_, "setting", "long", value);
    EXPECT_EQ(store_.Get(app_, "setting", "long"), value) << size << " characters";
  }
}

TEST_F(RegistrySettingsStoreTest, AFailedSaveRaisesError5) {
  // A key name the registry refuses: longer than any key name may be.
  const std::string tooLong(600, 's');
  try {
    store_.Save(app_, tooLong, "cr", "1");
    FAIL() << "the save was reported as done";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), error::kInvalidCall);
  }
}

}  // namespace
}  // namespace platform::win32
