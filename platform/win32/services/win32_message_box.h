#pragma once
// The system's message box, owned by the thread's active window.
#include "platform/services/message_box.h"

namespace platform::win32 {

class Win32MessageBox : public MessageBox {
 public:
  // The flags go to the system as they are. A help file and context add no Help button and are
  // not used.
  int Show(const MessageBoxRequest& request) override;
};

}  // namespace platform::win32
