#pragma once
// The selector window: the crosshairs' and reticles' option buttons beside their thumbnails, two
// large previews of the current choice, and the menu bar with Apply and About.
#include <array>

#include "crosshairs/module1.h"
#include "crosshairs/preview_lists.h"
#include "platform/controls/controls.h"
#include "platform/controls/form.h"
#include "platform/controls/menu.h"
#include "platform/controls/picture.h"
#include "platform/services/error_trap.h"

namespace crosshairs {

class Form1 : public platform::Form {
 public:
  Form1(platform::Runtime& runtime, Module1& module1);

  // The option button of crosshair k (1..20) and of reticle k (1..3).
  platform::OptionButton& CrosshairOption(int k) { return *crosshairOptions_.at(Index(k)); }
  platform::OptionButton& ReticleOption(int k) { return *reticleOptions_.at(Index(k)); }
  // The two large previews, then a thumbnail for every crosshair and every reticle: Picture1 ..
  // Picture25 by their number.
  static constexpr int kPictureCount = 2 + kCrosshairCount + kReticleCount;
  platform::PictureBox& PictureNumbered(int n) { return *pictures_.at(Index(n)); }
  // The numbers of the thumbnails of crosshair k and reticle k: after the two large previews,
  // the crosshairs', then the reticles'.
  static constexpr int CrosshairThumbnailNumber(int k) { return 2 + k; }
  static constexpr int ReticleThumbnailNumber(int k) { return 2 + kCrosshairCount + k; }

  // Declared in the order they are laid out; members are built in this order, so every
  // container comes before what it holds.
  platform::Label Label2;
  platform::Label Label3;
  platform::PictureBox Picture1;
  platform::PictureBox Picture2;
  platform::Label Label4;
  platform::OptionButton Option1, Option2, Option3, Option4, Option5, Option6, Option7, Option8,
      Option9, Option10, Option11, Option12, Option13, Option14, Option15, Option16, Option17,
      Option18, Option19, Option20;
  platform::PictureBox Picture3, Picture4, Picture5, Picture6, Picture7, Picture8, Picture9,
      Picture10, Picture11, Picture12, Picture13, Picture14, Picture15, Picture16, Picture17,
      Picture18, Picture19, Picture20, Picture21, Picture22;
  platform::Label Label1;
  platform::Frame Frame1;
  platform::OptionButton rt1, rt2, rt3;
  platform::PictureBox Picture23, Picture24, Picture25;
  platform::Menu Mapply;
  platform::Menu Mabout;
  platform::ImageList ILCR;
  platform::ImageList ILRT;

 private:
  static std::size_t Index(int number) { return static_cast<std::size_t>(number - 1); }

  void Form_Load();
  // The load handler's recovery block: the first-run defaults for a choice that does not
  // convert, and a quiet end of the load for any other error.
  platform::Recovery Form_Load_Recovery(const platform::RuntimeError& error);
  // The load handler's thumbnail steps: crosshair k and reticle k into their thumbnails.
  platform::Statement ShowCrosshairThumbnail(int k);
  platform::Statement ShowReticleThumbnail(int k);
  // The click handlers of Option1..Option20 and rt1..rt3, told apart by their number.
  void Option_Click(int k);
  void rt_Click(int k);
  void Mapply_Click();
  void Mabout_Click();

  Module1& module1_;
  std::array<platform::OptionButton*, kCrosshairCount> crosshairOptions_;
  std::array<platform::OptionButton*, kReticleCount> reticleOptions_;
  std::array<platform::PictureBox*, kPictureCount> pictures_;
};

}  // namespace crosshairs
