// The third floor: the floor with the system libraries, plus as many child windows of the same
// kinds as crosshairs' window has (option buttons, labels, a group box and picture boxes that
// copy a bitmap), each made and painted the plain way and nothing else. What a window of that
// many controls costs under this system alone; what crosshairs takes above it is its own.
#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <string>

#include "crosshairs/preview_lists.h"

namespace {

constexpr int kOptionButtons = crosshairs::kCrosshairCount + crosshairs::kReticleCount;
constexpr int kPictureBoxes = kOptionButtons + 2;  // a thumbnail each, and the two previews
constexpr int kLabels = 4;
constexpr int kPictureSize = 41;

HBITMAP picture = nullptr;

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(memory, picture);
  BitBlt(dc, 0, 0, kPictureSize, kPictureSize, memory, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
  EndPaint(window, &paint);
  return 0;
}

void StartSystemLibraries() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  IsThemeActive();
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key) == ERROR_SUCCESS)
    RegCloseKey(key);
}

HWND Child(const char* className, const std::string& text, DWORD style, int x, int y, int width,
           int height, HWND parent) {
  HWND child = CreateWindowExA(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y,
                               width, height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
               FALSE);
  return child;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int show) {
  StartSystemLibraries();
  HDC screen = GetDC(nullptr);
  picture = CreateCompatibleBitmap(screen, kPictureSize, kPictureSize);
  ReleaseDC(nullptr, screen);

  WNDCLASSA mainClass{};
  mainClass.lpfnWndProc = MainProc;
  mainClass.hInstance = instance;
  mainClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  mainClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  mainClass.lpszClassName = "BenchChildWindowsFloor";
  WNDCLASSA pictureClass = mainClass;
  pictureClass.lpfnWndProc = PictureProc;
  pictureClass.lpszClassName = "BenchPictureBox";
  if (!RegisterClassA(&mainClass) || !RegisterClassA(&pictureClass)) return 1;

  HWND window =
      CreateWindowA("BenchChildWindowsFloor", "Bench floor with child windows",
                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, CW_USEDEFAULT,
                    CW_USEDEFAULT, 254, 450, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  for (int k = 0; k < kLabels; ++k)
    Child("STATIC", "Label" + std::to_string(k + 1), SS_LEFT, 60 * k, 0, 50, 17, window);
  for (int k = 0; k < kOptionButtons; ++k)
    Child("BUTTON", "Option" + std::to_string(k + 1), BS_RADIOBUTTON | WS_TABSTOP, 8 + 80 * (k % 3),
          96 + 40 * (k / 3), 17, 17, window);
  for (int k = 0; k < kPictureBoxes; ++k)
    Child("BenchPictureBox", "", 0, 32 + 80 * (k % 3), 80 + 40 * (k / 3), kPictureSize,
          kPictureSize, window);
  Child("BUTTON", "Frame1", BS_GROUPBOX, 160, 264, 81, 137, window);
  ShowWindow(window, show);
  UpdateWindow(window);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
