#include "vorlane/form1.h"

#include "platform/controls/ui_backend.h"
#include "platform/services/convert.h"
#include "platform/services/error_trap.h"
#include "platform/services/message_box.h"
#include "resources/embedded_pictures.h"
#include "vorlane/tray_callback.h"
#include "vorlane/tray_icon_data.h"

namespace vorlane {
namespace {

using platform::kBlack;
using platform::kGreen;

platform::FormDesign WindowDesign() {
  return {.name = "Form1",
          .caption = "Vorlane",
          .clientWidth = 1890,
          .clientHeight = 2310,
          .backColor = kBlack,
          .border = platform::BorderStyle::kNone,
          .showInTaskbar = false,
          .heldArrowRepeats = false};  // each selection switches the mode: once a press
}

}  // namespace

Form1::Form1(platform::Runtime& runtime, Module1& module1)
    : Form(runtime, WindowDesign()),
      Picture1(*this, {.name = "Picture1",
                       .bounds = {.left = 0, .top = 0, .width = 1935, .height = 1815},
                       .tabIndex = 2}),
      Option2(*this, {.name = "Option2",
                      .caption = "Enable",
                      .bounds = {.left = 0, .top = 1800, .width = 255, .height = 255},
                      .tabIndex = 1,
                      .foreColor = platform::RGB(128, 255, 128)}),
      Label3(*this, {.name = "Label3",
                     .caption = "Enabled",
                     .bounds = {.left = 240, .top = 1800, .width = 735, .height = 255},
                     .tabIndex = 7,
                     .foreColor = kGreen}),
      Label1(*this, {.name = "Label1",
                     .caption = "Disable",
                     .bounds = {.left = 1080, .top = 1800, .width = 615, .height = 255},
                     .tabIndex = 5,
                     .foreColor = kGreen}),
      Option1(*this, {.name = "Option1",
                      .caption = "Disable",
                      .bounds = {.left = 1680, .top = 1800, .width = 255, .height = 255},
                      .tabIndex = 0,
                      .foreColor = kGreen}),
      Check1(*this, {.name = "Check1",
                     .caption = "RTR",
                     .bounds = {.left = 0, .top = 2040, .width = 735, .height = 255},
                     .tabIndex = 3,
                     .foreColor = kGreen}),
      Label2(*this, {.name = "Label2",
                     .caption = "SW",
                     .bounds = {.left = 1320, .top = 2040, .width = 375, .height = 255},
                     .tabIndex = 6,
                     .foreColor = kGreen}),
      Check2(*this, {.name = "Check2",
                     .caption = "SW",
                     .bounds = {.left = 1680, .top = 2040, .width = 255, .height = 255},
                     .tabIndex = 4,
                     .foreColor = kGreen}),
      mpopupsys(*this, "mpopupsys", "&systray", false),
      mpopen(mpopupsys, "mpopen", "&Enable"),
      mdis(mpopupsys, "mdis", "&Disable"),
      mpopsep(mpopupsys, "mpopsep", "-"),
      mexit(mpopupsys, "mexit", "Exit"),
      module1_(module1) {
  const resources::Blob bitmap = resources::TrayBitmap();
  Picture1.SetPicture(runtime.ui().DecodePicture({bitmap.data, bitmap.size}));

  onLoad = [this] { Form_Load(); };
  onMouseMove = [this](int button, int shift, double x, double y) {
    Form_MouseMove(button, shift, x, y);
  };
  onResize = [this] { Form_Resize(); };
  onUnload = [this] { Form_Unload(); };
  onShellRestarted = [this] { Form_ShellRestarted(); };
  Picture1.onClick = [this] { Picture1_Click(); };
  Option2.onClick = [this] { Option2_Click(); };
  Option1.onClick = [this] { Option1_Click(); };
  Check1.onClick = [this] { Check1_Click(); };
  Check2.onClick = [this] { Check2_Click(); };
  mpopen.onClick = [this] { mpopen_Click(); };
  mdis.onClick = [this] { mdis_Click(); };
  mexit.onClick = [this] { mexit_Click(); };
}

void Form1::Form_Load() {
  using platform::CheckBox;
  using platform::TextToBool;
  FinishStoppedSwitch();
  platform::RunTrapped(
      {
          [this] {
            module1_.Loading = platform::IntToText(1);
            module1_.LoadSettings();
          },
          [this] {
            if (TextToBool(module1_.ModeEnabled)) {
              Option2.SetValue(true);
              mpopen.SetVisible(false);
            } else {
              Option1.SetValue(true);
              mdis.SetVisible(false);
            }
          },
          [this] {
            Check1.SetValue(TextToBool(module1_.UseRtr) ? CheckBox::kChecked
                                                        : CheckBox::kUnchecked);
          },
          [this] {
            Check2.SetValue(TextToBool(module1_.UseSw) ? CheckBox::kChecked : CheckBox::kUnchecked);
          },
          [this] {
            Show();
            Refresh();
          },
          [this] { module1_.TrayIconData = MakeTrayIconData(windowHandle(), iconHandle()); },
          [this] {
            iconInPlace_ = runtime().notificationArea().NotifyIcon(platform::notify::kAdd,
                                                                   module1_.TrayIconData);
          },
          [this] { module1_.Loading = platform::IntToText(0); },
      },
      [this](const platform::RuntimeError& error) { return module1_.FirstRunRecovery(error); });
}

void Form1::Form_MouseMove(int /*button*/, int /*shift*/, double x, double /*y*/) {
  switch (CallbackMessage(x, scaleMode(), TwipsPerPixel())) {
    case mouse_message::kLeftButtonUp:
    case mouse_message::kLeftButtonDoubleClick:
      ComeBack();
      break;
    case mouse_message::kRightButtonUp:
      SetForeground();
      PopupMenu(mpopupsys);
      break;
    default:
      break;  // plain movement and button presses
  }
}

// Hidden, a window kept out of the taskbar comes back only through its icon, and minimised it
// is moved off the screen: without the icon it goes back to its place instead.
void Form1::Form_Resize() {
  if (windowState() != platform::WindowState::kMinimized) return;
  if (!iconInPlace_) iconInPlace_ = PutIconInPlace();
  if (iconInPlace_) {
    Hide();
  } else {
    SetWindowState(platform::WindowState::kNormal);
  }
}

void Form1::Form_Unload() {
  runtime().notificationArea().NotifyIcon(platform::notify::kDelete, module1_.TrayIconData);
}

// A restarted shell has forgotten the icon: give it the same record again. A window hidden in
// the tray comes back while there is no icon to bring it back with.
void Form1::Form_ShellRestarted() {
  iconInPlace_ = PutIconInPlace();
  if (iconInPlace_ || visible()) return;
  SetWindowState(platform::WindowState::kNormal);
  Show();
}

// An icon the shell still knows refuses the add, and is brought up to date instead.
bool Form1::PutIconInPlace() {
  if (!IsFilled(module1_.TrayIconData)) return false;  // the load never got as far as the icon
  platform::NotificationArea& area = runtime().notificationArea();
  return area.NotifyIcon(platform::notify::kAdd, module1_.TrayIconData) ||
         area.NotifyIcon(platform::notify::kModify, module1_.TrayIconData);
}

void Form1::Option2_Click() {
  SwitchMode(Mode::kEnabled);
}

void Form1::Option1_Click() {
  SwitchMode(Mode::kDisabled);
}

bool Form1::LoadingLowered() const {
  return platform::TextToNumber(module1_.Loading) == 0;
}

// The copies come first and go in all together or not at all, so a switch that cannot be
// made leaves the game's files, the saved state and the mode exactly as they were. The switch
// stands once the new mode is saved on the disk: a program stopped before that has its switch
// settled back when it next starts, one stopped after it has it finished.
void Form1::SwitchMode(Mode mode) {
  if (!LoadingLowered()) return;
  const auto steps = ModeCopySteps(mode, module1_.UseRtr, module1_.UseSw);
  const std::string newMode = platform::BoolToText(mode == Mode::kEnabled);
  platform::FileCopier& files = runtime().files();
  try {
    files.CopyAll(steps, module1_.ModeEnabled, newMode);
  } catch (const platform::RuntimeError& error) {
    switchFailed_ = true;
    runtime().MsgBox(SwitchFailedMessage(error, mode), platform::box::kOkOnly);
    ShowModeInForce();
    return;
  }
  module1_.ModeEnabled = newMode;
  module1_.SaveSettings();
  module1_.KeepSettings();
  files.Commit();
}

// A switch stopped half-way is settled, the files and the saved mode together, before anything
// reads them.
void Form1::FinishStoppedSwitch() {
  const auto report = runtime().files().Repair(
      ModeDestinations(), {[this] { return module1_.SavedMode(); },
                           [this](const std::string& mode) { module1_.SaveMode(mode); }});
  if (!report.empty()) runtime().MsgBox(StoppedSwitchMessage(report), platform::box::kOkOnly);
}

void Form1::ShowModeInForce() {
  const bool enabled = platform::TextToBool(module1_.ModeEnabled);
  // Raising the guard keeps the selection from running the command again.
  const std::string loading = module1_.Loading;
  module1_.Loading = platform::IntToText(1);
  (enabled ? Option2 : Option1).SetValue(true);
  module1_.Loading = loading;
}

void Form1::Check1_Click() {
  module1_.UseRtr = platform::BoolToText(Check1.value() == platform::CheckBox::kChecked);
  if (LoadingLowered()) module1_.SaveSettings();
}

void Form1::Check2_Click() {
  module1_.UseSw = platform::BoolToText(Check2.value() == platform::CheckBox::kChecked);
  if (LoadingLowered()) module1_.SaveSettings();
}

void Form1::mpopen_Click() {
  switchFailed_ = false;
  Option2.SetValue(true);
  if (switchFailed_) return;
  mpopen.SetVisible(false);
  mdis.SetVisible(true);
}

void Form1::mdis_Click() {
  switchFailed_ = false;
  Option1.SetValue(true);
  if (switchFailed_) return;
  mpopen.SetVisible(true);
  mdis.SetVisible(false);
}

void Form1::mexit_Click() {
  runtime().notificationArea().NotifyIcon(platform::notify::kDelete, module1_.TrayIconData);
  runtime().End();
}

}  // namespace vorlane
