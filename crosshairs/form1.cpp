#include "crosshairs/form1.h"

#include <string>

#include "crosshairs/form2.h"
#include "platform/convert.h"
#include "platform/error_trap.h"
#include "platform/message_box.h"
#include "platform/runtime.h"
#include "platform/runtime_error.h"

namespace crosshairs {
namespace {

using platform::Bounds;
using platform::ControlDesign;

constexpr char kFirstRunNotice[] =
    "We have a regestry issue tempting to fix it.  If this is your first time loading, then "
    "ignore this.";
constexpr char kExitQuestion[] = "Settings saved.  Do you want to exit?";
constexpr char kExitQuestionTitle[] = "Saving settings...";
constexpr char kHelpFile[] = "DEMO.HLP";
constexpr int kExitQuestionHelpContext = 1000;

platform::FormDesign WindowDesign() {
  return {.name = "Form1",
          .caption = "Sightora",
          .clientWidth = 3720,
          .clientHeight = 6090,
          .backColor = platform::kBlack,
          .border = platform::BorderStyle::kFixedSingle,
          .minButton = false,
          .maxButton = false};
}

ControlDesign Green(std::string name, std::string caption, Bounds bounds, int tabIndex) {
  return {std::move(name), std::move(caption), bounds,
          tabIndex,        platform::kGreen,   platform::kBlack};
}

ControlDesign SystemColoured(std::string name, std::string caption, Bounds bounds, int tabIndex) {
  return {std::move(name), std::move(caption),    bounds,
          tabIndex,        platform::kSystemText, platform::kBlack};
}

// Crosshairs stand in three columns of up to eight, numbered downwards.
int Column(int k) {
  return (k - 1) / 8;
}
int Row(int k) {
  return (k - 1) % 8;
}

ControlDesign CrosshairOptionDesign(int k) {
  const std::string name = "Option" + std::to_string(k);
  const int width = k == 18 ? 195 : 255;
  const int height = k == 17 ? 315 : 255;
  return Green(name, name, {120 + 1200 * Column(k), 1440 + 600 * Row(k), width, height}, k);
}

ControlDesign CrosshairThumbnailDesign(int k) {
  return SystemColoured("Picture" + std::to_string(k + 2), "",
                        {480 + 1200 * Column(k), 1200 + 600 * Row(k), 615, 615}, k + 21);
}

ControlDesign ReticleOptionDesign(int k) {
  const std::string name = "rt" + std::to_string(k);
  return SystemColoured(name, name, {120, 480 + 600 * (k - 1), 255, k == 3 ? 195 : 255}, 50 - k);
}

ControlDesign ReticleThumbnailDesign(int k) {
  return SystemColoured("Picture" + std::to_string(k + 22), "",
                        {480, 240 + 600 * (k - 1), 495, 615}, 47 - k);
}

}  // namespace

Form1::Form1(platform::Runtime& runtime, Module1& module1)
    : Form(runtime, WindowDesign()),
      Label2(*this, Green("Label2", "Crosshair", {480, 0, 735, 255}, 50)),
      Label3(*this, Green("Label3", "Reticle", {2520, 0, 615, 255}, 51)),
      Picture1(*this, SystemColoured("Picture1", "", {0, 240, 1935, 615}, 0)),
      Picture2(*this, SystemColoured("Picture2", "", {1920, 240, 1815, 615}, 21)),
      Label4(*this, Green("Label4", "Crosshairs", {0, 960, 855, 255}, 52)),
      Option1(*this, CrosshairOptionDesign(1)),
      Option2(*this, CrosshairOptionDesign(2)),
      Option3(*this, CrosshairOptionDesign(3)),
      Option4(*this, CrosshairOptionDesign(4)),
      Option5(*this, CrosshairOptionDesign(5)),
      Option6(*this, CrosshairOptionDesign(6)),
      Option7(*this, CrosshairOptionDesign(7)),
      Option8(*this, CrosshairOptionDesign(8)),
      Option9(*this, CrosshairOptionDesign(9)),
      Option10(*this, CrosshairOptionDesign(10)),
      Option11(*this, CrosshairOptionDesign(11)),
      Option12(*this, CrosshairOptionDesign(12)),
      Option13(*this, CrosshairOptionDesign(13)),
      Option14(*this, CrosshairOptionDesign(14)),
      Option15(*this, CrosshairOptionDesign(15)),
      Option16(*this, CrosshairOptionDesign(16)),
      Option17(*this, CrosshairOptionDesign(17)),
      Option18(*this, CrosshairOptionDesign(18)),
      Option19(*this, CrosshairOptionDesign(19)),
      Option20(*this, CrosshairOptionDesign(20)),
      Picture3(*this, CrosshairThumbnailDesign(1)),
      Picture4(*this, CrosshairThumbnailDesign(2)),
      Picture5(*this, CrosshairThumbnailDesign(3)),
      Picture6(*this, CrosshairThumbnailDesign(4)),
      Picture7(*this, CrosshairThumbnailDesign(5)),
      Picture8(*this, CrosshairThumbnailDesign(6)),
      Picture9(*this, CrosshairThumbnailDesign(7)),
      Picture10(*this, CrosshairThumbnailDesign(8)),
      Picture11(*this, CrosshairThumbnailDesign(9)),
      Picture12(*this, CrosshairThumbnailDesign(10)),
      Picture13(*this, CrosshairThumbnailDesign(11)),
      Picture14(*this, CrosshairThumbnailDesign(12)),
      Picture15(*this, CrosshairThumbnailDesign(13)),
      Picture16(*this, CrosshairThumbnailDesign(14)),
      Picture17(*this, CrosshairThumbnailDesign(15)),
      Picture18(*this, CrosshairThumbnailDesign(16)),
      Picture19(*this, CrosshairThumbnailDesign(17)),
      Picture20(*this, CrosshairThumbnailDesign(18)),
      Picture21(*this, CrosshairThumbnailDesign(19)),
      Picture22(*this, CrosshairThumbnailDesign(20)),
      Label1(*this, Green("Label1", "Recticles", {2520, 3720, 735, 255}, 42)),
      Frame1(*this, SystemColoured("Frame1", "Recticles", {2400, 3960, 1215, 2055}, 43)),
      rt1(Frame1, ReticleOptionDesign(1)),
      rt2(Frame1, ReticleOptionDesign(2)),
      rt3(Frame1, ReticleOptionDesign(3)),
      Picture23(Frame1, ReticleThumbnailDesign(1)),
      Picture24(Frame1, ReticleThumbnailDesign(2)),
      Picture25(Frame1, ReticleThumbnailDesign(3)),
      Mapply(*this, "Mapply", "Apply"),
      Mabout(*this, "Mabout", "About"),
      ILCR(CrosshairPreviewList(runtime.ui())),
      ILRT(ReticlePreviewList(runtime.ui())),
      module1_(module1),
      crosshairOptions_{&Option1,  &Option2,  &Option3,  &Option4,  &Option5,  &Option6,  &Option7,
                        &Option8,  &Option9,  &Option10, &Option11, &Option12, &Option13, &Option14,
                        &Option15, &Option16, &Option17, &Option18, &Option19, &Option20},
      reticleOptions_{&rt1, &rt2, &rt3},
      pictures_{&Picture1,  &Picture2,  &Picture3,  &Picture4,  &Picture5,  &Picture6,  &Picture7,
                &Picture8,  &Picture9,  &Picture10, &Picture11, &Picture12, &Picture13, &Picture14,
                &Picture15, &Picture16, &Picture17, &Picture18, &Picture19, &Picture20, &Picture21,
                &Picture22, &Picture23, &Picture24, &Picture25} {
  onLoad = [this] { Form_Load(); };
  for (int k = 1; k <= kCrosshairCount; ++k)
    CrosshairOption(k).onClick = [this, k] { Option_Click(k); };
  for (int k = 1; k <= kReticleCount; ++k) ReticleOption(k).onClick = [this, k] { rt_Click(k); };
  Mapply.onClick = [this] { Mapply_Click(); };
  Mabout.onClick = [this] { Mabout_Click(); };
}

platform::Statement Form1::ShowCrosshairThumbnail(int k) {
  return [this, k] { PictureNumbered(k + 2).SetPicture(ILCR.Picture(k)); };
}

platform::Statement Form1::ShowReticleThumbnail(int k) {
  return [this, k] { PictureNumbered(k + 22).SetPicture(ILRT.Picture(k)); };
}

void Form1::Form_Load() {
  module1_.InstallFailed = platform::IntToText(0);
  // One statement per step, so that a retry repeats exactly the step that failed.
  // clang-format off
  platform::RunTrapped(
      {[this] { module1_.LoadSettings(); },
       [this] { module1_.ShowSavedChoice(*this); },
       ShowCrosshairThumbnail(1),  ShowCrosshairThumbnail(2),  ShowCrosshairThumbnail(3),
       ShowCrosshairThumbnail(4),  ShowCrosshairThumbnail(5),  ShowCrosshairThumbnail(6),
       ShowCrosshairThumbnail(7),  ShowCrosshairThumbnail(8),  ShowCrosshairThumbnail(9),
       ShowCrosshairThumbnail(10), ShowCrosshairThumbnail(11), ShowCrosshairThumbnail(12),
       ShowCrosshairThumbnail(13), ShowCrosshairThumbnail(14), ShowCrosshairThumbnail(15),
       ShowCrosshairThumbnail(16), ShowCrosshairThumbnail(17), ShowCrosshairThumbnail(18),
       ShowCrosshairThumbnail(19), ShowCrosshairThumbnail(20),
       ShowReticleThumbnail(1),    ShowReticleThumbnail(2),    ShowReticleThumbnail(3)},
      [this](const platform::RuntimeError& error) { return Form_Load_Recovery(error); });
  // clang-format on
}

platform::Recovery Form1::Form_Load_Recovery(const platform::RuntimeError& error) {
  // An empty or damaged stored choice does not convert: write the defaults and mark them
  // instead. Anything else ends the load quietly where it stands.
  if (error.number() != platform::error::kTypeMismatch) return platform::Recovery::kLeave;
  runtime().MsgBox(kFirstRunNotice);
  module1_.CurrentReticle = "1";
  module1_.CurrentCrosshair = "1";
  auto& store = runtime().settings();
  store.Save(settings::kWriteApplication, settings::kSection, "rt", module1_.CurrentReticle);
  store.Save(settings::kWriteApplication, settings::kSection, "cr", module1_.CurrentCrosshair);
  return platform::Recovery::kRetry;
}

void Form1::Option_Click(int k) {
  module1_.CurrentCrosshair = platform::IntToText(k);
  Picture1.SetPicture(ILCR.Picture(k));
}

void Form1::rt_Click(int k) {
  module1_.CurrentReticle = platform::IntToText(k);
  Picture2.SetPicture(ILRT.Picture(k));
}

void Form1::Mapply_Click() {
  module1_.SaveAndInstall();
  if (platform::TextToNumber(module1_.InstallFailed) == 0) {
    const int answer = runtime().MsgBox(
        kExitQuestion,
        platform::box::kYesNo + platform::box::kQuestion + platform::box::kDefaultButton2,
        kExitQuestionTitle, kHelpFile, kExitQuestionHelpContext);
    if (answer == platform::box::kYes) runtime().End();
  }
  module1_.InstallFailed = platform::IntToText(0);
}

void Form1::Mabout_Click() {
  Form2 about(runtime());
  about.Load();
  about.Show(/*modal=*/true);
}

}  // namespace crosshairs
