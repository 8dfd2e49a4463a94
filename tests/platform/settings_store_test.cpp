#include "platform/headless/memory_settings_store.h"

#include <gtest/gtest.h>

namespace platform::headless {
namespace {

TEST(MemorySettingsStore, NamesMatchWithoutRegardToCase) {
  MemorySettingsStore store;
  EXPECT_EQ(store.Get("vorlane", "crosshair", "cr"), "");
  store.Save("Vorlane", "crosshair", "CR", "7");
  EXPECT_EQ(store.Get("vorlane", "CROSSHAIR", "cr"), "7");
  store.Save("VORLANE", "Crosshair", "cr", "8");
  EXPECT_EQ(store.Get("Vorlane", "crosshair", "CR"), "8");
  EXPECT_EQ(store.Get("vorlane", "setting", "cr"), "");
}

}  // namespace
}  // namespace platform::headless
