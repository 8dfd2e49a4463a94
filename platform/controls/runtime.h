#pragma once
// The application runtime a program stands on: its title, its services, the message box, the
// end of the program, and the boundary of every event, where an untrapped error is reported.
#include <functional>
#include <string>

#include "platform/services/file_copier.h"
#include "platform/services/message_box.h"
#include "platform/services/notification_area.h"
#include "platform/services/settings_store.h"

namespace platform {

class Form;
class UiBackend;
class RuntimeError;

struct Services {
  SettingsStore& settings;
  FileCopier& files;
  MessageBox& messageBox;
  UiBackend& ui;
  NotificationArea& notificationArea;
};

class Runtime {
 public:
  Runtime(std::string title, Services services);

  const std::string& title() const { return title_; }
  SettingsStore& settings() { return services_.settings; }
  FileCopier& files() { return services_.files; }
  UiBackend& ui() { return services_.ui; }
  NotificationArea& notificationArea() { return services_.notificationArea; }

  // Shows a message box and returns the button pressed; an empty title shows the program's.
  int MsgBox(const std::string& text, int flags = 0, const std::string& title = {},
             const std::string& helpFile = {}, int helpContext = 0);

  // Ends the program at once: no statement after it and no unload handler runs.
  [[noreturn]] void End();

  // Runs an event handler. An error that leaves it is reported with the runtime's message and
  // ends the program, as does End().
  void RaiseEvent(const std::function<void()>& handler);

  // Loads and shows the start window, then handles events until no window is left or the
  // program is ended. Returns the exit code. Where another copy of the program works in the
  // working folder already, brings that one's window back instead and returns 0 at once; where
  // that copy does not answer, says so in a message box and returns 0.
  int Run(Form& startForm);

  bool ended() const { return ended_; }
  int exitCode() const { return exitCode_; }

 private:
  void Finish(int exitCode);

  std::string title_;
  Services services_;
  int eventDepth_ = 0;
  bool ended_ = false;
  int exitCode_ = 0;
};

// What a later copy of `program` says where the copy holding its folder does not answer.
std::string HolderNotAnsweringText(const std::string& program);

// The runtime's own report of an untrapped error: "Run-time error '13':" and the description.
std::string UntrappedErrorText(const RuntimeError& error);

}  // namespace platform
