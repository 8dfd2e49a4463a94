#include "platform/headless/scripted_message_box.h"

#include <stdexcept>

namespace platform::headless {

int ScriptedMessageBox::Show(const MessageBoxRequest& request) {
  shown_.push_back(request);
  if (answers_.empty())
    throw std::logic_error("unexpected message box \"" + request.title + "\": " + request.text);
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

}  // namespace platform::headless
