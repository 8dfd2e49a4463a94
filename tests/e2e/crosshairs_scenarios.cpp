// crosshairs, worked end to end: the first run, choosing and applying, the failures Apply
// reports, the modal About window, and what the selector window shows.
#include <gtest/gtest.h>

#include "crosshairs/form1.h"
#include "platform/win32/controls/control_classes.h"
#include "platform/win32/windows_api.h"
#include "resources/embedded_pictures.h"
#include "tests/e2e/capture.h"
#include "tests/e2e/scenario.h"
#include "tests/e2e/wait.h"
#include "tests/e2e/windows_ui.h"
#include "tests/support/expected_texts.h"

namespace e2e {
namespace {

using crosshairs::Form1;
using crosshairs::kCrosshairCount;
using crosshairs::kReticleCount;

// A picture box within `container` by its number: each window carries its control's name.
HWND Picture(HWND container, int n) {
  return FindControl(container, "Picture" + std::to_string(n), platform::win32::kPictureBoxClass);
}

// The pictures as the program carries them.
Image CrosshairPicture(int k) {
  const auto file = resources::CrosshairPreview(k);
  return DecodeBmp24(file.data, file.size).value_or(Image{});
}
Image ReticlePicture(int k) {
  const auto file = resources::ReticlePreview(k);
  return DecodeBmp24(file.data, file.size).value_or(Image{});
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
  Crosshairs() : Scenario("crosshair") {}

  bool Start() { return StartProgram(game().modFolder()); }
  // The selector window once shown.
  HWND WaitForSelector() { return WaitForWindowOf(program.id(), "Sightora"); }
  // Starts with a saved choice, so that no first-run notice comes.
  HWND StartWithSavedChoice(const std::string& crosshair, const std::string& reticle) {
    if (!Seed("cr", crosshair) || !Seed("rt", reticle) || !Start()) return nullptr;
    return WaitForSelector();
  }

  HWND Crosshair(HWND selector, int k) {
    return FindButton(selector, "Option" + std::to_string(k));
  }
  HWND Reticle(HWND selector, int k) { return FindButton(selector, "rt" + std::to_string(k)); }
  // The numbers of the crosshair (or reticle) options shown selected.
  std::vector<int> CheckedCrosshairs(HWND selector) {
    return Checked(kCrosshairCount, [&](int k) { return Crosshair(selector, k); });
  }
  std::vector<int> CheckedReticles(HWND selector) {
    return Checked(kReticleCount, [&](int k) { return Reticle(selector, k); });
  }
  template <typename Find>
  std::vector<int> Checked(int count, Find find) {
    std::vector<int> checked;
    for (int k = 1; k <= count; ++k) {
      HWND button = find(k);
      if (button == nullptr) {
        ADD_FAILURE() << "option " << k << " not found";
      } else if (CheckState(button) == BST_CHECKED) {
        checked.push_back(k);
      }
    }
    return checked;
  }
  // Selects an option and waits until it shows selected.
  bool Choose(HWND button) { return Click(button) && WaitForCheckState(button, BST_CHECKED); }

  void Apply(HWND selector) { ChooseMenuBarEntry(selector, 0); }
  void About(HWND selector) { ChooseMenuBarEntry(selector, 1); }

  std::optional<std::string> Installed(const fs::path& archive) { return ReadBytes(archive); }
  bool ArchivesUntouched() {
    return ReadBytes(game().menuArchive()) == GameFolder::OriginalMenuArchive() &&
           ReadBytes(game().gameArchive()) == GameFolder::OriginalGameArchive();
  }
  // Once the program has handled what was posted to it after the answer, a message box that
  // the same command would show is already up: its modal loop is what handles the messages.
  bool NoMessageBoxComes(HWND selector) {
    return HandledWhatWasPosted(Crosshair(selector, 1)) && MessageBoxesOf(program.id()).empty();
  }
};

TEST_F(Crosshairs, FirstRunShowsTheNoticeBeforeTheWindowThenMarksAndSavesTheDefaults) {
  ASSERT_TRUE(Start());
  auto notice = WaitForMessageBox(program.id(), "crosshairs");
  ASSERT_TRUE(notice) << "no notice titled \"crosshairs\"";
  EXPECT_EQ(notice->text, expected::kFirstRunNotice);
  EXPECT_EQ(notice->buttons, std::vector<int>{IDOK});
  EXPECT_EQ(FindWindowOf(program.id(), "Sightora"), nullptr) << "window shown before the notice";
  ASSERT_TRUE(Answer(*notice, IDOK));

  HWND selector = WaitForSelector();
  ASSERT_NE(selector, nullptr);
  EXPECT_EQ(CheckedCrosshairs(selector), std::vector<int>{1});
  EXPECT_EQ(CheckedReticles(selector), std::vector<int>{1});
  EXPECT_EQ(Setting("cr"), "1");
  EXPECT_EQ(Setting("rt"), "1");
  EXPECT_TRUE(ArchivesUntouched());

  // The defaults are saved: the next start shows no notice.
  program.Kill();
  ASSERT_TRUE(Start());
  selector = WaitForSelector();
  ASSERT_NE(selector, nullptr);
  EXPECT_TRUE(MessageBoxesOf(program.id()).empty());
  EXPECT_EQ(CheckedCrosshairs(selector), std::vector<int>{1});
}

TEST_F(Crosshairs, ApplyInstallsTheChoiceAsksToExitAndTheNextStartShowsIt) {
  HWND selector = StartWithSavedChoice("1", "1");
  ASSERT_NE(selector, nullptr);
  ASSERT_TRUE(Choose(Crosshair(selector, 7)));
  ASSERT_TRUE(Choose(Reticle(selector, 2)));
  EXPECT_EQ(CheckedCrosshairs(selector), std::vector<int>{7});
  EXPECT_EQ(CheckedReticles(selector), std::vector<int>{2});
  EXPECT_EQ(Setting("cr"), "1") << "a click alone must not save";

  Apply(selector);
  auto question = WaitForMessageBox(program.id(), expected::kExitQuestionTitle);
  ASSERT_TRUE(question) << "no question titled \"" << expected::kExitQuestionTitle << "\"";
  EXPECT_EQ(question->text, expected::kExitQuestion);
  EXPECT_EQ(question->buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(question->defaultStyled, std::vector<int>{IDNO});
  EXPECT_EQ(question->focusedId, IDNO);
  EXPECT_EQ(Installed(game().menuArchive()), ReadBytes(game().crosshairArchive(7)));
  EXPECT_EQ(Installed(game().gameArchive()), ReadBytes(game().reticleArchive(2)));
  EXPECT_EQ(Setting("cr"), "7");
  EXPECT_EQ(Setting("rt"), "2");

  // Enter answers No: the program goes on, and Apply copies and asks again.
  ASSERT_TRUE(Confirm(*question));
  EXPECT_TRUE(NoMessageBoxComes(selector));
  ASSERT_TRUE(program.Running());
  ASSERT_TRUE(IsWindowVisible(selector));
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(WriteBytes(game().menuArchive(), GameFolder::OriginalMenuArchive()));
    ASSERT_TRUE(WriteBytes(game().gameArchive(), GameFolder::OriginalGameArchive()));
    Apply(selector);
    question = WaitForMessageBox(program.id(), expected::kExitQuestionTitle);
    ASSERT_TRUE(question) << "no question after Apply " << round + 2;
    EXPECT_EQ(Installed(game().menuArchive()), ReadBytes(game().crosshairArchive(7)));
    EXPECT_EQ(Installed(game().gameArchive()), ReadBytes(game().reticleArchive(2)));
    if (round == 0) {
      ASSERT_TRUE(Answer(*question, IDNO));
      EXPECT_TRUE(NoMessageBoxComes(selector));
      ASSERT_TRUE(program.Running());
    }
  }

  // Yes ends the program.
  ASSERT_TRUE(Answer(*question, IDYES));
  EXPECT_TRUE(program.WaitForExit(15000)) << "still running after Yes";

  ASSERT_TRUE(Start());
  selector = WaitForSelector();
  ASSERT_NE(selector, nullptr);
  EXPECT_TRUE(MessageBoxesOf(program.id()).empty());
  EXPECT_EQ(CheckedCrosshairs(selector), std::vector<int>{7});
  EXPECT_EQ(CheckedReticles(selector), std::vector<int>{2});
}

TEST_F(Crosshairs, TheKeyboardAloneChoosesPreviewsAndApplies) {
  HWND selector = StartWithSavedChoice("1", "1");
  ASSERT_NE(selector, nullptr);
  ASSERT_TRUE(BringToKeyboard(selector));
  // Tab enters the crosshair group at its selected button; each arrow selects the one reached.
  PressKey(VK_TAB);
  for (int i = 0; i < 6; ++i) PressKey(VK_DOWN);
  EXPECT_TRUE(WaitUntil([&] { return CheckedCrosshairs(selector) == std::vector<int>{7}; }));
  // The reticle group, entered at rt1; rt2 comes before it in tab order.
  PressKey(VK_TAB);
  PressKey(VK_UP);
  EXPECT_TRUE(WaitUntil([&] { return CheckedReticles(selector) == std::vector<int>{2}; }));
  EXPECT_EQ(CheckedCrosshairs(selector), std::vector<int>{7});
  HWND preview = Picture(selector, 1);
  ASSERT_NE(preview, nullptr);
  auto image = CaptureWindow(selector);
  ASSERT_TRUE(image);
  const RECT client = ClientRectOnScreen(selector);
  EXPECT_TRUE(ShowsPicture(*image, AreaOf(preview, {client.left, client.top}), CrosshairPicture(7)))
      << "the large preview does not follow the keyboard";
  EXPECT_EQ(Setting("cr"), "1") << "choosing alone must not save";

  ASSERT_TRUE(BringToKeyboard(selector));
  PressKey(VK_F10);  // the menu bar, at its first entry: Apply
  PressKey(VK_RETURN);
  auto question = WaitForMessageBox(program.id(), expected::kExitQuestionTitle);
  ASSERT_TRUE(question) << "Apply did not run from the keyboard";
  EXPECT_EQ(Setting("cr"), "7");
  EXPECT_EQ(Setting("rt"), "2");
  EXPECT_EQ(Installed(game().menuArchive()), ReadBytes(game().crosshairArchive(7)));
  EXPECT_EQ(Installed(game().gameArchive()), ReadBytes(game().reticleArchive(2)));
  PressKey(VK_RETURN);  // No, the default
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(question->window); }));
  EXPECT_TRUE(NoMessageBoxComes(selector));
  EXPECT_TRUE(program.Running());
}

TEST_F(Crosshairs, ApplyTellsAMissingFolderFromAMissingArchiveAndWorksOnceRepaired) {
  HWND selector = StartWithSavedChoice("1", "1");
  ASSERT_NE(selector, nullptr);
  ASSERT_TRUE(Choose(Crosshair(selector, 7)));
  ASSERT_TRUE(Choose(Reticle(selector, 2)));
  const fs::path folder = game().crosshairArchive(7).parent_path();
  const std::string archive = *ReadBytes(game().crosshairArchive(7));

  fs::remove_all(folder);
  Apply(selector);
  auto failure = WaitForMessageBox(program.id(), "crosshairs");
  ASSERT_TRUE(failure) << "no message for the missing folder";
  EXPECT_EQ(failure->text, expected::kMissingFolderMessage);
  EXPECT_EQ(failure->buttons, std::vector<int>{IDOK});
  EXPECT_TRUE(ArchivesUntouched());
  EXPECT_EQ(Setting("cr"), "7") << "the choice is saved before the copies";
  EXPECT_EQ(Setting("rt"), "2");
  ASSERT_TRUE(Answer(*failure, IDOK));
  EXPECT_TRUE(NoMessageBoxComes(selector)) << "no question may follow a failure";
  ASSERT_TRUE(program.Running());

  fs::create_directories(folder);
  Apply(selector);
  failure = WaitForMessageBox(program.id(), "crosshairs");
  ASSERT_TRUE(failure) << "no message for the missing archive";
  EXPECT_EQ(failure->text, expected::kOtherFailureMessage);
  EXPECT_EQ(failure->buttons, std::vector<int>{IDOK});
  EXPECT_TRUE(ArchivesUntouched());
  ASSERT_TRUE(Answer(*failure, IDOK));
  EXPECT_TRUE(NoMessageBoxComes(selector));
  ASSERT_TRUE(program.Running());

  ASSERT_TRUE(WriteBytes(game().crosshairArchive(7), archive));
  Apply(selector);
  auto question = WaitForMessageBox(program.id(), expected::kExitQuestionTitle);
  ASSERT_TRUE(question) << "no question once the folders are repaired";
  EXPECT_EQ(Installed(game().menuArchive()), archive);
  EXPECT_EQ(Installed(game().gameArchive()), ReadBytes(game().reticleArchive(2)));
  ASSERT_TRUE(Answer(*question, IDYES));
  EXPECT_TRUE(program.WaitForExit(15000));
}

TEST_F(Crosshairs, ASecondCopyInTheSameFolderBringsBackTheMinimisedWindowAndEnds) {
  HWND selector = StartWithSavedChoice("1", "1");
  ASSERT_NE(selector, nullptr);
  ShowWindowAsync(selector, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(selector) != FALSE; })) << "not minimised";

  ExpectSecondCopyEndsAtOnce(game().modFolder());
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(selector) && !IsIconic(selector); }))
      << "the first copy's window is not back";
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == selector; })) << "not in front";
  EXPECT_TRUE(program.Running());
}

TEST_F(Crosshairs, AboutIsModalAndOpensAgainAfterClosing) {
  HWND selector = StartWithSavedChoice("1", "1");
  ASSERT_NE(selector, nullptr);
  HWND option3 = Crosshair(selector, 3);
  ASSERT_NE(option3, nullptr);

  About(selector);
  HWND about = WaitForWindowOf(program.id(), "About");
  ASSERT_NE(about, nullptr) << "no About window";
  // It is shown first, then the selector window is disabled.
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(selector); }))
      << "the selector window takes input under About";
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
  EXPECT_EQ(CheckedCrosshairs(selector), std::vector<int>{1});

  PostMessageA(about, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about) || !IsWindowVisible(about); }));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(selector) != FALSE; }));
  EXPECT_TRUE(Choose(option3)) << "options do not work after About was closed";
  EXPECT_EQ(CheckedCrosshairs(selector), std::vector<int>{3});

  About(selector);
  about = WaitForWindowOf(program.id(), "About");
  ASSERT_NE(about, nullptr) << "About does not open a second time";
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(selector); }));
  PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about) || !IsWindowVisible(about); }));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(selector) != FALSE; }));
  EXPECT_TRUE(program.Running());
}

TEST_F(Crosshairs, SelectorShowsEveryThumbnailAndTheSavedChoiceInThePreviews) {
  HWND selector = StartWithSavedChoice("7", "2");
  ASSERT_NE(selector, nullptr);
  HWND frame = GetParent(Reticle(selector, 1));
  ASSERT_NE(frame, nullptr);

  struct Box {
    std::string name;
    HWND window;
  };
  std::vector<Box> thumbnails;
  for (int k = 1; k <= kCrosshairCount; ++k) {
    const int n = Form1::CrosshairThumbnailNumber(k);
    thumbnails.push_back({"Picture" + std::to_string(n), Picture(selector, n)});
  }
  for (int k = 1; k <= kReticleCount; ++k) {
    const int n = Form1::ReticleThumbnailNumber(k);
    thumbnails.push_back({"Picture" + std::to_string(n), Picture(frame, n)});
  }
  HWND crosshairPreview = Picture(selector, 1);
  HWND reticlePreview = Picture(selector, 2);
  for (const Box& box : thumbnails) ASSERT_NE(box.window, nullptr) << box.name << " not found";
  ASSERT_NE(crosshairPreview, nullptr);
  ASSERT_NE(reticlePreview, nullptr);

  auto image = CaptureWindow(selector);
  ASSERT_TRUE(image) << "cannot capture the selector window";
  EXPECT_TRUE(SaveBmp(*image, "crosshairs.bmp"));
  const RECT client = ClientRectOnScreen(selector);
  const POINT origin{client.left, client.top};

  const RECT whole{0, 0, image->width, image->height};
  EXPECT_GT(CountPixels(*image, whole, kBlackPixel), PixelsIn(whole) / 2) << "background not black";
  for (POINT corner : {POINT{2, 2}, POINT{image->width - 3, 2}, POINT{2, image->height - 3},
                       POINT{image->width - 3, image->height - 3}}) {
    EXPECT_EQ(image->at(corner.x, corner.y), kBlackPixel) << corner.x << "," << corner.y;
  }
  for (const Box& box : thumbnails) {
    EXPECT_GT(CountPixels(*image, AreaOf(box.window, origin), kGreenPixel), 0)
        << box.name << " shows no green";
  }
  const RECT crosshairArea = AreaOf(crosshairPreview, origin);
  const RECT reticleArea = AreaOf(reticlePreview, origin);
  EXPECT_GT(CountPixels(*image, crosshairArea, kGreenPixel), 0) << "crosshair preview empty";
  EXPECT_GT(CountPixels(*image, reticleArea, kGreenPixel), 0) << "reticle preview empty";

  // Every box shows its picture from its top-left corner, cut off at its edges; the previews
  // show the saved choice.
  for (int k = 1; k <= kCrosshairCount; ++k) {
    EXPECT_TRUE(ShowsPicture(*image, AreaOf(thumbnails[k - 1].window, origin), CrosshairPicture(k)))
        << thumbnails[k - 1].name << " does not show crosshair " << k;
  }
  for (int k = 1; k <= kReticleCount; ++k) {
    EXPECT_TRUE(ShowsPicture(*image, AreaOf(thumbnails[kCrosshairCount + k - 1].window, origin),
                             ReticlePicture(k)))
        << thumbnails[kCrosshairCount + k - 1].name << " does not show reticle " << k;
  }
  EXPECT_TRUE(ShowsPicture(*image, crosshairArea, CrosshairPicture(7)));
  EXPECT_TRUE(ShowsPicture(*image, reticleArea, ReticlePicture(2)));
  EXPECT_FALSE(ShowsPicture(*image, crosshairArea, CrosshairPicture(1)));
}

// Placed in the mod's folder among DLLs planted under system DLLs' names, it loads none of them
// and starts as usual.
TEST_F(Crosshairs, LoadsNoDllPlantedBesideIt) {
  ASSERT_TRUE(Seed("cr", "1") && Seed("rt", "1"));
  auto planted = StartAmongPlantedDlls(game().modFolder());
  ASSERT_TRUE(planted);
  EXPECT_NE(WaitForSelector(), nullptr);
  // Some DLLs are loaded only when the window is first painted, which is done once it is idle.
  EXPECT_EQ(WaitForInputIdle(program.handle(), kTimeout.count()), 0u);
  EXPECT_EQ(planted->Loaded(), std::vector<std::string>{});
}

}  // namespace
}  // namespace e2e
