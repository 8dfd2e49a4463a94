#include "platform/win32/message_filter.h"

#include "platform/win32/library_function.h"

namespace platform::win32 {
namespace {

constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW
using ChangeFilterFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);

}  // namespace

bool AllowFromAnyProgram(HWND window, UINT message) {
  static const auto change =
      LibraryFunction<ChangeFilterFunction>("user32.dll", "ChangeWindowMessageFilterEx");
  if (change == nullptr) return true;  // no filter on this system
  return change(window, message, kAllow, nullptr) != FALSE;
}

}  // namespace platform::win32
