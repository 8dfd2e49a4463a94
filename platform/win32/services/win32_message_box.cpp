#include "platform/win32/services/win32_message_box.h"

#include "platform/win32/windows_api.h"

namespace platform::win32 {

int Win32MessageBox::Show(const MessageBoxRequest& request) {
  return MessageBoxA(GetActiveWindow(), request.text.c_str(), request.title.c_str(),
                     static_cast<UINT>(request.flags));
}

}  // namespace platform::win32
