#include "crosshairs/form2.h"

#include <string>

#include "crosshairs/preview_lists.h"
#include "platform/controls/runtime.h"

// Where donations go is set when the program is built, not in the source.
#ifndef VL_DONATION_SERVICE
#define VL_DONATION_SERVICE "[donation service not set]"
#endif
#ifndef VL_DONATION_ACCOUNT
#define VL_DONATION_ACCOUNT "[account not set]"
#endif

namespace crosshairs {
namespace {

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

}  // namespace

Form2::Form2(platform::Runtime& runtime)
    : Form(runtime, WindowDesign()),
      Image1(*this, {.name = "Image1",
                     .bounds = {.left = 120, .top = 120, .width = 1095, .height = 1215},
                     .tabIndex = 0,
                     .foreColor = platform::kGreen}),
      Image2(*this, {.name = "Image2",
                     .bounds = {.left = 1320, .top = 120, .width = 1095, .height = 1215},
                     .tabIndex = 1,
                     .foreColor = platform::kGreen}),
      Label4(*this, {.name = "Label4",
                     .caption = "Sightora Version 2.3",
                     .bounds = {.left = 2880, .top = 240, .width = 1335, .height = 495},
                     .tabIndex = 2,
                     .foreColor = platform::kGreen}),
      Label5(*this, {.name = "Label5",
                     .caption = kMadeBy,
                     .bounds = {.left = 2880, .top = 840, .width = 1335, .height = 615},
                     .tabIndex = 3,
                     .foreColor = platform::kGreen}),
      Label1(*this, {.name = "Label1",
                     .caption = kThanks,
                     .bounds = {.left = 360, .top = 1560, .width = 3975, .height = 495},
                     .tabIndex = 4,
                     .foreColor = platform::kGreen}),
      Label2(*this, {.name = "Label2",
                     .caption = kDonation,
                     .bounds = {.left = 360, .top = 2160, .width = 3975, .height = 615},
                     .tabIndex = 5,
                     .foreColor = platform::kRed}),
      Label3(*this, {.name = "Label3",
                     .caption = kSignature,
                     .bounds = {.left = 480, .top = 2880, .width = 3735, .height = 255},
                     .tabIndex = 6,
                     .foreColor = platform::kGreen}),
      ImageList1(AboutPictureList(runtime.ui())) {
  onLoad = [this] { Form_Load(); };
}

void Form2::Form_Load() {
  Image1.SetPicture(ImageList1.Picture(1));
  Image2.SetPicture(ImageList1.Picture(2));
}

}  // namespace crosshairs
