// Start-up: the saved choice is loaded and marked, the thumbnails filled, and a missing or
// damaged choice replaced by the defaults after a notice.
#include <gtest/gtest.h>

#include "tests/crosshairs/crosshairs_fixture.h"
#include "tests/support/expected_texts.h"

namespace crosshairs_tests {
namespace {

using Numbers = std::vector<int>;
using Log = std::vector<StoreOperation>;

class StartUpTest : public CrosshairsTest {
 protected:
  void ExpectThumbnailsFilled() {
    for (int k = 1; k <= crosshairs::kCrosshairCount; ++k)
      EXPECT_EQ(form.PictureNumbered(crosshairs::Form1::CrosshairThumbnailNumber(k)).picture(),
                form.ILCR.Picture(k))
          << "crosshair " << k;
    for (int k = 1; k <= crosshairs::kReticleCount; ++k)
      EXPECT_EQ(form.PictureNumbered(crosshairs::Form1::ReticleThumbnailNumber(k)).picture(),
                form.ILRT.Picture(k))
          << "reticle " << k;
  }

  // After the notice: both defaults saved, both first buttons marked, both previews image 1.
  void ExpectDefaultsAfterNotice() {
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, expected::kFirstRunNotice);
    EXPECT_EQ(boxes()[0].flags, 0);
    EXPECT_EQ(boxes()[0].title, "crosshairs");
    EXPECT_EQ(boxes()[0].helpFile, "");
    EXPECT_EQ(boxes()[0].helpContext, 0);
    EXPECT_EQ(env.settings.Get("vorlane", "crosshair", "rt"), "1");
    EXPECT_EQ(env.settings.Get("vorlane", "crosshair", "cr"), "1");
    EXPECT_EQ(SelectedCrosshairs(), Numbers{1});
    EXPECT_EQ(SelectedReticles(), Numbers{1});
    EXPECT_EQ(module1.CurrentCrosshair, "1");
    EXPECT_EQ(module1.CurrentReticle, "1");
    EXPECT_EQ(form.Picture1.picture(), form.Picture3.picture());
    EXPECT_EQ(form.Picture2.picture(), form.Picture23.picture());
    ExpectThumbnailsFilled();
  }
};

TEST_F(StartUpTest, NothingIsChosenOrShownBeforeTheWindowLoads) {
  EXPECT_EQ(module1.CurrentCrosshair, "");
  EXPECT_EQ(module1.CurrentReticle, "");
  EXPECT_EQ(module1.InstallFailed, "");
  EXPECT_TRUE(SelectedCrosshairs().empty());
  for (int n = 1; n <= crosshairs::Form1::kPictureCount; ++n) EXPECT_EQ(form.PictureNumbered(n).picture(), nullptr) << n;
}

TEST_F(StartUpTest, FirstRunShowsTheNoticeOnceAndSavesTheDefaults) {
  env.messageBox.Expect(platform::box::kOk);
  Start();

  EXPECT_EQ(env.settings.log(), (Log{StoreOperation{false, "vorlane", "crosshair", "rt", ""},
                                     StoreOperation{false, "vorlane", "crosshair", "cr", ""},
                                     StoreOperation{true, "Vorlane", "crosshair", "rt", "1"},
                                     StoreOperation{true, "Vorlane", "crosshair", "cr", "1"}}));
  ExpectDefaultsAfterNotice();
  EXPECT_EQ(module1.InstallFailed, "0");
  EXPECT_TRUE(form.visible());
  EXPECT_FALSE(env.runtime.ended());
}

TEST_F(StartUpTest, SavedChoiceIsMarkedWithoutNotice) {
  StoreSetting("cr", "7");
  StoreSetting("rt", "2");
  Start();

  EXPECT_TRUE(boxes().empty());
  EXPECT_EQ(SelectedCrosshairs(), Numbers{7});
  EXPECT_EQ(SelectedReticles(), Numbers{2});
  EXPECT_EQ(module1.CurrentCrosshair, "7");
  EXPECT_EQ(module1.CurrentReticle, "2");
  // The large previews share the thumbnails' pictures rather than copies of them.
  EXPECT_EQ(form.Picture1.picture(), form.Picture9.picture());
  EXPECT_EQ(form.Picture2.picture(), form.Picture24.picture());
  ExpectThumbnailsFilled();
  EXPECT_EQ(env.settings.log(), (Log{StoreOperation{false, "vorlane", "crosshair", "rt", ""},
                                     StoreOperation{false, "vorlane", "crosshair", "cr", ""}}));
}

TEST_F(StartUpTest, MissingReticleReplacesASavedCrosshairWithTheDefaults) {
  StoreSetting("cr", "7");
  env.messageBox.Expect(platform::box::kOk);
  Start();

  // Option7 was marked before the reticle failed; marking the defaults cleared it again.
  ExpectDefaultsAfterNotice();
  EXPECT_FALSE(form.Option7.value());
}

TEST_F(StartUpTest, CrosshairTextOfLettersIsTreatedAsMissing) {
  StoreSetting("cr", "abc");
  StoreSetting("rt", "2");
  env.messageBox.Expect(platform::box::kOk);
  Start();

  ExpectDefaultsAfterNotice();
}

TEST_F(StartUpTest, NumbersOutsideTheButtonsMarkNothingAndStayAsLoaded) {
  StoreSetting("cr", "25");
  StoreSetting("rt", "3");
  Start();

  EXPECT_TRUE(boxes().empty());
  EXPECT_TRUE(SelectedCrosshairs().empty());
  EXPECT_EQ(form.Picture1.picture(), nullptr);
  EXPECT_EQ(module1.CurrentCrosshair, "25");
  EXPECT_EQ(SelectedReticles(), Numbers{3});
  EXPECT_EQ(form.Picture2.picture(), form.Picture25.picture());
  ExpectThumbnailsFilled();
}

TEST_F(StartUpTest, CrosshairZeroMarksNothing) {
  StoreSetting("cr", "0");
  StoreSetting("rt", "1");
  Start();

  EXPECT_TRUE(boxes().empty());
  EXPECT_TRUE(SelectedCrosshairs().empty());
  EXPECT_EQ(module1.CurrentCrosshair, "0");
  EXPECT_EQ(SelectedReticles(), Numbers{1});
}

TEST_F(StartUpTest, LeadingZeroIsMarkedAndRewrittenInMemoryOnly) {
  StoreSetting("cr", "07");
  StoreSetting("rt", "2");
  Start();

  EXPECT_TRUE(boxes().empty());
  EXPECT_EQ(SelectedCrosshairs(), Numbers{7});
  EXPECT_EQ(module1.CurrentCrosshair, "7");
  EXPECT_EQ(env.settings.Get("vorlane", "crosshair", "cr"), "07");
}

TEST_F(StartUpTest, PicturesAreDecodedOnceWhenTheWindowIsCreated) {
  const int decodedAtCreation = env.ui.decodeCount;
  EXPECT_EQ(decodedAtCreation, crosshairs::kCrosshairCount + crosshairs::kReticleCount);
  StoreSetting("cr", "7");
  StoreSetting("rt", "2");
  Start();
  env.ui.Click(form.Option12);
  env.ui.Click(form.rt3);

  EXPECT_EQ(env.ui.decodeCount, decodedAtCreation);
}

}  // namespace
}  // namespace crosshairs_tests
