#pragma once
// What the two same-window floors (same_window_*.cpp) make alike, each the plain way: the
// dialog font, pictures from the BMP files built into the programs (decoded by the programs' own
// decoder, so that they are the same bitmaps), windows that show one, and labels and buttons in
// a colour of their own on black. Laid out in pixels of a screen of 96 dots per inch, where the
// programs' windows come out at these sizes.
#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include "platform/win32/controls/pictures.h"
#include "resources/embedded_pictures.h"

namespace bench {

// Colours as 0x00BBGGRR (the decoder's header takes the Windows headers' RGB macro out).
inline constexpr COLORREF kBlack = 0x00000000;
inline constexpr COLORREF kGreen = 0x0000FF00;
// Child ids from here on, in the order the children are made.
inline constexpr int kFirstChildId = 0x100;
inline constexpr char kPictureClass[] = "BenchPicture";

struct Place {
  int x;
  int y;
  int width;
  int height;
};

inline HBRUSH BlackBrush() {
  return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

// The windows' dialog face at 8 points, made once.
inline HFONT DialogFont() {
  static const HFONT font = [] {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, "MS Shell Dlg");
  }();
  return font;
}

// The bitmap of a BMP file built into the program, as the programs decode it.
inline HBITMAP DecodeBmp(resources::Blob file) {
  return platform::win32::DecodeBmpFile({file.data, file.size});
}

// A picture window: its bitmap (in its user data) at its top-left corner, cut off at its edges,
// on black.
inline LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrA(window, GWLP_USERDATA));
  BITMAP size{};
  if (bitmap != nullptr && GetObjectA(bitmap, sizeof size, &size) != 0) {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(dc, 0, 0, size.bmWidth, size.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
  }
  EndPaint(window, &paint);
  return 0;
}

// The answer to WM_CTLCOLORSTATIC and WM_CTLCOLORBTN: the child's text colour (in its user
// data) on black.
inline LRESULT ChildColours(WPARAM dc, LPARAM child) {
  auto hdc = reinterpret_cast<HDC>(dc);
  SetTextColor(
      hdc, static_cast<COLORREF>(GetWindowLongPtrA(reinterpret_cast<HWND>(child), GWLP_USERDATA)));
  SetBkColor(hdc, kBlack);
  SetBkMode(hdc, OPAQUE);
  return reinterpret_cast<LRESULT>(BlackBrush());
}

// A window class painted black, with the arrow cursor.
inline void RegisterBlackClass(HINSTANCE instance, const char* name, WNDPROC procedure,
                               HICON icon = nullptr, HICON smallIcon = nullptr) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hIconSm = smallIcon;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = BlackBrush();
  windowClass.lpszClassName = name;
  RegisterClassExA(&windowClass);
}

// The program's icon (resource 1) at the system's size for `widthMetric` and `heightMetric`.
inline HICON ProgramIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
  return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                       GetSystemMetrics(widthMetric),
                                       GetSystemMetrics(heightMetric), 0));
}

// A visible child window; `data` goes to its user data.
inline HWND Child(HWND parent, int id, const char* className, const char* text, DWORD style,
                  const Place& place, LONG_PTR data = 0, DWORD exStyle = 0) {
  HWND child = CreateWindowExA(
      exStyle, className, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, place.x, place.y,
      place.width, place.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(child, GWLP_USERDATA, data);
  return child;
}

// Its text is its name, as the programs' pictures have theirs.
inline HWND Picture(HWND parent, int id, const char* text, const Place& place, HBITMAP bitmap) {
  return Child(parent, id, kPictureClass, text, WS_GROUP, place,
               reinterpret_cast<LONG_PTR>(bitmap));
}

inline HWND Label(HWND parent, int id, const char* text, const Place& place) {
  HWND label = Child(parent, id, "STATIC", text, SS_LEFT | WS_GROUP, place, kGreen);
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
  return label;
}

// A button drawn unthemed, the only way it honours its text colour.
inline HWND Button(HWND parent, int id, const char* text, DWORD style, const Place& place,
                   COLORREF colour, bool checked = false) {
  HWND button = Child(parent, id, "BUTTON", text, style, place, static_cast<LONG_PTR>(colour));
  SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
  SetWindowTheme(button, L"", L"");
  if (checked) SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
  return button;
}

// The common controls of the programs' manifest.
inline void StartCommonControls() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
}

// Until the window is closed; the dialog keys move between its controls.
inline int RunMessageLoop(HWND window) {
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace bench
