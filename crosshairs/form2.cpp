#include "crosshairs/form2.h"

#include <string>

#include "crosshairs/preview_lists.h"
#include "platform/runtime.h"

// Where donations go is set when the program is built, not in the source.
#ifndef VL_DONATION_SERVICE
#define VL_DONATION_SERVICE "[donation service not set]"
#endif
#ifndef VL_DONATION_ACCOUNT
#define VL_DONATION_ACCOUNT "[account not set]"
#endif

namespace crosshairs {
namespace {

using platform::Bounds;
using platform::ControlDesign;

constexpr char kMadeBy[] = "Made by the Vorlane team";
constexpr char kThanks[] =
    "Thanks for using Sightora, brought to you by the Vorlane team for the Vorlane mod.";
constexpr char kDonation[] =
    "If you like it, please donate through " VL_DONATION_SERVICE " to " VL_DONATION_ACCOUNT ".";
constexpr char kSignature[] = "Thank you!  - the Vorlane team";

platform::FormDesign WindowDesign() {
  return {.name = "Form2",
          .caption = "About",
          .clientWidth = 4680,
          .clientHeight = 3195,
          .backColor = platform::kBlack,
          .foreColor = platform::kGreen,
          .border = platform::BorderStyle::kFixedDialog,
          .minButton = false,
          .maxButton = false,
          .showInTaskbar = false};
}

ControlDesign Text(std::string name, std::string caption, Bounds bounds, int tabIndex,
                   platform::Color foreColor = platform::kGreen) {
  return {std::move(name), std::move(caption), bounds, tabIndex, foreColor, platform::kBlack};
}

}  // namespace

Form2::Form2(platform::Runtime& runtime)
    : Form(runtime, WindowDesign()),
      Image1(*this, Text("Image1", "", {120, 120, 1095, 1215}, 0)),
      Image2(*this, Text("Image2", "", {1320, 120, 1095, 1215}, 1)),
      Label4(*this, Text("Label4", "Sightora Version 2.3", {2880, 240, 1335, 495}, 2)),
      Label5(*this, Text("Label5", kMadeBy, {2880, 840, 1335, 615}, 3)),
      Label1(*this, Text("Label1", kThanks, {360, 1560, 3975, 495}, 4)),
      Label2(*this, Text("Label2", kDonation, {360, 2160, 3975, 615}, 5, platform::kRed)),
      Label3(*this, Text("Label3", kSignature, {480, 2880, 3735, 255}, 6)),
      ImageList1(AboutPictureList(runtime.ui())) {
  onLoad = [this] { Form_Load(); };
}

void Form2::Form_Load() {
  Image1.SetPicture(ImageList1.Picture(1));
  Image2.SetPicture(ImageList1.Picture(2));
}

}  // namespace crosshairs
