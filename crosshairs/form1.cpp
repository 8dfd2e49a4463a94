#include "crosshairs/form1.h"

#include <string>
#include <vector>

#include "crosshairs/choice_layout.h"
#include "crosshairs/form2.h"
#include "platform/controls/runtime.h"
#include "platform/services/convert.h"
#include "platform/services/error_trap.h"
#include "platform/services/message_box.h"
#include "platform/services/runtime_error.h"

namespace crosshairs {
namespace {

using platform::ControlDesign;

// The members of a numbered run (Option1 to Option20, ...), checked to be as many as the run's
// numbers.
template <std::size_t Count, typename Member, typename... More>
std::array<Member*, Count> NumberedRun(Member& first, More&... more) {
  static_assert(1 + sizeof...(More) == Count, "one member for each number");
  return {&first, &more...};
}

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
          .clientWidth = kClientWidth,
          .clientHeight = kClientHeight,
          .backColor = platform::kBlack,
          .border = platform::BorderStyle::kFixedSingle,
          .minButton = false,
          .maxButton = false};
}


// The option button "<prefix><k>" and its thumbnail "Picture<number>" of choice k of `layout`.
ControlDesign OptionDesign(const ChoiceLayout* layout, const std::string& prefix, int k,
                           platform::Color foreColor) {
  const ChoiceLayout& place = layout[k - 1];
  const std::string name = prefix + std::to_string(k);
  return {.name = name,
          .caption = name,
          .bounds = place.option,
          .tabIndex = place.optionTab,
          .foreColor = foreColor};
}

ControlDesign ThumbnailDesign(const ChoiceLayout* layout, int k, int pictureNumber) {
  const ChoiceLayout& place = layout[k - 1];
  return {.name = "Picture" + std::to_string(pictureNumber),
          .bounds = place.thumbnail,
          .tabIndex = place.thumbnailTab};
}

ControlDesign CrosshairOptionDesign(int k) {
  return OptionDesign(kCrosshairLayout, "Option", k, platform::kGreen);
}

ControlDesign CrosshairThumbnailDesign(int k) {
  return ThumbnailDesign(kCrosshairLayout, k, Form1::CrosshairThumbnailNumber(k));
}

ControlDesign ReticleOptionDesign(int k) {
  return OptionDesign(kReticleLayout, "rt", k, platform::kSystemText);
}

ControlDesign ReticleThumbnailDesign(int k) {
  return ThumbnailDesign(kReticleLayout, k, Form1::ReticleThumbnailNumber(k));
}

}  // namespace

Form1::Form1(platform::Runtime& runtime, Module1& module1)
    : Form(runtime, WindowDesign()),
      Label2(*this, {.name = "Label2",
                     .caption = "Crosshair",
                     .bounds = {.left = 480, .top = 0, .width = 735, .height = 255},
                     .tabIndex = 50,
                     .foreColor = platform::kGreen}),
      Label3(*this, {.name = "Label3",
                     .caption = "Reticle",
                     .bounds = {.left = 2520, .top = 0, .width = 615, .height = 255},
                     .tabIndex = 51,
                     .foreColor = platform::kGreen}),
      Picture1(*this, {.name = "Picture1",
                       .bounds = {.left = 0, .top = 240, .width = 1935, .height = 615},
                       .tabIndex = 0}),
      Picture2(*this, {.name = "Picture2",
                       .bounds = {.left = 1920, .top = 240, .width = 1815, .height = 615},
                       .tabIndex = 21}),
      Label4(*this, {.name = "Label4",
                     .caption = "Crosshairs",
                     .bounds = {.left = 0, .top = 960, .width = 855, .height = 255},
                     .tabIndex = 52,
                     .foreColor = platform::kGreen}),
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
      Label1(*this, {.name = "Label1",
                     .caption = "Recticles",
                     .bounds = {.left = 2520, .top = 3720, .width = 735, .height = 255},
                     .tabIndex = 42,
                     .foreColor = platform::kGreen}),
      Frame1(*this, {.name = "Frame1",
                     .caption = "Recticles",
                     .bounds = {.left = 2400, .top = 3960, .width = 1215, .height = 2055},
                     .tabIndex = 43}),
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
      crosshairOptions_(NumberedRun<kCrosshairCount>(
          Option1, Option2, Option3, Option4, Option5, Option6, Option7, Option8, Option9, Option10,
          Option11, Option12, Option13, Option14, Option15, Option16, Option17, Option18, Option19,
          Option20)),
      reticleOptions_(NumberedRun<kReticleCount>(rt1, rt2, rt3)),
      pictures_(NumberedRun<kPictureCount>(
          Picture1, Picture2, Picture3, Picture4, Picture5, Picture6, Picture7, Picture8, Picture9,
          Picture10, Picture11, Picture12, Picture13, Picture14, Picture15, Picture16, Picture17,
          Picture18, Picture19, Picture20, Picture21, Picture22, Picture23, Picture24, Picture25)) {
  onLoad = [this] { Form_Load(); };
  for (int k = 1; k <= kCrosshairCount; ++k)
    CrosshairOption(k).onClick = [this, k] { Option_Click(k); };
  for (int k = 1; k <= kReticleCount; ++k) ReticleOption(k).onClick = [this, k] { rt_Click(k); };
  Mapply.onClick = [this] { Mapply_Click(); };
  Mabout.onClick = [this] { Mabout_Click(); };
}

platform::Statement Form1::ShowCrosshairThumbnail(int k) {
  return [this, k] { PictureNumbered(CrosshairThumbnailNumber(k)).SetPicture(ILCR.Picture(k)); };
}

platform::Statement Form1::ShowReticleThumbnail(int k) {
  return [this, k] { PictureNumbered(ReticleThumbnailNumber(k)).SetPicture(ILRT.Picture(k)); };
}

void Form1::Form_Load() {
  module1_.FinishStoppedApply();
  module1_.InstallFailed = platform::IntToText(0);
  // One statement per step, so that a retry repeats exactly the step that failed.
  std::vector<platform::Statement> statements = {
      [this] { module1_.LoadSettings(); },
      [this] { module1_.ShowSavedChoice(*this); },
  };
  for (int k = 1; k <= kCrosshairCount; ++k) statements.push_back(ShowCrosshairThumbnail(k));
  for (int k = 1; k <= kReticleCount; ++k) statements.push_back(ShowReticleThumbnail(k));
  platform::RunTrapped(statements, [this](const platform::RuntimeError& error) {
    return Form_Load_Recovery(error);
  });
}

platform::Recovery Form1::Form_Load_Recovery(const platform::RuntimeError& error) {
  // An empty or damaged stored choice does not convert: write the defaults and mark them
  // instead. Anything else ends the load quietly where it stands.
  if (error.number() != platform::error::kTypeMismatch) return platform::Recovery::kLeave;
  runtime().MsgBox(kFirstRunNotice);
  module1_.CurrentReticle = "1";
  module1_.CurrentCrosshair = "1";
  auto& store = runtime().settings();
  store.Save(settings::kSaveApplication, settings::kSection, "rt", module1_.CurrentReticle);
  store.Save(settings::kSaveApplication, settings::kSection, "cr", module1_.CurrentCrosshair);
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
