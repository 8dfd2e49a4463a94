#include "platform/win32/controls/window_class.h"

#include <stdexcept>
#include <string>

namespace platform::win32 {

ATOM RegisterWindowClass(HINSTANCE instance, const WindowClassDesign& design) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = design.procedure;
  windowClass.cbWndExtra = design.extraBytes;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hIcon = design.icon;
  windowClass.hIconSm = design.smallIcon;
  windowClass.lpszClassName = design.name;
  if (ATOM atom = RegisterClassExA(&windowClass)) return atom;
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  // GetClassInfoEx answers with the class's atom.
  if (auto atom = static_cast<ATOM>(GetClassInfoExA(instance, design.name, &existing))) return atom;
  throw std::runtime_error(std::string("cannot register the window class ") + design.name);
}

}  // namespace platform::win32
