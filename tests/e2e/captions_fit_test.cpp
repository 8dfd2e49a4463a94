// The three windows as a player sees them, measured in-process: every caption in its own
// control's font against its control, at the screen's dots per inch and again at 144; and a
// screenshot of each window at both.
#include <gtest/gtest.h>
#include <process.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "crosshairs/form1.h"
#include "crosshairs/form2.h"
#include "crosshairs/module1.h"
#include "platform/controls/controls.h"
#include "platform/controls/runtime.h"
#include "platform/headless/memory_settings_store.h"
#include "platform/headless/recording_notification_area.h"
#include "platform/headless/scripted_message_box.h"
#include "platform/services/file_copier.h"
#include "platform/win32/controls/win32_ui.h"
#include "platform/win32/services/win32_file_system.h"
#include "platform/win32/system.h"
#include "platform/win32/windows_api.h"
#include "tests/e2e/capture.h"
#include "tests/e2e/windows_ui.h"
#include "tests/support/windows_test_environment.h"
#include "vorlane/form1.h"
#include "vorlane/module1.h"

namespace {

constexpr char kHighDpiFlag[] = "--expect-dpi=144";
constexpr DWORD kHighDpi = 144;
constexpr int kDpiNotApplied = 77;
bool expectHighDpi = false;

// The text's size in the window's own font; wrapped at word boundaries within `wrapWidth` if
// one is given.
SIZE TextSize(HWND window, const std::string& text, int wrapWidth) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
  RECT area{0, 0, wrapWidth, 0};
  DrawTextA(dc, text.c_str(), -1, &area,
            DT_CALCRECT | DT_LEFT | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return {area.right, area.bottom};
}

// What an option button or check box needs for its mark and caption: the system's own answer
// for a radio button of the same font and caption (the two marks are the same size).
int MarkAndCaptionWidth(HWND button, const std::string& caption) {
  HWND probe = CreateWindowExA(0, "BUTTON", caption.c_str(), WS_CHILD | BS_RADIOBUTTON, 0, 0, 1, 1,
                               GetParent(button), nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(probe, WM_SETFONT, SendMessageA(button, WM_GETFONT, 0, 0), FALSE);
  SIZE ideal{};
  const bool answered =
      SendMessageA(probe, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)) && ideal.cx > 1;
  DestroyWindow(probe);
  const int text = TextSize(button, caption, 0).cx;
  return answered ? static_cast<int>(ideal.cx) : text + GetSystemMetrics(SM_CXMENUCHECK) + 4;
}

struct Measured {
  std::string what;
  int needed = 0;  // pixels
  int available = 0;
};

// The frame's caption stands in its group box, the bottom-most of its children.
HWND GroupBoxOf(HWND frame) {
  HWND groupBox = nullptr;
  for (HWND child = GetWindow(frame, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    groupBox = child;
  return groupBox;
}

std::vector<Measured> Measure(const platform::Control& control) {
  HWND window = reinterpret_cast<HWND>(control.nativeHandle());
  RECT client{};
  GetClientRect(window, &client);
  const std::string& caption = control.caption();
  const std::string& name = control.name();
  switch (control.kind()) {
    case platform::ControlKind::kLabel: {
      // A label wraps at word boundaries: no line may be wider than it, and the lines must fit
      // its height.
      const SIZE wrapped = TextSize(window, caption, client.right);
      return {{name + " width", wrapped.cx, client.right},
              {name + " height", wrapped.cy, client.bottom}};
    }
    case platform::ControlKind::kOptionButton:
    case platform::ControlKind::kCheckBox:
      return {{name + " width", MarkAndCaptionWidth(window, caption), client.right}};
    case platform::ControlKind::kFrame: {
      // The caption stands in the top edge, clear of the corners by a character each side.
      HWND groupBox = GroupBoxOf(window);
      const int text = TextSize(groupBox, caption, 0).cx;
      const int margin = TextSize(groupBox, "M", 0).cx;
      return {{name + " width", text + 2 * margin, client.right}};
    }
    default:
      return {};
  }
}

// `narrow`: the controls whose captions the layout itself makes wider than they are.
void ExpectCaptionsFit(const std::string& window, const platform::Container& container,
                       const std::set<std::string>& narrow) {
  for (const platform::Control* control : container.controls()) {
    if (const auto* frame = dynamic_cast<const platform::Frame*>(control))
      ExpectCaptionsFit(window, *frame, narrow);
    if (control->caption().empty() || narrow.contains(control->name())) continue;
    for (const Measured& measured : Measure(*control)) {
      std::printf("%d dpi  %-16s %-14s %3d of %3d px  \"%s\"\n", e2e::ScreenDpi(), window.c_str(),
                  measured.what.c_str(), measured.needed, measured.available,
                  control->caption().c_str());
      EXPECT_LE(measured.needed, measured.available)
          << window << " " << measured.what << " \"" << control->caption() << "\"";
    }
  }
}

// The window as the screen shows it. The window is this thread's own: it paints only while
// this thread handles its messages.
void SaveScreenshot(const platform::Form& form, const std::string& name) {
  HWND window = reinterpret_cast<HWND>(form.windowHandle());
  SetForegroundWindow(window);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  for (int round = 0; round < 20; ++round) {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(25);
  }
  const auto image = e2e::CaptureScreen(e2e::ClientRectOnScreen(window));
  ASSERT_TRUE(image) << "cannot capture " << name;
  EXPECT_TRUE(e2e::SaveBmp(*image, name + "-" + std::to_string(e2e::ScreenDpi()) + "dpi.bmp"));
}

// Shown, measured, photographed and closed.
void CheckWindow(const std::string& name, const std::string& shot, platform::Form& form,
                 const std::set<std::string>& narrow = {}) {
  form.Show();
  ExpectCaptionsFit(name, form, narrow);
  SaveScreenshot(form, shot);
  form.Unload();
}

TEST(Captions, FitTheirControlsAtTheScreensDotsPerInch) {
  if (expectHighDpi && e2e::ScreenDpi() != static_cast<int>(kHighDpi)) std::exit(kDpiNotApplied);
  test_support::WindowsTestEnvironment env{"captions"};
  env.settings.Save("Vorlane", "crosshair", "cr", "7");
  env.settings.Save("Vorlane", "crosshair", "rt", "2");
  env.settings.Save("Vorlane", "setting", "mode", "True");
  env.settings.Save("Vorlane", "setting", "rtr", "True");
  env.settings.Save("Vorlane", "setting", "sw", "False");

  crosshairs::Module1 crosshairsModule(env.runtime);
  crosshairs::Form1 selector(env.runtime, crosshairsModule);
  // The option buttons and the check box are only as wide as their mark: the labels beside
  // them carry the words.
  std::set<std::string> options;
  for (int k = 1; k <= crosshairs::kCrosshairCount; ++k)
    options.insert("Option" + std::to_string(k));
  for (int k = 1; k <= crosshairs::kReticleCount; ++k) options.insert("rt" + std::to_string(k));
  CheckWindow("crosshairs Form1", "crosshairs", selector, options);

  crosshairs::Form2 about(env.runtime);
  CheckWindow("crosshairs Form2", "about", about);

  vorlane::Module1 vorlaneModule(env.runtime);
  vorlane::Form1 tray(env.runtime, vorlaneModule);
  CheckWindow("vorlane Form1", "vorlane", tray, {"Option1", "Option2", "Check2"});
}

// Wine reads the dots per inch from the user's desktop settings when a process starts: this
// program runs itself again under 144, and puts the setting back afterwards.
TEST(Captions, FitTheirControlsAt144DotsPerInch) {
  if (expectHighDpi) GTEST_SKIP() << "the run at 144 itself";
  constexpr char kDesktop[] = "Control Panel\\Desktop";
  DWORD previous = 0;
  DWORD size = sizeof previous;
  const bool hadValue = RegGetValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels", RRF_RT_REG_DWORD,
                                     nullptr, &previous, &size) == ERROR_SUCCESS;
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels", REG_DWORD, &kHighDpi,
                            sizeof kHighDpi),
            ERROR_SUCCESS);

  // Through the C runtime, which hands this program's output handles on to the run.
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const auto exitCode =
      _spawnl(_P_WAIT, self, ("\"" + std::string(self) + "\"").c_str(), kHighDpiFlag,
              "--gtest_filter=Captions.FitTheirControlsAtTheScreensDotsPerInch", nullptr);
  if (hadValue) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels", REG_DWORD, &previous,
                    sizeof previous);
  } else {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels");
  }
  ASSERT_NE(exitCode, -1) << "cannot run " << self;
  if (exitCode == kDpiNotApplied) GTEST_SKIP() << "this system takes 144 dpi only at logon";
  EXPECT_EQ(exitCode, 0) << "captions cut off at 144 dpi (see the output above)";
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i)
    expectHighDpi = expectHighDpi || std::string(argv[i]) == kHighDpiFlag;
  return RUN_ALL_TESTS();
}
