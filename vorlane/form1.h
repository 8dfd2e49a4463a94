#pragma once
// The tray window: the mod's picture, the Enable and Disable choices, the two expansion boxes,
// and the notification-area icon with its popup menu. Loading it starts the program.
#include "platform/controls/controls.h"
#include "platform/controls/form.h"
#include "platform/controls/menu.h"
#include "platform/controls/runtime.h"
#include "vorlane/mode_switch.h"
#include "vorlane/module1.h"

namespace vorlane {

class Form1 : public platform::Form {
 public:
  Form1(platform::Runtime& runtime, Module1& module1);

  platform::PictureBox Picture1;
  platform::OptionButton Option2;  // Enable
  platform::Label Label3;
  platform::Label Label1;
  platform::OptionButton Option1;  // Disable
  platform::CheckBox Check1;       // RTR: the first expansion
  platform::Label Label2;
  platform::CheckBox Check2;  // SW: the second expansion

  // The icon's popup menu; the top level itself is never shown.
  platform::Menu mpopupsys;
  platform::Menu mpopen;
  platform::Menu mdis;
  platform::Menu mpopsep;
  platform::Menu mexit;

 private:
  void Form_Load();
  void Form_MouseMove(int button, int shift, double x, double y);
  void Form_Resize();
  void Form_Unload();
  void Form_ShellRestarted();
  void Option2_Click();
  void Option1_Click();
  void Check1_Click();
  void Check2_Click();
  void mpopen_Click();
  void mdis_Click();
  void mexit_Click();
  void Picture1_Click() {}

  // Enable or Disable: copies the mode's set, then records and saves the mode.
  void SwitchMode(Mode mode);
  // Undoes a switch that a stopped program left half-way, and says so if it cannot.
  void FinishStoppedSwitch();
  // Selects the option button of the mode in force without running its command.
  void ShowModeInForce();
  bool LoadingLowered() const;
  // Gives the shell the icon's record: added, or brought up to date where the shell has the
  // icon already. True once the icon is in place.
  bool PutIconInPlace();

  Module1& module1_;
  // Set by a switch command that could not copy its set, for the tray command that ran it: the
  // tray then keeps offering what it offered.
  bool switchFailed_ = false;
  // Whether the shell holds the icon: an add fails or times out while the shell is still
  // starting (a program started at logon), and no TaskbarCreated follows a shell merely busy.
  bool iconInPlace_ = false;
};

}  // namespace vorlane
