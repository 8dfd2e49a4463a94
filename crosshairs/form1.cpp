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
using platform::ControlSpec;

constexpr char kFirstRunNotice[] =
    "We have a regestry issue tempting to fix it.  If this is your first time loading, then "
    "ignore this.";
constexpr char kExitQuestion[] = "Settings saved.  Do you want to exit?";
constexpr char kExitQuestionTitle[] = "Saving settings...";
constexpr char kHelpFile[] = "DEMO.HLP";
constexpr int kExitQuestionHelpContext = 1000;

platform::FormSpec WindowSpec() {
  return {.name = "Form1",
          .caption = "Sightora",
          .clientWidth = 3720,
          .clientHeight = 6090,
          .backColor = platform::kBlack,
          .border = platform::BorderStyle::kFixedSingle,
          .minButton = false,
          .maxButton = false};
}

ControlSpec Green(std::string name, std::string caption, Bounds bounds, int tabIndex) {
  return {std::move(name), std::move(caption), bounds,
          tabIndex,        platform::kGreen,   platform::kBlack};
}

ControlSpec SystemColoured(std::string name, std::string caption, Bounds bounds, int tabIndex) {
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

ControlSpec CrosshairOptionSpec(int k) {
  const std::string name = "Option" + std::to_string(k);
  const int width = k == 18 ? 195 : 255;
  const int height = k == 17 ? 315 : 255;
  return Green(name, name, {120 + 1200 * Column(k), 1440 + 600 * Row(k), width, height}, k);
}

ControlSpec CrosshairThumbnailSpec(int k) {
  return SystemColoured("Picture" + std::to_string(k + 2), "",
                        {480 + 1200 * Column(k), 1200 + 600 * Row(k), 615, 615}, k + 21);
}

ControlSpec ReticleOptionSpec(int k) {
  const std::string name = "rt" + std::to_string(k);
  return SystemColoured(name, name, {120, 480 + 600 * (k - 1), 255, k == 3 ? 195 : 255}, 50 - k);
}

ControlSpec ReticleThumbnailSpec(int k) {
  return SystemColoured("Picture" + std::to_string(k + 22), "",
                        {480, 240 + 600 * (k - 1), 495, 615}, 47 - k);
}

}  // namespace

Form1::Form1(platform::Runtime& runtime, Module1& module1)
    : Form(runtime, WindowSpec()),
      Label2(*this, Green("Label2", "Crosshair", {480, 0, 735, 255}, 50)),
      Label3(*this, Green("Label3", "Reticle", {2520, 0, 615, 255}, 51)),
      Picture1(*this, SystemColoured("Picture1", "", {0, 240, 1935, 615}, 0)),
      Picture2(*this, SystemColoured("Picture2", "", {1920, 240, 1815, 615}, 21)),
      Label4(*this, Green("Label4", "Crosshairs", {0, 960, 855, 255}, 52)),
      Option1(*this, CrosshairOptionSpec(1)),
      Option2(*this, CrosshairOptionSpec(2)),
      Option3(*this, CrosshairOptionSpec(3)),
      Option4(*this, CrosshairOptionSpec(4)),
      Option5(*this, CrosshairOptionSpec(5)),
      Option6(*this, CrosshairOptionSpec(6)),
      Option7(*this, CrosshairOptionSpec(7)),
      Option8(*this, CrosshairOptionSpec(8)),
      Option9(*this, CrosshairOptionSpec(9)),
      Option10(*this, CrosshairOptionSpec(10)),
      Option11(*this, CrosshairOptionSpec(11)),
      Option12(*this, CrosshairOptionSpec(12)),
      Option13(*this, CrosshairOptionSpec(13)),
      Option14(*this, CrosshairOptionSpec(14)),
      Option15(*this, CrosshairOptionSpec(15)),
      Option16(*this, CrosshairOptionSpec(16)),
      Option17(*this, CrosshairOptionSpec(17)),
      Option18(*this, CrosshairOptionSpec(18)),
      Option19(*this, CrosshairOptionSpec(19)),
      Option20(*this, CrosshairOptionSpec(20)),
      Picture3(*this, CrosshairThumbnailSpec(1)),
      Picture4(*this, CrosshairThumbnailSpec(2)),
      Picture5(*this, CrosshairThumbnailSpec(3)),
      Picture6(*this, CrosshairThumbnailSpec(4)),
      Picture7(*this, CrosshairThumbnailSpec(5)),
      Picture8(*this, CrosshairThumbnailSpec(6)),
      Picture9(*this, CrosshairThumbnailSpec(7)),
      Picture10(*this, CrosshairThumbnailSpec(8)),
      Picture11(*this, CrosshairThumbnailSpec(9)),
      Picture12(*this, CrosshairThumbnailSpec(10)),
      Picture13(*this, CrosshairThumbnailSpec(11)),
      Picture14(*this, CrosshairThumbnailSpec(12)),
      Picture15(*this, CrosshairThumbnailSpec(13)),
      Picture16(*this, CrosshairThumbnailSpec(14)),
      Picture17(*this, CrosshairThumbnailSpec(15)),
      Picture18(*this, CrosshairThumbnailSpec(16)),
      Picture19(*this, CrosshairThumbnailSpec(17)),
      Picture20(*this, CrosshairThumbnailSpec(18)),
      Picture21(*this, CrosshairThumbnailSpec(19)),
      Picture22(*this, CrosshairThumbnailSpec(20)),
      Label1(*this, Green("Label1", "Recticles", {2520, 3720, 735, 255}, 42)),
      Frame1(*this, SystemColoured("Frame1", "Recticles", {2400, 3960, 1215, 2055}, 43)),
      rt1(Frame1, ReticleOptionSpec(1)),
      rt2(Frame1, ReticleOptionSpec(2)),
      rt3(Frame1, ReticleOptionSpec(3)),
      Picture23(Frame1, ReticleThumbnailSpec(1)),
      Picture24(Frame1, ReticleThumbnailSpec(2)),
      Picture25(Frame1, ReticleThumbnailSpec(3)),
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
