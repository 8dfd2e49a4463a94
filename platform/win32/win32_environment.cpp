#include "platform/win32/win32_environment.h"

#include "platform/services/file_copier.h"
#include "platform/win32/controls/win32_ui.h"
#include "platform/win32/event_boundary.h"
#include "platform/win32/services/registry_settings_store.h"
#include "platform/win32/services/shell_notification_area.h"
#include "platform/win32/services/win32_file_system.h"
#include "platform/win32/services/win32_message_box.h"
#include "platform/win32/system.h"

namespace platform::win32 {

struct Win32Environment::Parts {
  Parts(const std::string& title, const UiMaker& makeUi)
      : ui(makeUi ? makeUi(title) : std::make_unique<Win32Ui>(title)),
        runtime(title, Services{settings, copier, messageBox, *ui, notificationArea}) {}

  SystemSession session;  // first in, last out: everything below may use OLE
  RegistrySettingsStore settings;
  Win32FileSystem files;
  FileCopier copier{files};
  Win32MessageBox messageBox;
  std::unique_ptr<Win32Ui> ui;
  ShellNotificationArea notificationArea;
  Runtime runtime;
};

Win32Environment::Win32Environment(std::string title, const UiMaker& makeUi) {
  InstallTerminateReport();
  SetReportTitle(title);
  parts_ = std::make_unique<Parts>(title, makeUi);
}

Win32Environment::~Win32Environment() = default;

Runtime& Win32Environment::runtime() {
  return parts_->runtime;
}

}  // namespace platform::win32
