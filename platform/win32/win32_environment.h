#pragma once
// Everything a program needs on Windows, wired together: the registry settings store, file
// copying, the message box, the notification area and real windows, under one runtime.
#include <functional>
#include <memory>
#include <string>

#include "platform/controls/runtime.h"

namespace platform::win32 {

class Win32Ui;

class Win32Environment {
 public:
  // Makes the window backend, given the program's title; made after the system session.
  using UiMaker = std::function<std::unique_ptr<Win32Ui>(const std::string& title)>;

  // `title` is the program's title: message boxes without one show it. A benchmark passes a
  // backend of its own making; the programs take the plain one.
  explicit Win32Environment(std::string title, const UiMaker& makeUi = {});
  ~Win32Environment();
  Win32Environment(const Win32Environment&) = delete;
  Win32Environment& operator=(const Win32Environment&) = delete;

  Runtime& runtime();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace platform::win32
