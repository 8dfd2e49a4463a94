#include "tests/e2e/scenario.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tests/e2e/capture.h"
#include "tests/e2e/planted_dlls.h"
#include "tests/e2e/registry.h"
#include "tests/support/expected_texts.h"

namespace e2e {

std::optional<std::string> ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out.flush());
}

namespace {

// The sample itself, as this program sees its folder.
const fs::path& Sample() {
  static const fs::path sample = [] {
    const char* folder = std::getenv("VL_SAMPLE_GAME");
    if (folder == nullptr) throw std::runtime_error("VL_SAMPLE_GAME is not set");
    return fs::path(ToWindowsPath(folder));
  }();
  return sample;
}

}  // namespace

GameFolder::GameFolder(fs::path root) : root_(std::move(root)) {
  fs::copy(Sample(), root_, fs::copy_options::recursive);
}

std::string GameFolder::Original(const std::string& relative) {
  auto bytes = ReadBytes(Sample() / relative);
  if (!bytes) throw std::runtime_error("the sample game folder lacks " + relative);
  return *bytes;
}

bool GameFolder::PutBackOriginal(const std::string& relative) const {
  std::error_code failure;
  fs::create_directories(file(relative).parent_path(), failure);
  return WriteBytes(file(relative), Original(relative));
}

std::optional<MessageBoxView> ExpectMessageBox(DWORD pid, const std::string& title,
                                               const std::string& text,
                                               const std::vector<int>& buttons) {
  auto box = WaitForMessageBox(pid, title);
  if (!box) {
    ADD_FAILURE() << "no message box titled \"" << title << "\"";
    return std::nullopt;
  }
  EXPECT_EQ(box->text, text);
  EXPECT_EQ(box->buttons, buttons);
  return box;
}

void Scenario::SetUp() {
  ASSERT_TRUE(DeleteUserKey(sectionKey())) << "cannot clear " << sectionKey();
  NewGame();
}

void Scenario::NewGame() {
  game_ =
      std::make_unique<GameFolder>(fs::path(temp_.path()) / ("game" + std::to_string(++games_)));
}

void Scenario::TearDown() {
  if (HasFailure()) {
    // What the screen showed when the scenario failed, beside the other captures.
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (auto image = CaptureScreen(screen)) {
      SaveBmp(*image,
              std::string("failed-") + info->test_suite_name() + "-" + info->name() + ".bmp");
    }
  }
  program.Kill();
  DeleteUserKey(sectionKey());
}

bool Scenario::StartProgram(Program& copy, const fs::path& workingFolder) {
  std::string error;
  if (!copy.Start(CurrentTarget().exe, workingFolder.string(), error)) {
    ADD_FAILURE() << error;
    return false;
  }
  return true;
}

HWND Scenario::Started() {
  HWND window = WaitForWindow();
  if (window == nullptr || WaitForInputIdle(program.handle(), kTimeout.count()) != 0) {
    ADD_FAILURE() << CurrentTarget().program << " did not start";
    return nullptr;
  }
  return window;
}

HWND Scenario::StartWith(const Strings& values) {
  if (!Seed(values.empty() ? profile_.quiet : values) || !Start()) return nullptr;
  return Started();
}

std::string Scenario::sectionKey() const {
  return kSettingsKey + "\\" + profile_.section;
}

bool Scenario::Seed(const Strings& values) const {
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!WriteUserString(sectionKey(), profile_.settings[i], values[i])) return false;
  }
  return true;
}

std::optional<std::string> Scenario::Setting(const std::string& name) const {
  return ReadUserString(sectionKey(), name);
}

Strings Scenario::Settings() const {
  Strings values;
  for (const std::string& name : profile_.settings)
    values.push_back(Setting(name).value_or("<none>"));
  return values;
}

testing::AssertionResult Scenario::Holds(HWND window, const Strings& settings, const Strings& files,
                                         milliseconds within) {
  Strings shown, saved, held;
  if (WaitUntil(
          [&] {
            shown = window != nullptr ? Shown(window) : settings;
            saved = Settings();
            held = Files();
            return shown == settings && saved == settings && held == files;
          },
          within)) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure()
         << "shown " << testing::PrintToString(shown) << ", saved " << testing::PrintToString(saved)
         << ", files " << testing::PrintToString(held);
}

HWND Scenario::FirstRunNoticeThenWindow() {
  if (!Start()) return nullptr;
  auto notice = ExpectMessageBox(program.id(), CurrentTarget().program, expected::kFirstRunNotice);
  if (!notice) return nullptr;
  EXPECT_EQ(FindWindowOf(program.id(), profile_.title), nullptr)
      << "window shown before the notice";
  return Answer(*notice, IDOK) ? Started() : nullptr;
}

void Scenario::ExpectASecondCopyBringsBack(HWND window) {
  Program second;
  ASSERT_TRUE(StartProgram(second, folder()));
  std::vector<HWND> shown;
  const bool ended = WaitUntil(
      [&] {
        if (shown.empty()) shown = WindowsOf(second.id());
        return !second.Running();
      },
      kTimeout, milliseconds(10));
  EXPECT_TRUE(ended) << "the second copy still runs";
  EXPECT_EQ(second.ExitCode(), 0u);
  for (HWND other : shown) {
    ADD_FAILURE() << "the second copy showed a window \"" << TextOf(other) << "\" of class "
                  << ClassOf(other);
  }
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) && !IsIconic(window); }))
      << "the first copy's window is not back";
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; })) << "not in front";
  EXPECT_TRUE(program.Running()) << "the first copy ended with " << program.ExitCode().value_or(0);
}

void Scenario::ExpectNoPlantedDllLoaded() {
  std::string error;
  const Strings names = PlantingTargets(fs::path(temp_.path()) / "planting", error);
  ASSERT_EQ(error, "");
  ASSERT_TRUE(Seed(profile_.quiet));
  // Some DLLs are loaded only when the window is first painted, which is done once it is idle.
  const Strings loaded = LoadedWhenPlanted(
      CurrentTarget().exe, folder(), names, program,
      [&] {
        return WaitForWindow() != nullptr &&
               WaitForInputIdle(program.handle(), kTimeout.count()) == 0;
      },
      error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(loaded, Strings{});
}

void Scenario::ExpectTheNextStartShows(const Strings& settings, const Strings& files) {
  ASSERT_TRUE(Start());
  HWND window = Started();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(MessageBoxesOf(program.id()).empty());
  EXPECT_TRUE(Holds(window, settings, files));
}

}  // namespace e2e
