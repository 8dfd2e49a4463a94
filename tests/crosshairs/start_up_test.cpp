// Start-up: the saved choice is loaded and marked, the thumbnails filled, and a missing or
// damaged choice replaced by the defaults after a notice.
#include <gtest/gtest.h>

#include "tests/crosshairs/crosshairs_fixture.h"
#include "tests/support/expected_texts.h"

namespace crosshairs_tests {
namespace {

using crosshairs::Form1;
using crosshairs::kCrosshairCount;
using crosshairs::kReticleCount;
using Numbers = std::vector<int>;
using Log = std::vector<StoreOperation>;

// What an earlier run left in the store ("" for nothing), named for the case.
struct Saved {
  std::string name;
  std::string cr;
  std::string rt;
  // What the start marks: the crosshair and reticle buttons, and the crosshair it holds.
  Numbers crosshairs;
  std::string current;
  Numbers reticles;
};
void PrintTo(const Saved& saved, std::ostream* out) {
  *out << saved.name;
}

using StartUp = CrosshairsTest;

class StartUpTest : public CrosshairsTest, public ::testing::WithParamInterface<Saved> {
 protected:
  void StartWithSaved() {
    if (!GetParam().cr.empty()) StoreSetting("cr", GetParam().cr);
    if (!GetParam().rt.empty()) StoreSetting("rt", GetParam().rt);
    Start();
  }

  // Each thumbnail shows its own image, and each large preview the marked button's thumbnail
  // (the same picture, not a copy), or nothing where no button is marked.
  void ExpectPicturesShown() {
    for (int k = 1; k <= kCrosshairCount; ++k)
      EXPECT_EQ(form.PictureNumbered(Form1::CrosshairThumbnailNumber(k)).picture(),
                form.ILCR.Picture(k))
          << "crosshair " << k;
    for (int k = 1; k <= kReticleCount; ++k)
      EXPECT_EQ(form.PictureNumbered(Form1::ReticleThumbnailNumber(k)).picture(),
                form.ILRT.Picture(k))
          << "reticle " << k;
    const auto shown = [this](const Numbers& marked, int (*thumbnail)(int)) {
      return marked.empty() ? nullptr : form.PictureNumbered(thumbnail(marked[0])).picture();
    };
    EXPECT_EQ(form.Picture1.picture(),
              shown(SelectedCrosshairs(), Form1::CrosshairThumbnailNumber));
    EXPECT_EQ(form.Picture2.picture(), shown(SelectedReticles(), Form1::ReticleThumbnailNumber));
  }
};

TEST_F(StartUp, NothingIsChosenOrShownBeforeTheWindowLoads) {
  EXPECT_EQ(module1.CurrentCrosshair, "");
  EXPECT_EQ(module1.CurrentReticle, "");
  EXPECT_EQ(module1.InstallFailed, "");
  EXPECT_TRUE(SelectedCrosshairs().empty());
  for (int n = 1; n <= Form1::kPictureCount; ++n)
    EXPECT_EQ(form.PictureNumbered(n).picture(), nullptr) << n;
}

// Nothing saved, or a choice of which a part is missing or does not convert: the notice once,
// then both defaults saved, marked and shown.
using DamagedChoiceTest = StartUpTest;

TEST_P(DamagedChoiceTest, IsReplacedByTheDefaultsAfterANotice) {
  env.messageBox.Expect(platform::box::kOk);
  StartWithSaved();

  EXPECT_EQ(env.settings.log(), (Log{StoreOperation{false, "vorlane", "crosshair", "rt", ""},
                                     StoreOperation{false, "vorlane", "crosshair", "cr", ""},
                                     StoreOperation{true, "Vorlane", "crosshair", "rt", "1"},
                                     StoreOperation{true, "Vorlane", "crosshair", "cr", "1"}}));
  EXPECT_EQ(boxes(), expected::Told("crosshairs", expected::kFirstRunNotice));
  EXPECT_EQ(env.settings.Get("vorlane", "crosshair", "rt"), "1");
  EXPECT_EQ(env.settings.Get("vorlane", "crosshair", "cr"), "1");
  // A saved crosshair marked before the reticle failed is cleared again.
  EXPECT_EQ(SelectedCrosshairs(), Numbers{1});
  EXPECT_EQ(SelectedReticles(), Numbers{1});
  EXPECT_EQ(module1.CurrentCrosshair, "1");
  EXPECT_EQ(module1.CurrentReticle, "1");
  ExpectPicturesShown();
  EXPECT_EQ(module1.InstallFailed, "0");
  EXPECT_TRUE(form.visible());
  EXPECT_FALSE(env.runtime.ended());
}

INSTANTIATE_TEST_SUITE_P(StartUp, DamagedChoiceTest,
                         ::testing::Values(Saved{"FirstRun", "", ""},
                                           Saved{"MissingReticle", "7", ""},
                                           Saved{"CrosshairOfLetters", "abc", "2"}),
                         kRowName);

// A choice that converts: marked and shown as loaded, without a notice, also where it names
// no button; a leading zero is dropped in memory only.
using SavedChoiceTest = StartUpTest;

TEST_P(SavedChoiceTest, IsMarkedAsLoadedWithoutNotice) {
  StartWithSaved();

  EXPECT_TRUE(boxes().empty());
  EXPECT_EQ(SelectedCrosshairs(), GetParam().crosshairs);
  EXPECT_EQ(SelectedReticles(), GetParam().reticles);
  EXPECT_EQ(module1.CurrentCrosshair, GetParam().current);
  EXPECT_EQ(module1.CurrentReticle, GetParam().rt);
  ExpectPicturesShown();
  EXPECT_EQ(env.settings.log(), (Log{StoreOperation{false, "vorlane", "crosshair", "rt", ""},
                                     StoreOperation{false, "vorlane", "crosshair", "cr", ""}}));
  EXPECT_EQ(env.settings.Get("vorlane", "crosshair", "cr"), GetParam().cr);
}

const std::string kPastTheCrosshairs = std::to_string(kCrosshairCount + 1);
const std::string kAsManyAsThePictures = std::to_string(Form1::kPictureCount);
const std::string kLastReticle = std::to_string(kReticleCount);

INSTANTIATE_TEST_SUITE_P(StartUp, SavedChoiceTest,
                         ::testing::Values(Saved{"SevenAndTwo", "7", "2", {7}, "7", {2}},
                                           Saved{"LeadingZero", "07", "2", {7}, "7", {2}},
                                           Saved{"CrosshairZero", "0", "1", {}, "0", {1}},
                                           Saved{"PastTheCrosshairs",
                                                 kPastTheCrosshairs,
                                                 kLastReticle,
                                                 {},
                                                 kPastTheCrosshairs,
                                                 {kReticleCount}},
                                           Saved{"AsManyAsThePictures",
                                                 kAsManyAsThePictures,
                                                 kLastReticle,
                                                 {},
                                                 kAsManyAsThePictures,
                                                 {kReticleCount}}),
                         kRowName);

TEST_F(StartUp, PicturesAreDecodedOnceWhenTheWindowIsCreated) {
  const int decodedAtCreation = env.ui.decodeCount;
  EXPECT_EQ(decodedAtCreation, kCrosshairCount + kReticleCount);
  StartWithSevenAndTwo();
  env.ui.Click(form.Option12);
  env.ui.Click(form.rt3);

  EXPECT_EQ(env.ui.decodeCount, decodedAtCreation);
}

}  // namespace
}  // namespace crosshairs_tests
