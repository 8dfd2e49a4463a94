// The floor of vorlane's start: the window vorlane shows when it starts with the mode and both
// expansions off (the settings bench_launcher stores), made the plain way, with the program's
// manifest, icon and picture: a borderless window kept out of the taskbar (owned by a hidden
// window) at the place the system gives a new window, the mod's picture, Enable and Disable,
// the two expansion boxes and three labels, each child in its place, colour and font, made in
// the order vorlane makes them; then, once it is shown, its notification icon, added with the
// record vorlane gives the shell. bench/run checks that it shows the same pixels as vorlane.
#include <windows.h>

#include <shellapi.h>

#include "bench/same_window.h"
#include "bench/startup_points.h"

namespace {

using bench::kGreen;
constexpr COLORREF kPaleGreen = 0x0080FF80;

constexpr int kClientWidth = 126;
constexpr int kClientHeight = 154;
constexpr char kOwnerClass[] = "BenchSameWindowOwner";

// The first version of the record, as vorlane passes it.
NOTIFYICONDATAA IconRecord(HWND window) {
  NOTIFYICONDATAA record{};
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = window;
  record.uID = 1;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = WM_MOUSEMOVE;
  record.hIcon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
  lstrcpyA(record.szTip, "Vorlane Virezeviz");
  return record;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return bench::ChildColours(wParam, lParam);
    case WM_DESTROY: {
      NOTIFYICONDATAA record = IconRecord(window);
      Shell_NotifyIconA(NIM_DELETE, &record);
      PostQuitMessage(0);
      return 0;
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

// Where the system would put a new overlapped window: a popup window gets no default place.
POINT DefaultPosition(HINSTANCE instance) {
  HWND probe = CreateWindowExA(0, kOwnerClass, "", WS_OVERLAPPED, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                               100, nullptr, nullptr, instance, nullptr);
  RECT place{};
  GetWindowRect(probe, &place);
  DestroyWindow(probe);
  return {place.left, place.top};
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  bench::StartupPoints points;
  bench::StartCommonControls();
  bench::RegisterBlackClass(instance, "BenchSameWindowVorlane", WindowProc,
                            bench::ProgramIcon(instance, SM_CXICON, SM_CYICON),
                            bench::ProgramIcon(instance, SM_CXSMICON, SM_CYSMICON));
  bench::RegisterBlackClass(instance, kOwnerClass, DefWindowProcA);
  bench::RegisterBlackClass(instance, bench::kPictureClass, bench::PictureProc);
  HWND owner = CreateWindowExA(0, kOwnerClass, "vorlane", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               instance, nullptr);
  points.ready = bench::SinceProcessCreation();

  HBITMAP picture = bench::DecodeBmp(resources::TrayBitmap());
  points.creationStart = bench::SinceProcessCreation();
  points.decoding = points.creationStart - points.ready;

  const POINT at = DefaultPosition(instance);
  HWND window =
      CreateWindowExA(0, "BenchSameWindowVorlane", "Vorlane", WS_POPUP | WS_CLIPCHILDREN, at.x,
                      at.y, kClientWidth, kClientHeight, owner, nullptr, instance, nullptr);
  if (window == nullptr) return 1;

  // In the order Tab visits them.
  int id = bench::kFirstChildId;
  bench::Button(window, id++, "Disable", BS_RADIOBUTTON | WS_GROUP | WS_TABSTOP, {112, 120, 17, 17},
                kGreen, true);
  bench::Button(window, id++, "Enable", BS_RADIOBUTTON, {0, 120, 17, 17}, kPaleGreen);
  bench::Picture(window, id++, "Picture1", {0, 0, 129, 121}, picture);
  bench::Button(window, id++, "RTR", BS_3STATE | WS_GROUP | WS_TABSTOP, {0, 136, 49, 17}, kGreen);
  bench::Button(window, id++, "SW", BS_3STATE | WS_GROUP | WS_TABSTOP, {112, 136, 17, 17}, kGreen);
  bench::Label(window, id++, "Disable", {72, 120, 41, 17});
  bench::Label(window, id++, "SW", {88, 136, 25, 17});
  bench::Label(window, id++, "Enabled", {16, 120, 49, 17});

  points.creationEnd = bench::SinceProcessCreation();

  // What vorlane does in its load handler: shows and paints the window, then adds its icon.
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  NOTIFYICONDATAA record = IconRecord(window);
  Shell_NotifyIconA(NIM_ADD, &record);
  points.loadEnd = points.showStart = points.showEnd = bench::SinceProcessCreation();
  bench::ReportWhenIdle(points);
  const int result = bench::RunMessageLoop(window);
  DestroyWindow(owner);
  return result;
}
