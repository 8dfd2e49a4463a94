#include "platform/win32/win32_environment.h"

#include "platform/file_copier.h"
#include "platform/win32/event_boundary.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/shell_notification_area.h"
#include "platform/win32/system_session.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_message_box.h"
#include "platform/win32/win32_ui.h"
#ifdef VL_STARTUP_TIMES
#include "platform/win32/startup_times.h"
#endif

namespace platform::win32 {

struct Win32Environment::Parts {
  explicit Parts(const std::string& title)
      : ui(title), runtime(title, Services{settings, copier, messageBox, Ui(), notificationArea}) {}

  UiBackend& Ui() {
#ifdef VL_STARTUP_TIMES
    return timedUi;
#else
    return ui;
#endif
  }

  SystemSession session;  // first in, last out: everything below may use OLE
  RegistrySettingsStore settings;
  Win32FileSystem files;
  FileCopier copier{files};
  Win32MessageBox messageBox;
  Win32Ui ui;
#ifdef VL_STARTUP_TIMES
  StartupTimedUi timedUi{ui};  // notes where the start's time goes, then passes everything on
#endif
  ShellNotificationArea notificationArea;
  Runtime runtime;
};

Win32Environment::Win32Environment(std::string title) {
  InstallTerminateReport();
  SetReportTitle(title);
  parts_ = std::make_unique<Parts>(title);
}

Win32Environment::~Win32Environment() = default;

Runtime& Win32Environment::runtime() {
  return parts_->runtime;
}

}  // namespace platform::win32
