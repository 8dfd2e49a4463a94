#include "platform/win32/controls/win32_ui.h"
#include "platform/win32/windows_api.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/controls/form.h"
#include "platform/controls/keyboard_navigation.h"
#include "platform/controls/menu.h"
#include "platform/controls/runtime.h"
#include "platform/services/runtime_error.h"
#include "platform/win32/controls/menu_builder.h"
#include "platform/win32/controls/one_copy_per_folder.h"
#include "platform/win32/event_boundary.h"
#include "sample_pictures.h"
#include "tests/support/temp_folder.h"
#include "tests/support/windows_test_environment.h"
#include "window_probes.h"

namespace platform::win32 {
namespace {

using test_support::CheckState;
using test_support::ChildrenTopFirst;
using test_support::ClassOf;
using test_support::IsAt;
using test_support::MenuBarCaptions;
using test_support::PressKey;
using test_support::StyleOf;
using test_support::TextOf;
using test_support::WindowOf;

const FormDesign kTestForm{.name = "TestForm",
                           .caption = "Test window",
                           .clientWidth = 3720,
                           .clientHeight = 2400,
                           .backColor = kBlack,
                           .border = BorderStyle::kFixedSingle,
                           .minButton = false,
                           .maxButton = false};

// A fixed dialog kept out of the taskbar, as the About window is.
const FormDesign kAboutForm{.name = "About",
                            .caption = "About",
                            .clientWidth = 4680,
                            .clientHeight = 3195,
                            .border = BorderStyle::kFixedDialog,
                            .minButton = false,
                            .maxButton = false,
                            .showInTaskbar = false};

// A window with one control of each kind, two option groups and a menu bar and popup menu.
struct TestWindow {
  explicit TestWindow(Runtime& runtime, FormDesign design = kTestForm)
      : form(runtime, std::move(design)) {
    option1.onClick = [this] { ++option1Clicks; };
    option2.onClick = [this] { ++option2Clicks; };
    rt1.onClick = [this] { ++rt1Clicks; };
    check.onClick = [this] { ++checkClicks; };
    apply.onClick = [this] { ++applyClicks; };
  }

  Form form;
  Label label{form,
              {.name = "Label1",
               .caption = "A caption much longer than its label is wide",
               .bounds = {120, 0, 735, 255},
               .tabIndex = 5,
               .foreColor = kGreen}};
  OptionButton option1{form,
                       {.name = "Option1",
                        .caption = "Option1",
                        .bounds = {120, 600, 255, 255},
                        .tabIndex = 1,
                        .foreColor = kGreen}};
  OptionButton option2{form,
                       {.name = "Option2",
                        .caption = "Option2",
                        .bounds = {120, 1200, 255, 255},
                        .tabIndex = 2,
                        .foreColor = kGreen}};
  Frame frame{
      form,
      {.name = "Frame1", .caption = "Recticles", .bounds = {1200, 600, 1215, 1500}, .tabIndex = 3}};
  OptionButton rt1{
      frame, {.name = "rt1", .caption = "rt1", .bounds = {120, 480, 255, 255}, .tabIndex = 2}};
  OptionButton rt2{frame,
                   {.name = "rt2",
                    .caption = "rt2",
                    .bounds = {120, 1080, 255, 195},
                    .tabIndex = 1,
                    .backColor = kRed}};
  CheckBox check{
      form, {.name = "Check1", .caption = "RTR", .bounds = {0, 2040, 735, 255}, .tabIndex = 4}};
  PictureBox picture{form, {.name = "Picture1", .bounds = {480, 1200, 615, 615}, .tabIndex = 6}};
  Image image{form, {.name = "Image1", .bounds = {2400, 120, 1095, 1215}, .tabIndex = 7}};
  Menu apply{form, "Mapply", "Apply"};
  Menu about{form, "Mabout", "About"};
  Menu popup{form, "mpopupsys", "&systray", false};
  Menu enable{popup, "mpopen", "&Enable"};
  Menu separator{popup, "mpopsep", "-"};
  Menu exit{popup, "mexit", "Exit"};

  int option1Clicks = 0;
  int option2Clicks = 0;
  int rt1Clicks = 0;
  int checkClicks = 0;
  int applyClicks = 0;
};

class Win32UiTest : public ::testing::Test {
 protected:
  test_support::WindowsTestEnvironment env_{"win32 test"};
};

// The windows that were told BM_SETDONTCLICK(TRUE), seen by a hook on the thread's messages.
std::vector<HWND> toldNotToClickOnFocus;
LRESULT CALLBACK WatchDontClick(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == BM_SETDONTCLICK && sent->wParam == TRUE)
    toldNotToClickOnFocus.push_back(sent->hwnd);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Win32UiTest, ControlsAreChildWindowsOfTheirKindAtTheirPlaceInTabOrder) {
  TestWindow window(env_.runtime);
  toldNotToClickOnFocus.clear();
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &WatchDontClick, nullptr, GetCurrentThreadId());
  window.form.Show();
  UnhookWindowsHookEx(hook);
  HWND form = WindowOf(window.form);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(TextOf(form), "Test window");
  RECT client{};
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, 248);
  EXPECT_EQ(client.bottom, 160);

  EXPECT_STRCASEEQ(ClassOf(WindowOf(window.label)).c_str(), "static");
  EXPECT_EQ(StyleOf(WindowOf(window.label)) & SS_TYPEMASK, static_cast<DWORD>(SS_LEFT));
  EXPECT_STRCASEEQ(ClassOf(WindowOf(window.option1)).c_str(), "button");
  EXPECT_EQ(StyleOf(WindowOf(window.option1)) & BS_TYPEMASK, static_cast<DWORD>(BS_RADIOBUTTON));
  EXPECT_EQ(StyleOf(WindowOf(window.check)) & BS_TYPEMASK, static_cast<DWORD>(BS_3STATE));
  EXPECT_STRCASEEQ(ClassOf(WindowOf(window.frame)).c_str(), "vlframe");
  EXPECT_STRCASEEQ(ClassOf(WindowOf(window.picture)).c_str(), "vlpicturebox");
  EXPECT_STRCASEEQ(ClassOf(WindowOf(window.image)).c_str(), "vlimage");
  // Each control in its container's inner area, its text the caption, also where the control
  // is far too narrow to show it; a picture's text is its name.
  test_support::ExpectChildrenAtTheirPlaces(window.form, form);
  test_support::ExpectChildrenAtTheirPlaces(window.frame, WindowOf(window.frame));
  EXPECT_EQ(TextOf(WindowOf(window.label)), "A caption much longer than its label is wide");
  EXPECT_EQ(TextOf(WindowOf(window.picture)), "Picture1");

  // Z-order is tab order; the frame's group box lies below the frame's controls.
  const std::vector<HWND> expected = {WindowOf(window.option1), WindowOf(window.option2),
                                      WindowOf(window.frame),   WindowOf(window.check),
                                      WindowOf(window.label),   WindowOf(window.picture),
                                      WindowOf(window.image)};
  EXPECT_EQ(ChildrenTopFirst(form), expected);
  const std::vector<HWND> inFrame = ChildrenTopFirst(WindowOf(window.frame));
  ASSERT_EQ(inFrame.size(), 3u);
  EXPECT_EQ(inFrame[0], WindowOf(window.rt2));
  EXPECT_EQ(inFrame[1], WindowOf(window.rt1));
  EXPECT_STRCASEEQ(ClassOf(inFrame[2]).c_str(), "button");
  EXPECT_EQ(StyleOf(inFrame[2]) & BS_TYPEMASK, static_cast<DWORD>(BS_GROUPBOX));
  EXPECT_EQ(TextOf(inFrame[2]), "Recticles");
  EXPECT_TRUE(IsAt(inFrame[2], {0, 0, window.frame.bounds().width, window.frame.bounds().height}));

  // A run of option buttons is one group that Tab enters once; other controls stand alone.
  const DWORD entered = WS_GROUP | WS_TABSTOP;
  EXPECT_EQ(StyleOf(WindowOf(window.option1)) & entered, entered);
  EXPECT_EQ(StyleOf(WindowOf(window.option2)) & entered, 0u);
  EXPECT_EQ(StyleOf(WindowOf(window.check)) & entered, entered);
  EXPECT_TRUE(GetWindowLongPtrA(WindowOf(window.frame), GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
  EXPECT_EQ(toldNotToClickOnFocus,
            (std::vector<HWND>{WindowOf(window.option1), WindowOf(window.option2),
                               WindowOf(window.rt2), WindowOf(window.rt1)}));

  window.form.Unload();
  EXPECT_FALSE(IsWindow(form));
  EXPECT_EQ(window.option1.nativeHandle(), 0u);
  EXPECT_EQ(window.rt1.nativeHandle(), 0u);

  // A control whose tab index falls among the buttons' comes after the whole group: Tab and the
  // arrow keys see the same group.
  Form split(env_.runtime, kTestForm);
  OptionButton first(split, {.name = "First", .tabIndex = 1});
  CheckBox between(split, {.name = "Between", .tabIndex = 2});
  OptionButton last(split, {.name = "Last", .tabIndex = 3});
  split.Show();
  HWND splitWindow = WindowOf(split);
  EXPECT_EQ(ChildrenTopFirst(splitWindow),
            (std::vector<HWND>{WindowOf(first), WindowOf(last), WindowOf(between)}));
  EXPECT_EQ(&OptionReached(first, ArrowStep::kNext), &last);
  EXPECT_EQ(GetNextDlgGroupItem(splitWindow, WindowOf(first), FALSE), WindowOf(last));
  EXPECT_EQ(GetNextDlgTabItem(splitWindow, WindowOf(first), FALSE), WindowOf(between));
  EXPECT_EQ(GetNextDlgTabItem(splitWindow, WindowOf(between), FALSE), WindowOf(first));
}

TEST_F(Win32UiTest, SelectingAnOptionClicksItOnceAndClearsOnlyItsOwnGroup) {
  TestWindow window(env_.runtime);
  window.form.Show();
  window.rt1.SetValue(true);
  EXPECT_EQ(window.rt1Clicks, 1);
  EXPECT_EQ(CheckState(window.rt1), BST_CHECKED);

  window.option2.SetValue(true);
  EXPECT_EQ(window.option2Clicks, 1);
  EXPECT_EQ(CheckState(window.option2), BST_CHECKED);
  EXPECT_EQ(CheckState(window.option1), BST_UNCHECKED);
  EXPECT_EQ(CheckState(window.rt1), BST_CHECKED);
  EXPECT_EQ(CheckState(window.rt2), BST_UNCHECKED);
  // Tab now enters the group at the selected button.
  EXPECT_FALSE(StyleOf(WindowOf(window.option1)) & WS_TABSTOP);
  EXPECT_TRUE(StyleOf(WindowOf(window.option2)) & WS_TABSTOP);

  // A user's click on the button arrives at the model, which decides what is checked.
  SendMessageA(WindowOf(window.option1), BM_CLICK, 0, 0);
  EXPECT_EQ(window.option1Clicks, 1);
  EXPECT_TRUE(window.option1.value());
  EXPECT_FALSE(window.option2.value());
  EXPECT_EQ(CheckState(window.option1), BST_CHECKED);
  EXPECT_EQ(CheckState(window.option2), BST_UNCHECKED);
  EXPECT_EQ(CheckState(window.rt1), BST_CHECKED);
  SendMessageA(WindowOf(window.option1), BM_CLICK, 0, 0);  // already selected: nothing
  EXPECT_EQ(window.option1Clicks, 1);

  SendMessageA(WindowOf(window.check), BM_CLICK, 0, 0);
  EXPECT_EQ(window.check.value(), CheckBox::kChecked);
  EXPECT_EQ(CheckState(window.check), BST_CHECKED);
  SendMessageA(WindowOf(window.check), BM_CLICK, 0, 0);
  EXPECT_EQ(window.check.value(), CheckBox::kUnchecked);
  EXPECT_EQ(CheckState(window.check), BST_UNCHECKED);
  EXPECT_EQ(window.checkClicks, 2);
  window.check.SetValue(CheckBox::kGrayed);
  EXPECT_EQ(CheckState(window.check), BST_INDETERMINATE);
}

TEST_F(Win32UiTest, TheMenuBarHoldsTheVisibleTopLevelEntries) {
  TestWindow window(env_.runtime);
  window.form.Show();
  HWND form = WindowOf(window.form);
  EXPECT_EQ(MenuBarCaptions(form), (std::vector<std::string>{"Apply", "About"}));
  RECT client{};
  GetClientRect(form, &client);
  EXPECT_EQ(client.bottom, 160);  // the bar comes on top of the inner area

  SendMessageA(form, WM_COMMAND, kMenuCommandBase + static_cast<UINT>(window.apply.id()), 0);
  EXPECT_EQ(window.applyClicks, 1);
  // Enter and Esc send IDOK and IDCANCEL as commands; they are no menu entries.
  SendMessageA(form, WM_COMMAND, IDOK, 0);
  SendMessageA(form, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(window.applyClicks, 1);

  window.about.SetVisible(false);
  EXPECT_EQ(MenuBarCaptions(form), (std::vector<std::string>{"Apply"}));
  window.enable.SetVisible(false);  // an entry of a popup-only menu: the bar stays
  EXPECT_EQ(MenuBarCaptions(form), (std::vector<std::string>{"Apply"}));
}

TEST_F(Win32UiTest, AnImageTakesItsPicturesSizeAndAPictureBoxKeepsItsOwn) {
  TestWindow window(env_.runtime);
  window.form.Show();
  const Bounds designed = window.image.bounds();
  EXPECT_TRUE(IsAt(WindowOf(window.image), designed));
  for (const auto& sample : {test_support::SampleGif(), test_support::SampleJpeg()}) {
    window.image.SetPicture(env_.ui.DecodePicture(sample.bytes()));
    EXPECT_TRUE(IsAt(WindowOf(window.image), {designed.left, designed.top, sample.size.width * 15,
                                              sample.size.height * 15}));
  }
  window.picture.SetPicture(env_.ui.DecodePicture(test_support::SampleBmp().bytes()));
  EXPECT_TRUE(IsAt(WindowOf(window.picture), window.picture.bounds()));
  EXPECT_EQ(window.picture.bounds(), (Bounds{480, 1200, 615, 615}));
  window.form.Refresh();
}

TEST_F(Win32UiTest, ControlsAnswerWithTheirOwnColours) {
  TestWindow window(env_.runtime);
  window.form.Show();
  HDC dc = CreateCompatibleDC(nullptr);
  auto colours = [&](const Control& control, HWND parent) {
    const LRESULT brush = SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(WindowOf(control)));
    LOGBRUSH fill{};
    GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof fill, &fill);
    return std::vector<COLORREF>{GetTextColor(dc), GetBkColor(dc), fill.lbColor};
  };
  HWND form = WindowOf(window.form);
  EXPECT_EQ(colours(window.label, form), (std::vector<COLORREF>{0x00FF00, 0, 0}));
  EXPECT_EQ(colours(window.option1, form), (std::vector<COLORREF>{0x00FF00, 0, 0}));
  // Inside a frame, through the frame; the default text colour is the system's.
  const COLORREF systemText = GetSysColor(COLOR_BTNTEXT);
  EXPECT_EQ(colours(window.rt1, WindowOf(window.frame)), (std::vector<COLORREF>{systemText, 0, 0}));
  EXPECT_EQ(colours(window.rt2, WindowOf(window.frame)),
            (std::vector<COLORREF>{systemText, 0x0000FF, 0x0000FF}));
  DeleteDC(dc);
}

TEST_F(Win32UiTest, WindowMessagesBecomeTheFormsEvents) {
  TestWindow window(env_.runtime);
  std::vector<std::vector<double>> moves;
  int resizes = 0;
  int shellRestarts = 0;
  int unloads = 0;
  window.form.onMouseMove = [&](int button, int shift, double x, double y) {
    moves.push_back({static_cast<double>(button), static_cast<double>(shift), x, y});
  };
  window.form.onResize = [&] { ++resizes; };
  window.form.onShellRestarted = [&] { ++shellRestarts; };
  window.form.onUnload = [&] { ++unloads; };
  window.form.Load();
  EXPECT_EQ(resizes, 0);  // creating the window is no resize; showing it may be
  window.form.Show();
  HWND form = WindowOf(window.form);

  // The notification icon's callback: message 512 with the mouse message as lParam.
  SendMessageA(form, WM_MOUSEMOVE, 1, WM_LBUTTONUP);
  SendMessageA(form, WM_MOUSEMOVE, 0, MAKELPARAM(-5, 7));
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_EQ(moves[0], (std::vector<double>{1, 0, 514 * 15, 0}));
  EXPECT_EQ(moves[1], (std::vector<double>{0, 0, -75, 105}));

  SendMessageA(form, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_EQ(shellRestarts, 1);

  window.form.SetWindowState(WindowState::kMinimized);
  EXPECT_EQ(window.form.windowState(), WindowState::kMinimized);
  EXPECT_GE(resizes, 1);
  const int resizesWhenMinimized = resizes;
  window.form.SetWindowState(WindowState::kNormal);
  EXPECT_EQ(window.form.windowState(), WindowState::kNormal);
  EXPECT_GT(resizes, resizesWhenMinimized);

  SendMessageA(form, WM_CLOSE, 0, 0);
  EXPECT_EQ(unloads, 1);
  EXPECT_FALSE(window.form.loaded());
  EXPECT_FALSE(IsWindow(form));
}

TEST_F(Win32UiTest, MinimisedAndHiddenAWindowComesBackWhenRestored) {
  TestWindow window(env_.runtime);
  window.form.onResize = [&] {
    if (window.form.windowState() == WindowState::kMinimized) window.form.Hide();
  };
  window.form.Show();
  HWND form = WindowOf(window.form);
  window.form.SetWindowState(WindowState::kMinimized);
  EXPECT_FALSE(IsWindowVisible(form));
  EXPECT_FALSE(window.form.visible());
  window.form.SetWindowState(WindowState::kNormal);
  window.form.SetForeground();
  window.form.Show();
  EXPECT_TRUE(IsWindowVisible(form));
  EXPECT_FALSE(IsIconic(form));
  EXPECT_TRUE(window.form.visible());
}

TEST_F(Win32UiTest, BorderStylesTaskbarAndIcon) {
  TestWindow tray(env_.runtime, {.name = "Tray",
                                 .caption = "Vorlane",
                                 .clientWidth = 1890,
                                 .clientHeight = 2310,
                                 .border = BorderStyle::kNone,
                                 .showInTaskbar = false});
  tray.apply.SetVisible(false);
  tray.about.SetVisible(false);
  tray.form.Show();
  HWND popup = WindowOf(tray.form);
  EXPECT_EQ(TextOf(popup), "Vorlane");
  EXPECT_TRUE(StyleOf(popup) & WS_POPUP);
  EXPECT_FALSE(StyleOf(popup) & WS_CAPTION);
  EXPECT_FALSE(GetWindowLongPtrA(popup, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  // Owned by the backend's hidden window, named after the program.
  HWND owner = GetWindow(popup, GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_FALSE(IsWindowVisible(owner));
  EXPECT_EQ(TextOf(owner), "win32 test");
  RECT outer{};
  GetWindowRect(popup, &outer);
  EXPECT_EQ(outer.right - outer.left, 126);
  EXPECT_EQ(outer.bottom - outer.top, 154);
  // The icon the notification area gets is the small one the window shows.
  const auto icon = reinterpret_cast<HICON>(tray.form.iconHandle());
  EXPECT_EQ(GetClassLongPtrA(popup, GCLP_HICONSM), reinterpret_cast<LONG_PTR>(icon));
  ICONINFO iconInfo{};
  ASSERT_TRUE(GetIconInfo(icon, &iconInfo));
  BITMAP mask{};
  GetObjectA(iconInfo.hbmMask, sizeof mask, &mask);
  EXPECT_EQ(mask.bmWidth, GetSystemMetrics(SM_CXSMICON));
  DeleteObject(iconInfo.hbmMask);
  if (iconInfo.hbmColor != nullptr) DeleteObject(iconInfo.hbmColor);

  TestWindow dialog(env_.runtime, kAboutForm);
  dialog.apply.SetVisible(false);
  dialog.about.SetVisible(false);
  dialog.form.Load();
  HWND about = WindowOf(dialog.form);
  EXPECT_TRUE(StyleOf(about) & WS_CAPTION);
  EXPECT_TRUE(StyleOf(about) & WS_SYSMENU);
  EXPECT_FALSE(StyleOf(about) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE(GetWindowLongPtrA(about, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_EQ(SendMessageA(about, WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(icon));
  // Owned by the program's active window, so that it stays above it.
  EXPECT_EQ(GetActiveWindow(), popup);
  EXPECT_EQ(GetWindow(about, GW_OWNER), popup);
  RECT client{};
  GetClientRect(about, &client);
  EXPECT_EQ(client.right, 312);
  EXPECT_EQ(client.bottom, 213);

  TestWindow plain(env_.runtime,
                   {.name = "Plain", .border = BorderStyle::kSizable, .hasIcon = false});
  plain.form.Load();
  HWND sizable = WindowOf(plain.form);
  EXPECT_TRUE(StyleOf(sizable) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_EQ(GetWindow(sizable, GW_OWNER), nullptr);
  EXPECT_EQ(plain.form.iconHandle(), 0u);
  EXPECT_EQ(GetClassLongPtrA(sizable, GCLP_HICON), 0);
}

// Runs `action` once from inside whatever message loop runs next.
class NextLoopAction {
 public:
  explicit NextLoopAction(std::function<void()> action) {
    pending_ = std::move(action);
    SetTimer(nullptr, 0, 10, &Fire);
  }

 private:
  static void CALLBACK Fire(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    auto action = std::move(pending_);
    pending_ = nullptr;
    if (action) action();
  }
  static inline std::function<void()> pending_;
};

TEST_F(Win32UiTest, AModalWindowBlocksTheOthersUntilItIsUnloaded) {
  TestWindow main(env_.runtime);
  main.form.Show();
  TestWindow about(env_.runtime, kAboutForm);
  int mainUnloads = 0;
  main.form.onUnload = [&] { ++mainUnloads; };
  bool mainWasEnabled = true;
  bool aboutWasVisible = false;
  NextLoopAction act([&] {
    mainWasEnabled = IsWindowEnabled(WindowOf(main.form)) != FALSE;
    aboutWasVisible = IsWindowVisible(WindowOf(about.form)) != FALSE;
    SendMessageA(WindowOf(main.form), WM_CLOSE, 0, 0);  // ignored while blocked
    PostMessageA(WindowOf(about.form), WM_CLOSE, 0, 0);
  });
  about.form.Show(true);  // returns once the window is unloaded

  EXPECT_FALSE(mainWasEnabled);
  EXPECT_TRUE(aboutWasVisible);
  EXPECT_FALSE(about.form.loaded());
  EXPECT_EQ(mainUnloads, 0);
  EXPECT_TRUE(main.form.loaded());
  EXPECT_TRUE(IsWindowEnabled(WindowOf(main.form)));
}

TEST_F(Win32UiTest, TheMessageLoopEndsWithTheLastWindow) {
  TestWindow first(env_.runtime);
  TestWindow second(env_.runtime);
  first.form.Show();
  second.form.Show();
  NextLoopAction act([&] {
    PostMessageA(WindowOf(first.form), WM_CLOSE, 0, 0);
    PostMessageA(WindowOf(second.form), WM_CLOSE, 0, 0);
  });
  env_.ui.RunMessageLoop();
  EXPECT_FALSE(first.form.loaded());
  EXPECT_FALSE(second.form.loaded());
  env_.ui.RunMessageLoop();  // no window: returns at once
}

// Closes a menu left open (the keys went elsewhere), so that the test fails instead of hanging.
void CALLBACK CloseMenuLeftOpen(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  EndMenu();
}

TEST_F(Win32UiTest, APopupReturnsTheEntryChosenAmongTheVisibleOnes) {
  TestWindow window(env_.runtime);
  window.form.Show();
  window.enable.SetVisible(false);
  // Once the menu is open: Down selects its first entry that can be chosen, Enter chooses it.
  NextLoopAction act([] { EXPECT_TRUE(PressKey(VK_DOWN) && PressKey(VK_RETURN)); });
  const UINT_PTR fallback = SetTimer(nullptr, 0, 5000, &CloseMenuLeftOpen);
  Menu* chosen = env_.ui.ShowPopup(window.form, window.popup);
  KillTimer(nullptr, fallback);
  EXPECT_EQ(chosen, &window.exit);  // the hidden entry and the separator are not offered
}

TEST(EventBoundary, ReportsWhatReachesItWithTheRuntimesWords) {
  auto text = [](auto thrown) {
    try {
      throw thrown;
    } catch (...) {
      return EscapedExceptionText();
    }
  };
  EXPECT_EQ(text(RuntimeError(error::kPathNotFound)), "Run-time error '76':\n\nPath not found");
  EXPECT_EQ(text(std::bad_alloc()), "Run-time error '7':\n\nOut of memory");
  EXPECT_EQ(text(std::logic_error("broken")), "Run-time error '51':\n\nInternal error: broken");
  EXPECT_EQ(text(42), "Run-time error '51':\n\nInternal error");
}

// A folder is claimed under one name however it is written: by its long name, the short one the
// system made, in another case, through a link standing for a junction or through a second
// drive letter onto it (both made by the test's fixture, folder_spellings.sh, where the host can
// make them); another folder under another name, also where the ANSI code page spells both
// names as "????".
TEST(OneCopyPerFolder, AFolderIsClaimedByOneNameHoweverItIsWritten) {
  test_support::TempWorkingFolder working;
  const char* prepared = std::getenv("VL_FOLDER_SPELLINGS");
  std::wstring root(MAX_PATH, L'\0');
  root.resize(GetCurrentDirectoryW(MAX_PATH, root.data()));
  if (prepared != nullptr) root = L"Z:" + std::wstring(prepared, prepared + std::strlen(prepared));
  std::replace(root.begin(), root.end(), L'/', L'\\');
  for (const wchar_t* name : {L"A folder of a long name", L"Another folder", L"мода", L"тест"})
    CreateDirectoryW((root + L"\\" + name).c_str(), nullptr);
  const std::wstring folder = root + L"\\A folder of a long name";
  wchar_t shortName[MAX_PATH] = {};
  ASSERT_GT(GetShortPathNameW(folder.c_str(), shortName, MAX_PATH), 0u);
  ASSERT_NE(std::wstring(shortName).find(L'~'), std::wstring::npos) << shortName;

  struct Spellings {
    std::wstring one;
    std::wstring other;
    bool oneFolder;
  };
  std::vector<Spellings> table{{folder, shortName, true},
                               {folder, root + L"\\A FOLDER OF A LONG NAME", true},
                               {folder, root + L"\\Another folder", false},
                               {root + L"\\мода", root + L"\\тест", false}};
  if (prepared != nullptr) {
    table.push_back({folder, root + L"\\link", true});
    std::ifstream drive(std::filesystem::path(root + L"\\drive"));
    std::string letter;
    if (drive >> letter)
      table.push_back({folder, std::filesystem::path(letter + "\\A folder of a long name"), true});
  }
  auto claimIn = [](const std::wstring& spelling) {
    EXPECT_TRUE(SetCurrentDirectoryW(spelling.c_str())) << spelling;
    return FolderClaimName("program");
  };
  for (const auto& [one, other, oneFolder] : table) {
    const std::string claim = claimIn(one);
    EXPECT_FALSE(claim.empty()) << one;
    EXPECT_EQ(claimIn(other) == claim, oneFolder) << one << " and " << other;
  }
}

// A claim that exists but is closed to a later copy (the first copy runs elevated) is held all
// the same: the later copy brings the first one's window back instead of running beside it.
TEST_F(Win32UiTest, AClaimClosedToALaterCopyIsHeldAllTheSame) {
  test_support::TempWorkingFolder working;
  TestWindow window(env_.runtime);
  ASSERT_EQ(env_.ui.ClaimWorkingFolder("program", window.form), FolderClaim::kClaimed);
  window.form.Show();
  window.form.SetWindowState(WindowState::kMinimized);
  const std::string name = FolderClaimName("program");
  PSECURITY_DESCRIPTOR denyEveryone = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
      "D:(D;;GA;;;WD)", SDDL_REVISION_1, &denyEveryone, nullptr));
  HANDLE first = OpenMutexA(WRITE_DAC, FALSE, name.c_str());
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(SetKernelObjectSecurity(first, DACL_SECURITY_INFORMATION, denyEveryone));
  LocalFree(denyEveryone);
  CloseHandle(first);
  ASSERT_EQ(CreateMutexA(nullptr, TRUE, name.c_str()), nullptr);
  ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

  HANDLE later = nullptr;
  EXPECT_EQ(ClaimOrHandOver(name, later), FolderClaim::kHandedOver);
  EXPECT_EQ(later, nullptr);
  EXPECT_EQ(window.form.windowState(), WindowState::kNormal);
}

}  // namespace
}  // namespace platform::win32
