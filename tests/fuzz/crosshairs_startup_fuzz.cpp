// Starts the crosshair chooser on arbitrary stored texts, then applies: it must not crash, must
// show at most the first-run notice and one Apply message, and must never touch a file outside
// the mod's cr\, rt\ and archives\ folders.
#include <cstdint>
#include <cstdlib>

#include "crosshairs/form1.h"
#include "crosshairs/module1.h"
#include "platform/headless/headless_environment.h"
#include "tests/fuzz/guarded_file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto texts = fuzzing::SplitTexts(data, size, 2);
  platform::headless::HeadlessEnvironment<fuzzing::GuardedFileSystem> env("crosshairs");
  env.files.Allow({"cr\\", "rt\\", "archives\\"});
  env.settings.Save("Vorlane", "crosshair", "cr", texts[0]);
  env.settings.Save("Vorlane", "crosshair", "rt", texts[1]);
  for (int i = 0; i < 3; ++i) env.messageBox.Expect(platform::box::kOk);

  crosshairs::Module1 module1(env.runtime);
  crosshairs::Form1 form(env.runtime, module1);
  env.runtime.Run(form);
  if (env.runtime.ended()) std::abort();  // start-up must never end the program
  env.ui.Click(form.Mapply);
  if (env.runtime.ended() || module1.InstallFailed != "0") std::abort();
  return 0;
}
