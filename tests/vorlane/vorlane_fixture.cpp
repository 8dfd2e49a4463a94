#include "tests/vorlane/vorlane_fixture.h"

#include "tests/vorlane/game_root.h"

namespace vorlane {

VorlaneTest::VorlaneTest() {
  LayOutGameRoot(folder);
  gameFiles = folder.AllFiles();
}

std::vector<std::string> VorlaneTest::Popup(const std::string& caption) {
  env.ui.onPopup = [caption](const std::vector<std::string>&) { return caption; };
  const std::size_t before = env.ui.popupsShown.size();
  env.ui.NotifyCallback(form, 517);
  EXPECT_EQ(env.ui.popupsShown.size(), before + 1) << "no popup was shown";
  return env.ui.popupsShown.empty() ? std::vector<std::string>{} : env.ui.popupsShown.back();
}

std::vector<int> VorlaneTest::IconMessages() const {
  std::vector<int> messages;
  for (const auto& call : env.notificationArea.calls)
    messages.push_back(call.record == module1.TrayIconData ? call.message : -1);
  return messages;
}

std::vector<std::string> VorlaneTest::Saves() const {
  std::vector<std::string> saves;
  for (const auto& op : env.settings.log()) {
    if (!op.isSave) continue;
    EXPECT_EQ(op.application, "Vorlane");
    EXPECT_EQ(op.section, "setting");
    saves.push_back(op.key + "=" + op.value);
  }
  return saves;
}

}  // namespace vorlane
