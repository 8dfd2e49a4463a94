#pragma once
// The crosshair chooser on the headless backend, run in a fresh temporary folder that stands
// for the mod's folder.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "crosshairs/form1.h"
#include "crosshairs/module1.h"
#include "platform/headless/headless_environment.h"
#include "platform/headless/posix_file_system.h"
#include "tests/support/temp_folder.h"

namespace platform::headless {
// How a failing comparison of store logs prints an operation.
inline void PrintTo(const MemorySettingsStore::Operation& operation, std::ostream* out) {
  *out << (operation.isSave ? "save " : "get ") << operation.application << '/' << operation.section
       << '/' << operation.key;
  if (operation.isSave) *out << " = \"" << operation.value << '"';
}
}  // namespace platform::headless

namespace crosshairs_tests {

using StoreOperation = platform::headless::MemorySettingsStore::Operation;

// Names each case of a table of rows after its row's `name`.
inline constexpr auto kRowName = [](const auto& row) { return std::string(row.param.name); };

class CrosshairsTest : public ::testing::Test {
 protected:
  // A value left in the store by an earlier run; the store's log starts after it.
  void StoreSetting(const std::string& key, const std::string& value);
  // Starts the program: the selector window loads and is shown.
  void Start() { env.runtime.Run(form); }
  // Starts it with crosshair 7 and reticle 2 saved by an earlier run; the store's log starts
  // after the start.
  void StartWithSevenAndTwo();

  // The numbers of the selected crosshair and reticle buttons.
  std::vector<int> SelectedCrosshairs();
  std::vector<int> SelectedReticles();

  const std::vector<platform::MessageBoxRequest>& boxes() const { return env.messageBox.shown(); }

  test_support::TempWorkingFolder modFolder;  // first: the working directory for all below
  platform::headless::HeadlessEnvironment<platform::headless::PosixFileSystem> env{"crosshairs"};
  crosshairs::Module1 module1{env.runtime};
  crosshairs::Form1 form{env.runtime, module1};
};

}  // namespace crosshairs_tests
