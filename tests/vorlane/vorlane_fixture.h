#pragma once
// The mode switcher running headless in a fresh game root: the mod's two prepared sets in
// mods\vl1942 and an old init.con in each of the game's three folders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_environment.h"
#include "platform/headless/posix_file_system.h"
#include "tests/support/temp_folder.h"
#include "tests/vorlane/game_root.h"
#include "vorlane/form1.h"
#include "vorlane/module1.h"

namespace vorlane {

class VorlaneTest : public ::testing::Test {
 protected:
  VorlaneTest();

  // Stores the three choices as a previous run would have; an empty text leaves one absent.
  void Store(const std::string& mode, const std::string& rtr, const std::string& sw) {
    env.settings = Choices(mode, rtr, sw);
  }
  void Start() { env.runtime.Run(form); }
  // Starts with the three choices stored; the store's log starts after the start.
  void StartWith(const std::string& mode, const std::string& rtr, const std::string& sw) {
    Store(mode, rtr, sw);
    Start();
    env.settings.ClearLog();
  }
  // Right-clicks the icon and chooses `caption` (or dismisses the popup); returns the captions
  // offered.
  std::vector<std::string> Popup(const std::string& caption = {});
  // The saves made since the last ClearLog, as "key=value", checking their names on the way.
  std::vector<std::string> Saves() const;
  std::string Stored(const std::string& key) { return env.settings.Get("vorlane", "setting", key); }
  // What the game files of the copy table hold, in its order (game_root.h).
  std::vector<std::string> Installed() const { return InstalledSets(folder); }
  // The messages the program sent the notification area, each with the icon's record
  // (module1's); one sent with another record shows as -1.
  std::vector<int> IconMessages() const;

  test_support::TempWorkingFolder folder;
  platform::headless::HeadlessEnvironment<platform::headless::PosixFileSystem> env{"vorlane"};
  Module1 module1{env.runtime};
  Form1 form{env.runtime, module1};
  std::vector<std::string> gameFiles;  // every file of the fresh game root
};

inline const std::vector<std::string> kOffersEnable{"&Enable", "-", "Exit"};
inline const std::vector<std::string> kOffersDisable{"&Disable", "-", "Exit"};
inline const std::vector<std::string> kFalseSaved{"mode=False", "rtr=False", "sw=False"};

}  // namespace vorlane
