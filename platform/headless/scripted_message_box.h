#pragma once
// A message box for tests: records every box and answers from a script. A box the test did
// not script is a test failure, raised loudly as std::logic_error.
#include <deque>
#include <vector>

#include "platform/services/message_box.h"

namespace platform::headless {

class ScriptedMessageBox : public MessageBox {
 public:
  // The next box will be answered with `button` (1 OK, 6 Yes, 7 No).
  void Expect(int button) { answers_.push_back(button); }
  int Show(const MessageBoxRequest& request) override;

  const std::vector<MessageBoxRequest>& shown() const { return shown_; }
  std::size_t pending() const { return answers_.size(); }

 private:
  std::deque<int> answers_;
  std::vector<MessageBoxRequest> shown_;
};

}  // namespace platform::headless
