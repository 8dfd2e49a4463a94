#pragma once
// Everything a program needs on Windows, wired together: the registry settings store, file
// copying, the message box, the notification area and real windows, under one runtime.
#include <memory>
#include <string>

#include "platform/runtime.h"

namespace platform::win32 {

class Win32Environment {
 public:
  // `title` is the program's title: message boxes without one show it.
  explicit Win32Environment(std::string title);
  ~Win32Environment();
  Win32Environment(const Win32Environment&) = delete;
  Win32Environment& operator=(const Win32Environment&) = delete;

  Runtime& runtime();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace platform::win32
