#include "platform/controls/runtime.h"

#include "platform/controls/form.h"
#include "platform/controls/ui_backend.h"
#include "platform/services/runtime_error.h"

namespace platform {

Runtime::Runtime(std::string title, Services services)
    : title_(std::move(title)), services_(services) {}

int Runtime::MsgBox(const std::string& text, int flags, const std::string& title,
                    const std::string& helpFile, int helpContext) {
  return services_.messageBox.Show(
      {text, flags, title.empty() ? title_ : title, helpFile, helpContext});
}

void Runtime::End() {
  throw EndProgram{};
}

void Runtime::RaiseEvent(const std::function<void()>& handler) {
  if (ended_) return;
  ++eventDepth_;
  try {
    handler();
    --eventDepth_;
  } catch (const EndProgram&) {
    --eventDepth_;
    Finish(0);
  } catch (const RuntimeError& error) {
    --eventDepth_;
    MsgBox(UntrappedErrorText(error), box::kCritical);
    Finish(1);
  }
}

void Runtime::Finish(int exitCode) {
  ended_ = true;
  exitCode_ = exitCode;
  services_.ui.Terminate(exitCode);
  // Only a backend that keeps running gets here: unwind whatever event is still around us.
  if (eventDepth_ > 0) throw EndProgram{};
}

int Runtime::Run(Form& startForm) {
  // One copy of a program works in a folder: a second one hands over to it and ends.
  switch (services_.ui.ClaimWorkingFolder(title_, startForm)) {
    case FolderClaim::kClaimed:
      break;
    case FolderClaim::kHandedOver:
      return 0;
    case FolderClaim::kHolderNotAnswering:
      // Ending with nothing on the screen would leave the player guessing.
      MsgBox(HolderNotAnsweringText(title_), box::kExclamation);
      return 0;
  }
  RaiseEvent([&startForm] { startForm.Show(); });
  if (!ended_) services_.ui.RunMessageLoop();
  return exitCode_;
}

std::string HolderNotAnsweringText(const std::string& program) {
  return program + " is already running in this folder, but it does not answer.\n\n" +
         "Wait a moment and start " + program + " again. If it still does not answer, end " +
         program + " in Task Manager, then start it again.";
}

std::string UntrappedErrorText(const RuntimeError& error) {
  return "Run-time error '" + std::to_string(error.number()) + "':\n\n" + error.what();
}

}  // namespace platform
