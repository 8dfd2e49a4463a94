// Stored settings of every shape, as another program, an old version or a hand in the registry
// may have left them: the programs must neither crash nor reach for a file outside their own
// folders, nor touch the other program's section, and must do what they do with such texts.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>

#include "crosshairs/form1.h"
#include "crosshairs/module1.h"
#include "platform/headless/headless_environment.h"
#include "tests/faults/recording_file_system.h"
#include "tests/fuzz/guarded_file_system.h"
#include "tests/support/expected_texts.h"
#include "tests/support/program.h"
#include "tests/support/temp_folder.h"
#include "tests/vorlane/game_root.h"
#include "vorlane/form1.h"
#include "vorlane/module1.h"

namespace faults {
namespace {

using platform::headless::HeadlessEnvironment;
using Stored = std::optional<std::string>;  // nullopt: no value stored at all

const std::string kLong(64 << 10, 'x');
const std::string kLongSeven = std::string((64 << 10) - 1, '0') + "7";
const std::string kLongNumber(64 << 10, '1');

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Paths stay below one of `folders` (as the fuzzed programs' must).
void ExpectOnlyBelow(const std::vector<std::string>& paths,
                     const std::vector<std::string>& folders) {
  for (const auto& path : paths)
    EXPECT_TRUE(fuzzing::Confined(path, folders)) << path.substr(0, 80);
}

// Every store operation stays in `section`, and the other program's values are as they were.
void ExpectOnlyInSection(HeadlessEnvironment<RecordingFileSystem>& env, const std::string& section,
                         const std::string& otherSection,
                         const std::vector<std::pair<std::string, std::string>>& otherValues) {
  for (const auto& operation : env.settings.log()) {
    EXPECT_EQ(Lower(operation.application), "vorlane");
    EXPECT_EQ(Lower(operation.section), section) << operation.key;
  }
  for (const auto& [key, value] : otherValues)
    EXPECT_EQ(env.settings.Get("Vorlane", otherSection, key), value) << key;
}

// Starts the program: with `notice` it must show the first-run notice, once, and save
// `defaults` in `section`; without, no message at all.
template <typename Form>
void StartExpectingNotice(HeadlessEnvironment<RecordingFileSystem>& env, Form& form, bool notice,
                          const std::string& section,
                          const std::vector<std::pair<std::string, std::string>>& defaults) {
  if (notice) env.messageBox.Expect(platform::box::kOk);
  env.runtime.Run(form);
  ASSERT_EQ(
      env.messageBox.shown(),
      notice ? expected::Told(env.runtime.title(), expected::kFirstRunNotice) : expected::Boxes{});
  if (!notice) return;
  for (const auto& [key, value] : defaults)
    EXPECT_EQ(env.settings.Get("vorlane", section, key), value) << key;
}

// --- crosshairs ---------------------------------------------------------------------------------

struct CrosshairCase {
  const char* name;
  Stored cr;
  Stored rt;
  bool notice;         // the first-run notice, the defaults saved
  int crosshair;       // the button selected after start-up, 0 for none
  int reticle;         // likewise
  std::string source;  // the crosshair archive Apply copies from
  const char* answer;  // what Apply then says
};

void PrintTo(const CrosshairCase& c, std::ostream* out) {
  *out << c.name;
}

const std::vector<std::pair<std::string, std::string>> kVorlaneValues = {
    {"mode", "True"}, {"rtr", "sentinel"}, {"sw", "0"}};

class CrosshairsSettingsTest : public ::testing::TestWithParam<CrosshairCase> {
 protected:
  CrosshairsSettingsTest() {
    for (int k = 1; k <= crosshairs::kCrosshairCount; ++k)
      folder.Write("cr\\" + std::to_string(k) + "\\menu.rfa", "cr");
    for (int k = 1; k <= crosshairs::kReticleCount; ++k)
      folder.Write("rt\\" + std::to_string(k) + "\\game.rfa", "rt");
    folder.Write("archives\\menu.rfa", "old");
    folder.Write("archives\\bf1942\\game.rfa", "old");
    for (const auto& [key, value] : kVorlaneValues)
      env.settings.Save("Vorlane", "setting", key, value);
    if (GetParam().cr) env.settings.Save("Vorlane", "crosshair", "cr", *GetParam().cr);
    if (GetParam().rt) env.settings.Save("Vorlane", "crosshair", "rt", *GetParam().rt);
    env.settings.ClearLog();
  }

  int Selected(int count, platform::OptionButton& (crosshairs::Form1::*button)(int)) {
    int selected = 0;
    for (int k = 1; k <= count; ++k)
      if ((form.*button)(k).value()) selected = selected == 0 ? k : -1;  // -1: more than one
    return selected;
  }

  test_support::TempWorkingFolder folder;
  HeadlessEnvironment<RecordingFileSystem> env{"crosshairs"};
  crosshairs::Module1 module1{env.runtime};
  crosshairs::Form1 form{env.runtime, module1};
};

TEST_P(CrosshairsSettingsTest, StartsAppliesAndStaysInItsFolders) {
  const CrosshairCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(
      StartExpectingNotice(env, form, c.notice, "crosshair", {{"cr", "1"}, {"rt", "1"}}));
  EXPECT_EQ(Selected(crosshairs::kCrosshairCount, &crosshairs::Form1::CrosshairOption),
            c.crosshair);
  EXPECT_EQ(Selected(crosshairs::kReticleCount, &crosshairs::Form1::ReticleOption), c.reticle);

  env.messageBox.Expect(c.answer == std::string(expected::kExitQuestion) ? platform::box::kNo
                                                                         : platform::box::kOk);
  const std::size_t pathsAtStart = env.files.paths.size();
  env.ui.Click(form.Mapply);
  ASSERT_FALSE(env.messageBox.shown().empty());
  EXPECT_EQ(env.messageBox.shown().back().text, c.answer);
  ASSERT_GT(env.files.paths.size(), pathsAtStart);
  EXPECT_EQ(env.files.paths[pathsAtStart].substr(0, 100), c.source.substr(0, 100));
  EXPECT_FALSE(env.runtime.ended());

  ExpectOnlyBelow(env.files.paths, {"cr\\", "rt\\", "archives\\"});
  ExpectOnlyInSection(env, "crosshair", "setting", kVorlaneValues);
}

// A text taken as crosshair 7 and reticle 2, whose archives Apply copies.
CrosshairCase SevenAndTwo(const char* name, const Stored& cr, const Stored& rt) {
  return {name, cr, rt, false, 7, 2, "cr\\7\\menu.rfa", expected::kExitQuestion};
}
// A text that is no number: the notice and the defaults, as on a first run.
CrosshairCase Defaulted(const char* name, const Stored& cr, const Stored& rt) {
  return {name, cr, rt, true, 1, 1, "cr\\1\\menu.rfa", expected::kExitQuestion};
}
// A number that matches no button: nothing is selected and Apply uses the text as it is.
CrosshairCase Unmatched(const char* name, const std::string& cr, int reticle, const char* answer) {
  return {name, cr, std::to_string(reticle), false, 0, reticle, "cr\\" + cr + "\\menu.rfa", answer};
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CrosshairsSettingsTest,
    ::testing::Values(
        Defaulted("Absent", std::nullopt, std::nullopt), Defaulted("Empty", "", ""),
        Defaulted("OnlyReticleAbsent", "7", std::nullopt), SevenAndTwo("LeadingZeros", "07", "002"),
        SevenAndTwo("Spaces", " 7 ", "\t2"), SevenAndTwo("PlusSign", "+7", "+2"),
        SevenAndTwo("Fraction", "7.0", "2."), SevenAndTwo("Exponent", "7e0", "0.2E1"),
        SevenAndTwo("VeryLongNumber", kLongSeven, "2"),
        Unmatched("OutOfRange", "25", 3, expected::kMissingFolderMessage),
        Unmatched("Zero", "0", 2, expected::kMissingFolderMessage),
        Unmatched("MinusSign", "-7", 2, expected::kMissingFolderMessage),
        Unmatched("BrokenFraction", "7.5", 2, expected::kMissingFolderMessage),
        Unmatched("Overflow", "1e400", 2, expected::kMissingFolderMessage),
        // Too long a name for any file system: a failure, but not a missing folder.
        Unmatched("VeryLongOutOfRange", kLongNumber, 2, expected::kOtherFailureMessage),
        Defaulted("Letters", "seven", "2"), Defaulted("BadReticle", "7", "two"),
        Defaulted("ParentFolder", "..\\..\\..\\Windows", "2"),
        Defaulted("NumberThenParent", "7\\..\\..\\x", "2\\.."),
        Defaulted("DriveLetter", "C:\\Windows\\7", "2"), Defaulted("SlashPath", "/etc/passwd", "2"),
        Defaulted("FullWidthDigit", "\xef\xbc\x97", "2"), Defaulted("Latin1", "7\xe9", "\xb2"),
        Defaulted("VeryLongText", kLong, kLong), Defaulted("HexNumber", "0x7", "2"),
        Defaulted("Infinity", "inf", "2")),
    [](const auto& test) { return std::string(test.param.name); });

TEST(CrosshairsSettings, KeysStoredInOtherLetterCasesAreTheSameEntries) {
  test_support::TempWorkingFolder folder;
  test_support::Program<RecordingFileSystem, crosshairs::Module1, crosshairs::Form1> program(
      "crosshairs");
  program.env.settings.Save("VORLANE", "CrossHair", "Cr", "12");
  program.env.settings.Save("vorlane", "CROSSHAIR", "rT", "3");
  program.Start();

  EXPECT_TRUE(program.env.messageBox.shown().empty());
  EXPECT_TRUE(program.form.CrosshairOption(12).value());
  EXPECT_TRUE(program.form.ReticleOption(3).value());
}

// --- vorlane ------------------------------------------------------------------------------------

struct ModeCase {
  const char* name;
  Stored mode;
  Stored rtr;
  Stored sw;
  bool notice;       // the notice, and "False" saved for all three
  bool enableShown;  // Option2 selected after start-up (else Option1)
  bool rtrTicked;
  bool swTicked;
};

void PrintTo(const ModeCase& c, std::ostream* out) {
  *out << c.name;
}

const std::vector<std::pair<std::string, std::string>> kCrosshairValues = {{"cr", "7"},
                                                                           {"rt", "sentinel"}};

class VorlaneSettingsTest : public ::testing::TestWithParam<ModeCase> {
 protected:
  VorlaneSettingsTest() {
    vorlane::LayOutGameRoot(folder);
    for (const auto& [key, value] : kCrosshairValues)
      env.settings.Save("Vorlane", "crosshair", key, value);
    const ModeCase& c = GetParam();
    for (const auto& [key, value] : {std::pair{"mode", c.mode}, {"rtr", c.rtr}, {"sw", c.sw}})
      if (value) env.settings.Save("Vorlane", "setting", key, *value);
    env.settings.ClearLog();
  }

  test_support::TempWorkingFolder folder;
  HeadlessEnvironment<RecordingFileSystem> env{"vorlane"};
  vorlane::Module1 module1{env.runtime};
  vorlane::Form1 form{env.runtime, module1};
};

TEST_P(VorlaneSettingsTest, StartsSwitchesAndStaysInTheGamesModsFolders) {
  const ModeCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(StartExpectingNotice(
      env, form, c.notice, "setting", {{"mode", "False"}, {"rtr", "False"}, {"sw", "False"}}));
  EXPECT_EQ(form.Option2.value(), c.enableShown);
  EXPECT_EQ(form.Option1.value(), !c.enableShown);
  EXPECT_EQ(form.Check1.value() == platform::CheckBox::kChecked, c.rtrTicked);
  EXPECT_EQ(form.Check2.value() == platform::CheckBox::kChecked, c.swTicked);
  EXPECT_EQ(module1.Loading, "0");

  env.ui.Click(form.Option1);
  env.ui.Click(form.Option2);
  EXPECT_EQ(env.messageBox.shown().size(), c.notice ? 1u : 0u);
  EXPECT_EQ(vorlane::InstalledSets(folder),
            vorlane::Sets("Enable", c.rtrTicked ? "Enable" : "original",
                          c.swTicked ? "Enable" : "original"));
  EXPECT_EQ(env.settings.Get("vorlane", "setting", "mode"), "True");
  EXPECT_FALSE(env.runtime.ended());

  ExpectOnlyBelow(env.files.paths, vorlane::TableFolders());
  ExpectOnlyInSection(env, "setting", "crosshair", kCrosshairValues);
}

const std::string kLongTrue = std::string((64 << 10) - 1, '0') + "1";

INSTANTIATE_TEST_SUITE_P(
    Texts, VorlaneSettingsTest,
    ::testing::Values(
        ModeCase{"Absent", std::nullopt, std::nullopt, std::nullopt, true, false, false, false},
        ModeCase{"Empty", "", "", "", true, false, false, false},
        ModeCase{"LetterCases", "TRUE", "true", "tRuE", false, true, true, true},
        ModeCase{"FalseInCapitals", "FALSE", "false", "False", false, false, false, false},
        ModeCase{"Spaces", " True ", "\tTrue", "False ", false, true, true, false},
        ModeCase{"Numbers", "1", "-1", "0", false, true, true, false},
        ModeCase{"LeadingZeros", "007", "00", "01", false, true, false, true},
        ModeCase{"Signs", "+0", "-0", "+2", false, false, false, true},
        ModeCase{"Fractions", "0.0", "0.5", ".0", false, false, true, false},
        ModeCase{"Exponents", "0e5", "1E-3", "1e400", false, false, true, true},
        ModeCase{"VeryLongNumber", kLongTrue, "False", "False", false, true, false, false},
        // Anything else is a damaged entry: the notice, and all three back to "False". A
        // mode already shown stays shown (the conversion that failed came after it).
        ModeCase{"Words", "yes", "no", "on", true, false, false, false},
        ModeCase{"MissingExpansion", "True", std::nullopt, "True", true, true, false, false},
        ModeCase{"ParentFolder", "..\\..\\Windows", "True", "True", true, false, false, false},
        ModeCase{"DriveLetter", "C:\\", "True", "True", true, false, false, false},
        ModeCase{"NonAscii", "Tru\xc3\xa9", "\xef\xbc\x91", "\xff", true, false, false, false},
        ModeCase{"VeryLongText", kLong, kLong, kLong, true, false, false, false},
        ModeCase{"HexNumber", "&H1", "0x1", "True", true, false, false, false}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace faults
