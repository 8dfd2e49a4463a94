#pragma once
// The runtime's message box: waits for the user and returns the button pressed.
#include <string>

namespace platform {

namespace box {
constexpr int kOkOnly = 0;
constexpr int kYesNo = 4;
constexpr int kCritical = 16;
constexpr int kQuestion = 32;
constexpr int kExclamation = 48;
constexpr int kDefaultButton2 = 256;

constexpr int kOk = 1;
constexpr int kYes = 6;
constexpr int kNo = 7;
}  // namespace box

struct MessageBoxRequest {
  std::string text;
  int flags = box::kOkOnly;
  std::string title;     // empty: the program's own title
  std::string helpFile;  // passed along; without the help-button flag no button is added
  int helpContext = 0;

  bool operator==(const MessageBoxRequest&) const = default;
};

class MessageBox {
 public:
  virtual ~MessageBox() = default;
  // `title` in the request is already filled in with the program's title when none was given.
  virtual int Show(const MessageBoxRequest& request) = 0;
};

}  // namespace platform
