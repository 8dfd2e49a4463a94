#pragma once
// Everything a program needs to run without windows, wired together, for tests.
#include <string>

#include "platform/controls/runtime.h"
#include "platform/headless/headless_ui.h"
#include "platform/headless/memory_settings_store.h"
#include "platform/headless/recording_notification_area.h"
#include "platform/headless/scripted_message_box.h"
#include "platform/services/file_copier.h"

namespace platform::headless {

template <typename Files>
struct HeadlessEnvironment {
  explicit HeadlessEnvironment(const std::string& title)
      : runtime(title, Services{settings, copier, messageBox, ui, notificationArea}) {}

  MemorySettingsStore settings;
  Files files;
  FileCopier copier{files};
  ScriptedMessageBox messageBox;
  HeadlessUi ui;
  RecordingNotificationArea notificationArea;
  Runtime runtime;
};

}  // namespace platform::headless
