// One empty window and a message loop, nothing else: the start-up and memory floor that the
// programs are measured against. Built a second time with VL_BENCH_SYSTEM_LIBRARIES, it also
// starts the system libraries the programs start (the version 6 common controls through the
// programs' manifest, visual styles, the registry), to tell their cost from ours. OLE is not
// among them: the programs load it only for their first JPEG or GIF picture. Built with
// VL_BENCH_NOTIFICATION_ICON, it adds one icon to the notification area once shown, as vorlane
// does, and so loads the shell's library.
#include <windows.h>
#ifdef VL_BENCH_SYSTEM_LIBRARIES
#include <commctrl.h>
#include <uxtheme.h>
#endif
#ifdef VL_BENCH_NOTIFICATION_ICON
#include <shellapi.h>
#endif

namespace {

#ifdef VL_BENCH_NOTIFICATION_ICON
// The first version of the record, as vorlane passes it.
NOTIFYICONDATAA IconRecord(HWND window) {
  NOTIFYICONDATAA record{};
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = window;
  record.uID = 1;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = WM_APP;
  record.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
  lstrcpyA(record.szTip, "Bench floor");
  return record;
}
#endif

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
#ifdef VL_BENCH_NOTIFICATION_ICON
    NOTIFYICONDATAA record = IconRecord(window);
    Shell_NotifyIconA(NIM_DELETE, &record);
#endif
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

#ifdef VL_BENCH_SYSTEM_LIBRARIES
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
#endif

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int show) {
#if defined(VL_BENCH_SYSTEM_LIBRARIES)
  StartSystemLibraries();
  const char* title = "Bench floor with system libraries";
#elif defined(VL_BENCH_NOTIFICATION_ICON)
  const char* title = "Bench floor with a notification icon";
#else
  const char* title = "Bench floor";
#endif
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = "BenchFloorWindow";
  if (!RegisterClassA(&windowClass)) return 1;

  HWND window = CreateWindowA("BenchFloorWindow", title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 300, 200, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);
#ifdef VL_BENCH_NOTIFICATION_ICON
  NOTIFYICONDATAA record = IconRecord(window);
  Shell_NotifyIconA(NIM_ADD, &record);
#endif

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
