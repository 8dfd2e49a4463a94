// The floor of crosshairs' start: the window crosshairs shows when it starts with crosshair 7
// and reticle 2 chosen (the choice bench_launcher stores), made the plain way, with the
// program's manifest, icon and pictures: its menu bar, 20 crosshair and 3 reticle option
// buttons beside their thumbnails, the two large previews of the choice, four labels and the
// reticles' frame, each child in its place, colour and font, made in the order crosshairs
// makes them (so that where two overlap by a pixel, the same one lies on top). bench/run
// checks that it shows the same pixels as crosshairs.
#include <string>

#include "bench/same_window.h"
#include "bench/startup_points.h"
#include "crosshairs/choice_layout.h"

namespace {

using bench::Place;

constexpr int kCrosshairs = crosshairs::kCrosshairCount;
constexpr int kReticles = crosshairs::kReticleCount;
constexpr int kChosenCrosshair = 7;
constexpr int kChosenReticle = 2;
constexpr char kFrameClass[] = "BenchFrame";
constexpr int kGroupBoxId = 0xFF;
constexpr UINT kApplyCommand = 1;
constexpr UINT kAboutCommand = 2;

// Where crosshairs lays out choice k's button and thumbnail, in pixels at the usual 15 twips a
// pixel.
Place Pixels(const platform::Bounds& twips) {
  return {twips.left / 15, twips.top / 15, twips.width / 15, twips.height / 15};
}
Place CrosshairOption(int k) {
  return Pixels(crosshairs::kCrosshairLayout[k - 1].option);
}
Place CrosshairThumbnail(int k) {
  return Pixels(crosshairs::kCrosshairLayout[k - 1].thumbnail);
}
Place ReticleOption(int k) {
  return Pixels(crosshairs::kReticleLayout[k - 1].option);
}
Place ReticleThumbnail(int k) {
  return Pixels(crosshairs::kReticleLayout[k - 1].thumbnail);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return bench::ChildColours(wParam, lParam);
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

// The frame's buttons and group box ask it for their colours.
LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN)
    return bench::ChildColours(wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

std::string Numbered(const char* prefix, int number) {
  return prefix + std::to_string(number);
}

// The reticles' frame: their thumbnails and buttons (in the order Tab visits them, upwards),
// the group box around them below them all.
void MakeFrame(HWND window, int id, const HBITMAP (&reticles)[kReticles + 1]) {
  const COLORREF text = GetSysColor(COLOR_BTNTEXT);
  HWND frame = bench::Child(window, id, kFrameClass, "Recticles", WS_GROUP, {160, 264, 81, 137}, 0,
                            WS_EX_CONTROLPARENT);
  int childId = bench::kFirstChildId;
  for (int k = kReticles; k >= 1; --k)
    bench::Picture(frame, childId++, Numbered("Picture", 22 + k).c_str(), ReticleThumbnail(k),
                   reticles[k]);
  for (int k = kReticles; k >= 1; --k) {
    const bool chosen = k == kChosenReticle;
    bench::Button(frame, childId++, Numbered("rt", k).c_str(),
                  BS_RADIOBUTTON | (k == kReticles ? WS_GROUP : 0u) | (chosen ? WS_TABSTOP : 0u),
                  ReticleOption(k), text, chosen);
  }
  bench::Button(frame, kGroupBoxId, "Recticles", BS_GROUPBOX, {0, 0, 81, 137}, text);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  bench::StartupPoints points;
  bench::StartCommonControls();
  bench::RegisterBlackClass(instance, "BenchSameWindowCrosshairs", WindowProc,
                            bench::ProgramIcon(instance, SM_CXICON, SM_CYICON),
                            bench::ProgramIcon(instance, SM_CXSMICON, SM_CYSMICON));
  bench::RegisterBlackClass(instance, kFrameClass, FrameProc);
  bench::RegisterBlackClass(instance, bench::kPictureClass, bench::PictureProc);
  points.ready = bench::SinceProcessCreation();

  HBITMAP crosshairs[kCrosshairs + 1] = {};
  for (int k = 1; k <= kCrosshairs; ++k)
    crosshairs[k] = bench::DecodeBmp(resources::CrosshairPreview(k));
  HBITMAP reticles[kReticles + 1] = {};
  for (int k = 1; k <= kReticles; ++k) reticles[k] = bench::DecodeBmp(resources::ReticlePreview(k));
  points.creationStart = bench::SinceProcessCreation();
  points.decoding = points.creationStart - points.ready;

  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_STRING, kApplyCommand, "Apply");
  AppendMenuA(bar, MF_STRING, kAboutCommand, "About");
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const Place client = Pixels({0, 0, crosshairs::kClientWidth, crosshairs::kClientHeight});
  RECT outer{0, 0, client.width, client.height};
  AdjustWindowRectEx(&outer, kStyle, TRUE, 0);
  HWND window = CreateWindowExA(0, "BenchSameWindowCrosshairs", "Sightora", kStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                                nullptr, bar, instance, nullptr);
  if (window == nullptr) return 1;

  // In the order Tab visits them.
  const COLORREF green = bench::kGreen;
  int id = bench::kFirstChildId;
  bench::Picture(window, id++, "Picture1", {0, 16, 129, 41}, crosshairs[kChosenCrosshair]);
  for (int k = 1; k <= kCrosshairs; ++k) {
    const bool chosen = k == kChosenCrosshair;
    bench::Button(window, id++, Numbered("Option", k).c_str(),
                  BS_RADIOBUTTON | (k == 1 ? WS_GROUP : 0u) | (chosen ? WS_TABSTOP : 0u),
                  CrosshairOption(k), green, chosen);
  }
  bench::Picture(window, id++, "Picture2", {128, 16, 121, 41}, reticles[kChosenReticle]);
  for (int k = 1; k <= kCrosshairs; ++k)
    bench::Picture(window, id++, Numbered("Picture", 2 + k).c_str(), CrosshairThumbnail(k),
                   crosshairs[k]);
  bench::Label(window, id++, "Recticles", {168, 248, 49, 17});
  MakeFrame(window, id++, reticles);
  bench::Label(window, id++, "Crosshair", {32, 0, 49, 17});
  bench::Label(window, id++, "Reticle", {168, 0, 41, 17});
  bench::Label(window, id++, "Crosshairs", {0, 64, 57, 17});

  // Nothing is left to load: the choice was shown as the buttons were made.
  points.creationEnd = points.loadEnd = points.showStart = bench::SinceProcessCreation();
  ShowWindow(window, SW_SHOW);
  points.showEnd = bench::SinceProcessCreation();
  UpdateWindow(window);
  bench::ReportWhenIdle(points);
  return bench::RunMessageLoop(window);
}
