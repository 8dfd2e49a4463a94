#pragma once
// Real windows under the real Windows backend; the other services are the in-memory ones, so
// that an unexpected message box fails the test instead of waiting for a user, and nothing
// outside the test is touched.
#include <string>

#include "platform/controls/runtime.h"
#include "platform/headless/memory_settings_store.h"
#include "platform/headless/recording_notification_area.h"
#include "platform/headless/scripted_message_box.h"
#include "platform/services/file_copier.h"
#include "platform/win32/controls/win32_ui.h"
#include "platform/win32/services/win32_file_system.h"
#include "platform/win32/system.h"

namespace test_support {

struct WindowsTestEnvironment {
  explicit WindowsTestEnvironment(const std::string& title)
      : ui(title), runtime(title, {settings, copier, messageBox, ui, notificationArea}) {}

  platform::win32::SystemSession session;
  platform::headless::MemorySettingsStore settings;
  platform::win32::Win32FileSystem files;
  platform::FileCopier copier{files};
  platform::headless::ScriptedMessageBox messageBox;
  platform::win32::Win32Ui ui;
  platform::headless::RecordingNotificationArea notificationArea;
  platform::Runtime runtime;
};

}  // namespace test_support
