// Both programs worked for a long time without a pause: they must go on running and hold no
// more objects, handles or memory at the end than after a short warm-up. The normal run makes
// a short form of each soak; VL_SOAK=full makes the full count.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "crosshairs/preview_lists.h"
#include "tests/e2e/scenario.h"
#include "tests/e2e/usage.h"
#include "tests/e2e/wait.h"
#include "tests/e2e/windows_ui.h"
#include "tests/support/expected_texts.h"
#include "vorlane/mode_switch.h"

namespace e2e {
namespace {

// What a long run may gain over the warm-up before it counts as a leak: caches and heaps settle
// by small steps, a leak per cycle shows far above these.
constexpr long kObjectMargin = 20;
constexpr long long kMemoryMargin = 4 * 1024 * 1024;

bool FullSoak() {
  const char* soak = std::getenv("VL_SOAK");
  return soak != nullptr && std::string(soak) == "full";
}

// Shortened by about twenty, Apply by fifty: under Wine without a window manager every message
// box costs its program a two-second wait in the X11 driver.
int Cycles(int full, int shortened) {
  return FullSoak() ? full : shortened;
}

void ExpectNoGrowth(const std::string& counted, long before, long after) {
  EXPECT_LE(after - before, kObjectMargin) << counted << " grew from " << before << " to " << after;
}

class Soak : public Scenario {
 protected:
  using Scenario::Scenario;

  // The window `title` of the program, once the program has finished starting: its window can
  // show while the load handler still runs, and vorlane ignores clicks until that has ended.
  HWND WaitUntilStarted(const std::string& title) {
    HWND window = WaitForWindowOf(program.id(), title);
    if (window == nullptr) return nullptr;
    if (WaitForInputIdle(program.handle(), 60000) != 0) return nullptr;
    return window;
  }

  // Runs `cycle` (given its number, true when it went through) `cycles` times; measures the
  // program after the first twentieth and at the end, prints both and fails on growth.
  void Run(const std::string& name, int cycles, const std::function<bool(int)>& cycle) {
    const int warmUp = std::max(1, cycles / 20);
    std::optional<Usage> before;
    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < cycles; ++i) {
      if (i == warmUp) {
        before = MeasureUsage(program.handle(), program.id());
        ASSERT_TRUE(before) << name << ": cannot measure the program";
      }
      ASSERT_TRUE(cycle(i)) << name << ": cycle " << i + 1 << " of " << cycles << " failed";
      ASSERT_TRUE(program.Running()) << name << ": the program ended in cycle " << i + 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const auto after = MeasureUsage(program.handle(), program.id());
    ASSERT_TRUE(after) << name << ": cannot measure the program at the end";
    if (!before) before = after;  // a single cycle has no warm-up to compare with
    std::printf("%s: %d cycles in %.1f s\n  after %d: %s\n  at the end: %s\n", name.c_str(), cycles,
                seconds, warmUp, Describe(*before).c_str(), Describe(*after).c_str());
    std::fflush(stdout);

    if (before->gdiObjects && after->gdiObjects) {
      ExpectNoGrowth("GDI objects", *before->gdiObjects, *after->gdiObjects);
    }
    if (before->userObjects && after->userObjects) {
      ExpectNoGrowth("USER objects", *before->userObjects, *after->userObjects);
    }
    if (before->handles && after->handles) {
      ExpectNoGrowth("handles", *before->handles, *after->handles);
    }
    ExpectNoGrowth("windows", before->windows, after->windows);
    EXPECT_LE(
        static_cast<long long>(after->privateBytes) - static_cast<long long>(before->privateBytes),
        kMemoryMargin)
        << "private memory grew from " << before->privateBytes << " to " << after->privateBytes;
  }
};

class CrosshairsSoak : public Soak {
 protected:
  CrosshairsSoak() : Soak("crosshair") {}

  // The selector window, started with a saved choice so that no first-run notice comes.
  HWND StartSelector() {
    if (!Seed("cr", "1") || !Seed("rt", "1") || !StartProgram(game().modFolder())) return nullptr;
    return WaitUntilStarted("Sightora");
  }
  HWND Crosshair(HWND selector, int k) {
    return FindButton(selector, "Option" + std::to_string(k));
  }
  HWND Reticle(HWND selector, int k) { return FindButton(selector, "rt" + std::to_string(k)); }
  // Clicks an option and checks that it shows selected afterwards.
  static bool Choose(HWND option) {
    return option != nullptr && ClickAndWait(option) && CheckState(option) == BST_CHECKED;
  }
};

TEST_F(CrosshairsSoak, TenThousandOptionClicks) {
  HWND selector = StartSelector();
  ASSERT_NE(selector, nullptr);
  std::vector<HWND> options;
  for (int k = 1; k <= crosshairs::kCrosshairCount; ++k) options.push_back(Crosshair(selector, k));
  for (int k = 1; k <= crosshairs::kReticleCount; ++k) options.push_back(Reticle(selector, k));
  for (HWND option : options) ASSERT_NE(option, nullptr);

  Run("crosshairs option clicks", Cycles(10000, 500),
      [&](int i) { return Choose(options[static_cast<std::size_t>(i) % options.size()]); });
}

TEST_F(CrosshairsSoak, FiveHundredApplyCyclesAnsweredNo) {
  HWND selector = StartSelector();
  ASSERT_NE(selector, nullptr);

  Run("crosshairs Apply cycles", Cycles(500, 10), [&](int i) {
    const int crosshair = i % crosshairs::kCrosshairCount + 1;
    const int reticle = i % crosshairs::kReticleCount + 1;
    if (!Choose(Crosshair(selector, crosshair)) || !Choose(Reticle(selector, reticle))) {
      ADD_FAILURE() << "cannot choose crosshair " << crosshair << " and reticle " << reticle;
      return false;
    }
    ChooseMenuBarEntry(selector, 0);
    auto question = WaitForMessageBox(program.id(), expected::kExitQuestionTitle);
    if (!question) {
      ADD_FAILURE() << "no question after Apply";
      return false;
    }
    EXPECT_EQ(ReadBytes(game().menuArchive()), ReadBytes(game().crosshairArchive(crosshair)));
    EXPECT_EQ(ReadBytes(game().gameArchive()), ReadBytes(game().reticleArchive(reticle)));
    return Answer(*question, IDNO);
  });
  EXPECT_EQ(Setting("cr"), std::to_string((Cycles(500, 10) - 1) % crosshairs::kCrosshairCount + 1));
  EXPECT_TRUE(MessageBoxesOf(program.id()).empty());
}

class VorlaneSoak : public Soak {
 protected:
  VorlaneSoak() : Soak("setting") {}

  // The window, started with the mode off and both expansion boxes ticked.
  HWND StartForm() {
    if (!Seed("mode", "False") || !Seed("rtr", "True") || !Seed("sw", "True") ||
        !StartProgram(game().root())) {
      return nullptr;
    }
    return WaitUntilStarted("Vorlane");
  }
  // Every file of the copy table holds the mod's set for `mode`.
  bool InstalledEverywhere(vorlane::Mode mode) {
    return std::ranges::all_of(vorlane::kModeCopies, [&](const vorlane::ModeCopy& row) {
      return ReadBytes(game().file(row.destination)) ==
             ReadBytes(game().file(SourceFor(row, mode)));
    });
  }
};

TEST_F(VorlaneSoak, AThousandEnableDisableCycles) {
  HWND form = StartForm();
  ASSERT_NE(form, nullptr);
  HWND enable = FindButton(form, "Enable");
  HWND disable = FindButton(form, "Disable");
  ASSERT_NE(enable, nullptr);
  ASSERT_NE(disable, nullptr);
  ASSERT_EQ(CheckState(FindButton(form, "RTR")), BST_CHECKED);
  ASSERT_EQ(CheckState(FindButton(form, "SW")), BST_CHECKED);

  // Each switch is done once its click is handled: the files show it at once.
  auto switchTo = [&](HWND option, vorlane::Mode mode) {
    return ClickAndWait(option) && CheckState(option) == BST_CHECKED && InstalledEverywhere(mode);
  };
  Run("vorlane Enable/Disable cycles", Cycles(1000, 50), [&](int) {
    return switchTo(enable, vorlane::Mode::kEnabled) && switchTo(disable, vorlane::Mode::kDisabled);
  });
  EXPECT_TRUE(InstalledEverywhere(vorlane::Mode::kDisabled));
  EXPECT_EQ(Setting("mode"), "False");
  EXPECT_TRUE(MessageBoxesOf(program.id()).empty());

  // And the last switch in the other direction still works.
  ASSERT_TRUE(ClickAndWait(enable));
  EXPECT_TRUE(InstalledEverywhere(vorlane::Mode::kEnabled));
  EXPECT_EQ(Setting("mode"), "True");
}

TEST_F(VorlaneSoak, AThousandIconCallbacks) {
  HWND form = StartForm();
  ASSERT_NE(form, nullptr);
  // The icon reports mouse messages to the window as WM_MOUSEMOVE, the message in the X
  // position: movement, left press and release, right press.
  constexpr WORD kMovement[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN};
  auto report = [&](WORD message) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(form, WM_MOUSEMOVE, 0, MAKELPARAM(message, 0), SMTO_ABORTIFHUNG,
                               5000, &result) != 0;
  };

  Run("vorlane icon callbacks", Cycles(1000, 50), [&](int i) {
    // Now and then the window is minimised, which hides it: the left release brings it back.
    const bool hide = i % 10 == 0;
    if (hide) {
      PostMessageA(form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      if (!WaitUntil([&] { return !IsWindowVisible(form); })) {
        ADD_FAILURE() << "the minimised window stays visible";
        return false;
      }
    }
    for (WORD message : kMovement) {
      if (!report(message)) return false;
    }
    if (!IsWindowVisible(form) || IsIconic(form)) {
      ADD_FAILURE() << "a left click on the icon does not bring the window back";
      return false;
    }
    return true;
  });

  // The right release opens the icon's popup menu; Escape closes it again.
  Run("vorlane icon popup menu", Cycles(50, 3), [&](int) {
    PostMessageA(form, WM_MOUSEMOVE, 0, MAKELPARAM(WM_RBUTTONUP, 0));
    HWND popup = WaitForPopupMenu(program.id());
    if (popup == nullptr) {
      ADD_FAILURE() << "no popup menu";
      return false;
    }
    PostKey(popup, VK_ESCAPE);
    return WaitUntil([&] { return !IsWindowVisible(popup); });
  });
  for (const vorlane::ModeCopy& row : vorlane::kModeCopies) {
    EXPECT_EQ(ReadBytes(game().file(row.destination)), GameFolder::Original(row.destination))
        << "an icon callback switched the mode";
  }
  EXPECT_EQ(Setting("mode"), "False");
}

}  // namespace
}  // namespace e2e
