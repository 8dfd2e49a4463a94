#pragma once
// A program on the headless backend over the file system `Files`, with what an earlier run
// stored; its window is loaded by Start().
#include "platform/headless/headless_environment.h"
#include "platform/headless/memory_settings_store.h"

namespace test_support {

template <typename Files, typename Module, typename Form>
struct Program {
  explicit Program(const char* title, const platform::headless::MemorySettingsStore& stored = {})
      : env(title) {
    env.settings = stored;
  }
  void Start() { env.runtime.Run(form); }

  platform::headless::HeadlessEnvironment<Files> env;
  Module module1{env.runtime};
  Form form{env.runtime, module1};
};

}  // namespace test_support
