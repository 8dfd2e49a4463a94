// crosshairs, worked end to end: the first run, choosing and applying, the failures Apply
// reports, the modal About window, what the selector window shows, and a long soak of clicks
// and Applies.
#include <gtest/gtest.h>

#include "crosshairs/form1.h"
#include "crosshairs/module1.h"
#include "platform/win32/controls/control_classes.h"
#include "resources/embedded_pictures.h"
#include "tests/e2e/capture.h"
#include "tests/e2e/scenario.h"
#include "tests/e2e/usage.h"
#include "tests/support/expected_texts.h"

namespace e2e {
namespace {

using crosshairs::Form1;

// The choices of one kind as the selector window shows them and the mod's folder holds them.
struct Group {
  const char* what;
  const char* option;  // option button k is named option + k
  int count;
  int (*thumbnail)(int);            // the number of choice k's picture box
  resources::Blob (*picture)(int);  // choice k's picture as the program carries it
  const char* folder;               // choice k's archive is in folder\k, named as `installed`
  const char* installed;            // the mod's archive that Apply replaces with it
};
constexpr Group kGroups[] = {
    {"crosshair", "Option", crosshairs::kCrosshairCount, Form1::CrosshairThumbnailNumber,
     resources::CrosshairPreview, "cr", crosshairs::kCrosshairArchive},
    {"reticle", "rt", crosshairs::kReticleCount, Form1::ReticleThumbnailNumber,
     resources::ReticlePreview, "rt", crosshairs::kReticleArchive},
};
constexpr const Group& kCrosshairs = kGroups[0];
constexpr const Group& kReticles = kGroups[1];

HWND Option(HWND selector, const Group& group, int k) {
  return FindButton(selector, group.option + std::to_string(k));
}
// A picture box within `container` by its number: each window carries its control's name.
HWND PictureBox(HWND container, int n) {
  return FindControl(container, "Picture" + std::to_string(n), platform::win32::kPictureBoxClass);
}
Image Picture(const Group& group, int k) {
  const auto file = group.picture(k);
  return DecodeBmp24(file.data, file.size).value_or(Image{});
}
// A path below the game's root of the mod's `file`.
std::string InMod(const std::string& file) {
  return std::string(kModFolder) + "\\" + file;
}
std::string Archive(const Group& group, int k) {
  return InMod(std::string(group.folder) + "\\" + std::to_string(k) + "\\" +
               fs::path(group.installed).filename().string());
}

// Selects `option`, shown selected afterwards: by a posted click, as a user's arrives, or by a
// sent one, done once handled.
bool Select(HWND option, bool sent = false) {
  return option != nullptr && (sent ? ClickAndWait(option) && CheckState(option) == BST_CHECKED
                                    : Click(option) && WaitForCheckState(option, BST_CHECKED));
}

// Whether `upper` lies above `lower` among the top-level windows.
bool IsAbove(HWND upper, HWND lower) {
  for (HWND window = GetWindow(lower, GW_HWNDPREV); window != nullptr;
       window = GetWindow(window, GW_HWNDPREV)) {
    if (window == upper) return true;
  }
  return false;
}

class Crosshairs : public Scenario {
 protected:
  Crosshairs()
      : Scenario({"crosshair", {"cr", "rt"}, {"1", "1"}, "Sightora", [](const GameFolder& game) {
                    return game.file(kModFolder);
                  }}) {}

  // The numbers of the crosshair and the reticle shown selected ("3 7" where two are, "" where
  // none is, "missing k" where option k is not found).
  Strings Shown(HWND selector) override {
    Strings shown;
    for (const Group& group : kGroups) {
      std::string checked;
      for (int k = 1; k <= group.count; ++k) {
        HWND option = Option(selector, group, k);
        if (option == nullptr || CheckState(option) == BST_CHECKED)
          checked += std::string(checked.empty() ? "" : " ") + (option ? "" : "missing ") +
                     std::to_string(k);
      }
      shown.push_back(checked);
    }
    return shown;
  }
  // What the archives Apply replaces hold: the number of the choice whose archive one holds,
  // "original", "missing", or else its bytes.
  Strings Files() override {
    Strings held;
    for (const Group& group : kGroups) {
      const auto bytes = ReadBytes(game().file(InMod(group.installed)));
      held.push_back(!bytes                                                   ? "missing"
                     : *bytes == GameFolder::Original(InMod(group.installed)) ? "original"
                                                                              : *bytes);
      for (int k = 1; k <= group.count; ++k) {
        if (bytes && bytes == ReadBytes(game().file(Archive(group, k))))
          held.back() = std::to_string(k);
      }
    }
    return held;
  }
  bool Choose(HWND selector, int crosshair, int reticle, bool sent = false) {
    return Select(Option(selector, kCrosshairs, crosshair), sent) &&
           Select(Option(selector, kReticles, reticle), sent);
  }

  // Apply from the menu bar, and the box it shows: the question once both archives are copied,
  // or the failure `message`.
  std::optional<MessageBoxView> Apply(HWND selector, const char* message = nullptr) {
    ChooseMenuBarEntry(selector, 0);
    return message != nullptr ? ExpectMessageBox(program.id(), "crosshairs", message) : Question();
  }
  std::optional<MessageBoxView> Question() {
    return ExpectMessageBox(program.id(), expected::kExitQuestionTitle, expected::kExitQuestion,
                            {IDYES, IDNO});
  }
  // Once `answered` (the box is gone), the program handles what was posted to it after the
  // answer with no further box, which the same command would have shown by then (its modal loop
  // is what handles the messages), and goes on.
  testing::AssertionResult GoesOn(bool answered, HWND selector) {
    if (!answered) return testing::AssertionFailure() << "the box stays";
    if (!HandledWhatWasPosted(Option(selector, kCrosshairs, 1)) ||
        !MessageBoxesOf(program.id()).empty())
      return testing::AssertionFailure() << "another box came";
    if (!program.Running()) return testing::AssertionFailure() << "the program ended";
    return testing::AssertionSuccess();
  }
};

TEST_F(Crosshairs, FirstRunShowsTheNoticeBeforeTheWindowThenMarksAndSavesTheDefaults) {
  HWND selector = FirstRunNoticeThenWindow();
  ASSERT_NE(selector, nullptr);
  EXPECT_TRUE(Holds(selector, {"1", "1"}, {"original", "original"}));
  // The defaults are saved: the next start shows no notice.
  ExpectTheNextStartShows({"1", "1"}, {"original", "original"});
}

TEST_F(Crosshairs, ApplyInstallsTheChoiceAsksToExitAndTheNextStartShowsIt) {
  HWND selector = StartWith();
  ASSERT_NE(selector, nullptr);
  ASSERT_TRUE(Choose(selector, 7, 2));
  EXPECT_EQ(Shown(selector), (Strings{"7", "2"}));
  EXPECT_EQ(Settings(), (Strings{"1", "1"})) << "a click alone must not save";

  auto question = Apply(selector);
  ASSERT_TRUE(question);
  EXPECT_EQ(question->defaultStyled, std::vector<int>{IDNO});
  EXPECT_EQ(question->focusedId, IDNO);
  EXPECT_TRUE(Holds(selector, {"7", "2"}, {"7", "2"}));

  // Enter answers No: the program goes on, and Apply copies and asks again.
  ASSERT_TRUE(GoesOn(Confirm(*question), selector));
  ASSERT_TRUE(IsWindowVisible(selector));
  for (int round = 0; round < 2; ++round) {
    for (const Group& group : kGroups) ASSERT_TRUE(game().PutBackOriginal(InMod(group.installed)));
    question = Apply(selector);
    ASSERT_TRUE(question) << "no question after Apply " << round + 2;
    EXPECT_TRUE(Holds(selector, {"7", "2"}, {"7", "2"}));
    if (round == 0) {
      ASSERT_TRUE(GoesOn(Answer(*question, IDNO), selector));
    }
  }

  // Yes ends the program.
  ASSERT_TRUE(Answer(*question, IDYES));
  EXPECT_TRUE(program.WaitForExit(15000)) << "still running after Yes";
  ExpectTheNextStartShows({"7", "2"}, {"7", "2"});
}

TEST_F(Crosshairs, TheKeyboardAloneChoosesPreviewsAndApplies) {
  HWND selector = StartWith();
  ASSERT_NE(selector, nullptr);
  ASSERT_TRUE(BringToKeyboard(selector));
  // Tab enters the crosshair group at its selected button; each arrow selects the one reached.
  PressKey(VK_TAB);
  for (int i = 0; i < 6; ++i) PressKey(VK_DOWN);
  EXPECT_TRUE(WaitUntil([&] { return Shown(selector) == Strings{"7", "1"}; }));
  // The reticle group, entered at rt1; rt2 comes before it in tab order.
  PressKey(VK_TAB);
  PressKey(VK_UP);
  EXPECT_TRUE(WaitUntil([&] { return Shown(selector) == Strings{"7", "2"}; }));
  auto image = CaptureWindow(selector);
  ASSERT_TRUE(image);
  EXPECT_TRUE(
      ShowsPicture(*image, AreaOf(*image, PictureBox(selector, 1)), Picture(kCrosshairs, 7)))
      << "the large preview does not follow the keyboard";
  EXPECT_EQ(Settings(), (Strings{"1", "1"})) << "choosing alone must not save";

  ASSERT_TRUE(BringToKeyboard(selector));
  PressKey(VK_F10);  // the menu bar, at its first entry: Apply
  PressKey(VK_RETURN);
  auto question = Question();
  ASSERT_TRUE(question) << "Apply did not run from the keyboard";
  EXPECT_TRUE(Holds(selector, {"7", "2"}, {"7", "2"}));
  PressKey(VK_RETURN);  // No, the default
  EXPECT_TRUE(GoesOn(WaitUntil([&] { return !IsWindow(question->window); }), selector));
}

TEST_F(Crosshairs, ApplyTellsAMissingFolderFromAMissingArchiveAndWorksOnceRepaired) {
  HWND selector = StartWith();
  ASSERT_NE(selector, nullptr);
  ASSERT_TRUE(Choose(selector, 7, 2));
  const fs::path archive = game().file(Archive(kCrosshairs, 7));
  const std::string bytes = *ReadBytes(archive);

  // The choice is saved before the copies, and no question may follow a failure.
  fs::remove_all(archive.parent_path());
  auto failure = Apply(selector, expected::kMissingFolderMessage);
  ASSERT_TRUE(failure) << "no message for the missing folder";
  EXPECT_TRUE(Holds(selector, {"7", "2"}, {"original", "original"}));
  ASSERT_TRUE(GoesOn(Answer(*failure, IDOK), selector));

  fs::create_directories(archive.parent_path());
  failure = Apply(selector, expected::kOtherFailureMessage);
  ASSERT_TRUE(failure) << "no message for the missing archive";
  EXPECT_TRUE(Holds(selector, {"7", "2"}, {"original", "original"}));
  ASSERT_TRUE(GoesOn(Answer(*failure, IDOK), selector));

  ASSERT_TRUE(WriteBytes(archive, bytes));
  auto question = Apply(selector);
  ASSERT_TRUE(question) << "no question once the folders are repaired";
  EXPECT_TRUE(Holds(selector, {"7", "2"}, {"7", "2"}));
  ASSERT_TRUE(Answer(*question, IDYES));
  EXPECT_TRUE(program.WaitForExit(15000));
}

TEST_F(Crosshairs, ASecondCopyInTheSameFolderBringsBackTheMinimisedWindowAndEnds) {
  HWND selector = StartWith();
  ASSERT_NE(selector, nullptr);
  ShowWindowAsync(selector, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(selector) != FALSE; })) << "not minimised";
  ExpectASecondCopyBringsBack(selector);
}

TEST_F(Crosshairs, AboutIsModalAndOpensAgainAfterClosing) {
  HWND selector = StartWith();
  ASSERT_NE(selector, nullptr);
  HWND option3 = Option(selector, kCrosshairs, 3);
  ASSERT_NE(option3, nullptr);
  // About from the menu bar: shown first, then the selector window is disabled.
  const auto openAbout = [&] {
    ChooseMenuBarEntry(selector, 1);
    HWND about = WaitForWindowOf(program.id(), "About");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(selector); }))
        << "the selector window takes input under About";
    return about;
  };

  HWND about = openAbout();
  ASSERT_NE(about, nullptr) << "no About window";
  const LONG style = GetWindowLongA(about, GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  // Raising the blocked window (its taskbar button, Alt+Tab) leaves About above it: About has no
  // taskbar button of its own to bring it back.
  EXPECT_EQ(GetWindow(about, GW_OWNER), selector);
  SetWindowPos(selector, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_TRUE(SettlesAndStays([&] { return IsAbove(about, selector); })) << "About went below";
  EXPECT_NE(style & WS_SYSMENU, 0) << "no close box";

  // Neither a real click nor a posted one selects an option while About is open.
  ClickAt(Centre(ClientRectOnScreen(option3)), MouseButton::kLeft);
  EXPECT_TRUE(StaysFalse([&] { return CheckState(option3) == BST_CHECKED; }))
      << "a real click reached the selector window";
  Click(option3);
  ASSERT_TRUE(HandledWhatWasPosted(option3));
  EXPECT_NE(CheckState(option3), BST_CHECKED) << "a posted click reached the selector window";
  EXPECT_EQ(Shown(selector), (Strings{"1", "1"}));

  // Closed by its close box, and once opened again by the system menu's Close, it gives the
  // window back.
  const auto closed = [&](UINT message, WPARAM command) {
    PostMessageA(about, message, command, 0);
    return WaitUntil([&] { return !IsWindowVisible(about); }) &&
           WaitUntil([&] { return IsWindowEnabled(selector) != FALSE; });
  };
  ASSERT_TRUE(closed(WM_CLOSE, 0));
  EXPECT_TRUE(Select(option3)) << "options do not work after About was closed";
  EXPECT_EQ(Shown(selector), (Strings{"3", "1"}));
  about = openAbout();
  ASSERT_NE(about, nullptr) << "About does not open a second time";
  ASSERT_TRUE(closed(WM_SYSCOMMAND, SC_CLOSE));
  EXPECT_TRUE(program.Running());
}

TEST_F(Crosshairs, SelectorShowsEveryThumbnailAndTheSavedChoiceInThePreviews) {
  HWND selector = StartWith({"7", "2"});
  ASSERT_NE(selector, nullptr);
  const HWND previews[] = {PictureBox(selector, 1), PictureBox(selector, 2)};
  for (HWND preview : previews) ASSERT_NE(preview, nullptr);

  auto image = CaptureWindow(selector);
  ASSERT_TRUE(image) << "cannot capture the selector window";
  EXPECT_TRUE(SaveBmp(*image, "crosshairs.bmp"));
  const RECT whole{0, 0, image->width, image->height};
  EXPECT_GT(CountPixels(*image, whole, kBlackPixel), PixelsIn(whole) / 2) << "background not black";
  for (POINT corner : {POINT{2, 2}, POINT{image->width - 3, 2}, POINT{2, image->height - 3},
                       POINT{image->width - 3, image->height - 3}}) {
    EXPECT_EQ(image->at(corner.x, corner.y), kBlackPixel) << corner.x << "," << corner.y;
  }

  // Every thumbnail, beside its option button, shows its picture from its top-left corner, cut
  // off at its edges; the previews show the saved choice.
  const int saved[] = {7, 2};
  for (std::size_t g = 0; g < std::size(kGroups); ++g) {
    const Group& group = kGroups[g];
    HWND container = GetParent(Option(selector, group, 1));
    ASSERT_NE(container, nullptr);
    for (int k = 1; k <= group.count; ++k) {
      const std::string name = "Picture" + std::to_string(group.thumbnail(k));
      HWND thumbnail = PictureBox(container, group.thumbnail(k));
      ASSERT_NE(thumbnail, nullptr) << name << " not found";
      const RECT area = AreaOf(*image, thumbnail);
      EXPECT_GT(CountPixels(*image, area, kGreenPixel), 0) << name << " shows no green";
      EXPECT_TRUE(ShowsPicture(*image, area, Picture(group, k)))
          << name << " does not show " << group.what << " " << k;
    }
    const RECT preview = AreaOf(*image, previews[g]);
    EXPECT_GT(CountPixels(*image, preview, kGreenPixel), 0) << group.what << " preview empty";
    EXPECT_TRUE(ShowsPicture(*image, preview, Picture(group, saved[g])));
  }
  EXPECT_FALSE(ShowsPicture(*image, AreaOf(*image, previews[0]), Picture(kCrosshairs, 1)));
}

// Placed in the mod's folder among DLLs planted under system DLLs' names, it loads none of them
// and starts as usual.
TEST_F(Crosshairs, LoadsNoDllPlantedBesideIt) {
  ExpectNoPlantedDllLoaded();
}

// Worked for a long time (see usage.h), with sent clicks that are each done once handled.
class CrosshairsSoak : public Crosshairs {};

TEST_F(CrosshairsSoak, TenThousandOptionClicks) {
  HWND selector = StartWith();
  ASSERT_NE(selector, nullptr);
  std::vector<HWND> options;
  for (const Group& group : kGroups) {
    for (int k = 1; k <= group.count; ++k) options.push_back(Option(selector, group, k));
  }
  for (HWND option : options) ASSERT_NE(option, nullptr);
  Soak(program, "crosshairs option clicks", Cycles(10000, 500),
       [&](int i) { return Select(options[static_cast<std::size_t>(i) % options.size()], true); });
}

// Shortened by fifty: under Wine without a window manager every message box costs its program a
// two-second wait in the X11 driver.
TEST_F(CrosshairsSoak, FiveHundredApplyCyclesAnsweredNo) {
  HWND selector = StartWith();
  ASSERT_NE(selector, nullptr);
  const int cycles = Cycles(500, 10);
  Soak(program, "crosshairs Apply cycles", cycles, [&](int i) {
    const int crosshair = i % crosshairs::kCrosshairCount + 1;
    const int reticle = i % crosshairs::kReticleCount + 1;
    const Strings choice{std::to_string(crosshair), std::to_string(reticle)};
    if (!Choose(selector, crosshair, reticle, true)) {
      ADD_FAILURE() << "cannot choose crosshair " << crosshair << " and reticle " << reticle;
      return false;
    }
    auto question = Apply(selector);
    if (!question) return false;
    EXPECT_TRUE(Holds(selector, choice, choice));
    return Answer(*question, IDNO);
  });
  EXPECT_EQ(Setting("cr"), std::to_string((cycles - 1) % crosshairs::kCrosshairCount + 1));
  EXPECT_TRUE(MessageBoxesOf(program.id()).empty());
}

}  // namespace
}  // namespace e2e
