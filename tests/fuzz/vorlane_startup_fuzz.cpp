// Starts the mode switcher on arbitrary stored texts, then switches both ways: it must not crash
// or end, and must never touch a file outside the folders of its copy table.
#include <cstdint>
#include <cstdlib>

#include "platform/headless/headless_environment.h"
#include "tests/fuzz/guarded_file_system.h"
#include "tests/vorlane/game_root.h"
#include "vorlane/form1.h"
#include "vorlane/module1.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto texts = fuzzing::SplitTexts(data, size, 3);
  platform::headless::HeadlessEnvironment<fuzzing::GuardedFileSystem> env("vorlane");
  env.files.Allow(vorlane::TableFolders());
  env.settings.Save("Vorlane", "setting", "mode", texts[0]);
  env.settings.Save("Vorlane", "setting", "rtr", texts[1]);
  env.settings.Save("Vorlane", "setting", "sw", texts[2]);
  for (int i = 0; i < 4; ++i) env.messageBox.Expect(platform::box::kOk);

  vorlane::Module1 module1(env.runtime);
  vorlane::Form1 form(env.runtime, module1);
  env.runtime.Run(form);
  if (env.runtime.ended()) std::abort();
  env.ui.Click(form.Option2);
  env.ui.Click(form.Option1);
  if (env.runtime.ended()) std::abort();
  return 0;
}
