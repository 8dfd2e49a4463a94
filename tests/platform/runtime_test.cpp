#include "platform/controls/runtime.h"

#include <gtest/gtest.h>

#include "platform/controls/controls.h"
#include "platform/controls/form.h"
#include "platform/headless/headless_environment.h"
#include "platform/headless/posix_file_system.h"
#include "platform/services/runtime_error.h"

namespace platform {
namespace {

using Environment = headless::HeadlessEnvironment<headless::PosixFileSystem>;

TEST(Runtime, AMessageBoxWithoutTitleShowsTheProgramsTitle) {
  Environment env("crosshairs");
  env.messageBox.Expect(box::kOk);
  env.messageBox.Expect(box::kNo);
  EXPECT_EQ(env.runtime.MsgBox("hello"), box::kOk);
  EXPECT_EQ(env.runtime.MsgBox("exit?", 292, "Saving settings...", "DEMO.HLP", 1000), box::kNo);
  ASSERT_EQ(env.messageBox.shown().size(), 2u);
  EXPECT_EQ(env.messageBox.shown()[0].title, "crosshairs");
  EXPECT_EQ(env.messageBox.shown()[1].title, "Saving settings...");
  EXPECT_EQ(env.messageBox.shown()[1].helpFile, "DEMO.HLP");
  EXPECT_EQ(env.messageBox.shown()[1].helpContext, 1000);
}

TEST(Runtime, AnUntrappedErrorIsReportedAndEndsTheProgram) {
  Environment env("vorlane");
  env.messageBox.Expect(box::kOk);
  bool after = false;
  env.runtime.RaiseEvent([&] {
    throw RuntimeError(error::kPathNotFound);
    after = true;
  });
  EXPECT_FALSE(after);
  EXPECT_TRUE(env.runtime.ended());
  EXPECT_TRUE(env.ui.terminated);
  ASSERT_EQ(env.messageBox.shown().size(), 1u);
  EXPECT_EQ(env.messageBox.shown()[0].text, "Run-time error '76':\n\nPath not found");
  EXPECT_EQ(env.messageBox.shown()[0].title, "vorlane");
  int later = 0;
  env.runtime.RaiseEvent([&] { ++later; });
  EXPECT_EQ(later, 0);
}

TEST(Runtime, EndStopsAtOnceEvenFromANestedEventAndRunsNoUnloadHandler) {
  Environment env("crosshairs");
  Form form(env.runtime, {.name = "Form1"});
  int unloads = 0;
  int statementsAfterEnd = 0;
  form.onUnload = [&] { ++unloads; };
  form.Load();
  Form dialog(env.runtime, {.name = "Form2"});
  env.ui.onModal = [&](Form&) {
    env.runtime.RaiseEvent([&] { env.runtime.End(); });
    ++statementsAfterEnd;
  };
  env.runtime.RaiseEvent([&] {
    dialog.Show(true);
    ++statementsAfterEnd;
  });
  EXPECT_TRUE(env.runtime.ended());
  EXPECT_EQ(statementsAfterEnd, 0);
  EXPECT_EQ(unloads, 0);
  EXPECT_EQ(env.runtime.exitCode(), 0);
}

TEST(Runtime, RunLoadsThenShowsTheStartWindow) {
  Environment env("crosshairs");
  Form form(env.runtime, {.name = "Form1"});
  form.onLoad = [&] { env.ui.events.push_back("load"); };
  env.runtime.Run(form);
  EXPECT_EQ(env.ui.events, (std::vector<std::string>{"create Form1", "load", "show Form1"}));
  EXPECT_TRUE(form.visible());
}

}  // namespace
}  // namespace platform
