// Copies cut short because the program was killed in the middle of them: every destination is
// still whole, the next start puts a switch's files and its saved mode back together, and
// nothing of the program's own is left beside them.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "crosshairs/form1.h"
#include "crosshairs/module1.h"
#include "platform/headless/posix_file_system.h"
#include "platform/services/copy_record.h"
#include "platform/services/staged_file_name.h"
#include "tests/faults/mod_folder.h"
#include "tests/faults/recording_file_system.h"
#include "tests/support/expected_texts.h"
#include "tests/support/program.h"
#include "tests/support/temp_folder.h"
#include "tests/vorlane/game_root.h"
#include "vorlane/form1.h"
#include "vorlane/module1.h"

namespace faults {
namespace {

using platform::headless::MemorySettingsStore;
using test_support::Snapshot;

TEST(InterruptedCopy, KilledHalfWayTheDestinationStaysWholeAndTheNextCopyWorks) {
  test_support::TempWorkingFolder folder;
  LayOutLargeCopy();
  platform::headless::PosixFileSystem files;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(CopyLargeArchive(files));
  int status = 0;
  ASSERT_TRUE(EndHalfWay([&] { return ::waitpid(child, &status, WNOHANG) != child; },
                         [&] {
                           ::kill(child, SIGKILL);
                           return ::waitpid(child, &status, 0) == child && WIFSIGNALED(status);
                         }))
      << "the copy was not caught half-way";
  ExpectEndedCopyHarmless(static_cast<unsigned long>(child), files);
}

// How a program is stopped: killed, on a disk with links and a journal (NTFS), or by a power
// cut, on one without (FAT32, exFAT), which loses the renames and removals not yet on it.
enum class Stop { kKill, kPowerCut };

// A program run on the working folder, with the settings a previous run left, stopped dead at
// its `stopAt`th change of a file or a setting (0: never).
template <typename Module, typename Window>
struct ProgramRun : test_support::Program<RecordingFileSystem, Module, Window> {
  using test_support::Program<RecordingFileSystem, Module, Window>::env;
  ProgramRun(const char* title, const MemorySettingsStore& saved, Stop how, int stopAt)
      : test_support::Program<RecordingFileSystem, Module, Window>(title, saved), stop(how) {
    env.settings.MarkDurable();
    env.settings.beforeWrite = [this] { env.files.Change(); };
    env.files.withoutJournal = stop == Stop::kPowerCut;
    env.files.stopAt = stopAt;
  }
  // Starts the program and runs `act` on it; false once it got to its end. `saved` takes what
  // is stored then.
  template <typename Act>
  bool Stops(Act act, MemorySettingsStore& saved) {
    bool stopped = false;
    try {
      this->Start();
      act(*this);
    } catch (const Stopped&) {
      stopped = true;
    }
    stopped = stopped || env.files.stopped();
    if (stopped && stop == Stop::kPowerCut) {
      env.files.LoseUnflushed();
      env.settings.LoseUnflushed();
    }
    saved = env.settings;
    saved.beforeWrite = nullptr;
    return stopped;
  }

  Stop stop;
};

using VorlaneRun = ProgramRun<vorlane::Module1, vorlane::Form1>;
using CrosshairsRun = ProgramRun<crosshairs::Module1, crosshairs::Form1>;

// Stops `act` on a started program at each of its changes in turn, killed and by a power cut,
// then the next start's settling of it at each of its own changes, and checks after a last
// start that `agree` holds (given what was stored when `act` stopped), that nothing else is
// left in the folder and nobody was told anything. `layOut` makes the folder and returns what
// is stored. The number of changes `act` makes.
template <typename Run, typename LayOut, typename Act, typename Agree>
int StoppedAtEveryChange(const char* title, LayOut layOut, Act act, Agree agree) {
  int changes = 0;
  for (const Stop stop : {Stop::kKill, Stop::kPowerCut}) {
    for (int step = 1;; ++step) {
      bool stopped = false;
      for (int settleStep = 0;; ++settleStep) {  // 0: settled to its end
        test_support::TempWorkingFolder folder;
        MemorySettingsStore saved = layOut(folder);
        const auto files = folder.AllFiles();
        stopped = Run(title, saved, stop, step).Stops(act, saved);
        if (!stopped) break;
        const MemorySettingsStore stoppedWith = saved;
        bool settlingStopped = false;
        bool settlingTold = false;
        {  // gone, as a stopped program is, before the last start
          Run settling(title, saved, stop, settleStep);
          settlingStopped = settling.Stops([](Run&) {}, saved);
          settlingTold = !settling.env.messageBox.shown().empty();
        }
        Run last(title, saved, stop, 0);
        last.Start();
        const std::string where = std::string(stop == Stop::kKill ? "killed" : "power cut") +
                                  " at " + std::to_string(step) + ", settling stopped at " +
                                  std::to_string(settleStep);
        agree(folder, last, stoppedWith, where);
        EXPECT_EQ(folder.AllFiles(), files) << where;
        EXPECT_FALSE(settlingTold) << where;
        EXPECT_TRUE(last.env.messageBox.shown().empty()) << where;
        if (settleStep > 0 && !settlingStopped) break;
      }
      if (!stopped) {
        EXPECT_TRUE(changes == 0 || changes == step - 1) << "a power cut changes the steps";
        changes = step - 1;
        break;
      }
    }
  }
  return changes;
}

// Enable, then Disable, over a game whose files hold the Disable set: the files hold the set of
// the saved mode. The second switch puts the folders of the first on the disk again, so that a
// rename of the first not written by then would show.
TEST(StoppedSwitch, AtEveryChangeTheNextStartHasTheSetOfTheSavedModeAndNothingElse) {
  const int changes = StoppedAtEveryChange<VorlaneRun>(
      "vorlane",
      [](const test_support::TempWorkingFolder& folder) {
        vorlane::LayOutGameRoot(folder);
        for (const vorlane::ModeCopy& row : vorlane::kModeCopies)
          folder.Write(row.destination, vorlane::PreparedContents(row.disableSource));
        return vorlane::Choices("False", "True", "True");
      },
      [](VorlaneRun& run) {
        run.env.ui.Click(run.form.Option2);
        run.env.ui.Click(run.form.Option1);
      },
      [](const test_support::TempWorkingFolder& folder, VorlaneRun& last,
         MemorySettingsStore stoppedWith, const std::string& where) {
        // A switch stands once its mode is saved: then the next start finishes it.
        const std::string mode = last.env.settings.Get("vorlane", "setting", "mode");
        EXPECT_EQ(mode, stoppedWith.Get("vorlane", "setting", "mode")) << where;
        const bool enabled = mode == "True";
        for (const vorlane::ModeCopy& row : vorlane::kModeCopies) {
          EXPECT_EQ(folder.Read(row.destination),
                    vorlane::PreparedContents(vorlane::SourceFor(
                        row, enabled ? vorlane::Mode::kEnabled : vorlane::Mode::kDisabled)))
              << where;
        }
        EXPECT_EQ(last.form.Option2.value(), enabled) << where;
      });
  // Twice, for each file: staged, kept aside, replaced, its old contents removed; the record
  // written and removed; the three choices saved and flushed.
  EXPECT_EQ(changes, 2 * (4 * static_cast<int>(std::size(vorlane::kModeCopies)) + 6));
}

// Apply crosshair 12 with reticle 3, then 7 with 1, over 5 and 2: the archives hold what the
// saved choice names, never one archive of one choice and one of another.
TEST(StoppedApply, AtEveryChangeTheNextStartHasTheChoiceItSavedInBothArchivesAndNothingElse) {
  const int changes = StoppedAtEveryChange<CrosshairsRun>(
      "crosshairs",
      [](const test_support::TempWorkingFolder& folder) {
        for (const char* n : {"5", "12", "7"})
          folder.Write(std::string("cr\\") + n + "\\menu.rfa", n);
        for (const char* n : {"2", "3", "1"})
          folder.Write(std::string("rt\\") + n + "\\game.rfa", n);
        folder.Write(crosshairs::kCrosshairArchive, "5");
        folder.Write(crosshairs::kReticleArchive, "2");
        MemorySettingsStore saved;
        saved.Save("Vorlane", "crosshair", "cr", "5");
        saved.Save("Vorlane", "crosshair", "rt", "2");
        return saved;
      },
      [](CrosshairsRun& run) {
        for (auto [crosshair, reticle] : {std::pair(12, 3), std::pair(7, 1)}) {
          run.env.ui.Click(run.form.CrosshairOption(crosshair));
          run.env.ui.Click(run.form.ReticleOption(reticle));
          run.env.messageBox.Expect(platform::box::kNo);
          run.env.ui.Click(run.form.Mapply);
        }
      },
      [](const test_support::TempWorkingFolder& folder, CrosshairsRun& last,
         MemorySettingsStore stoppedWith, const std::string& where) {
        const auto choiceIn = [](MemorySettingsStore& store) {
          return store.Get("vorlane", "crosshair", "cr") + "/" +
                 store.Get("vorlane", "crosshair", "rt");
        };
        const std::vector<std::string> choices{"5/2", "12/3", "7/1"};
        const std::string choice = choiceIn(last.env.settings);
        const auto isChoice = [&](const std::string& text) {
          return std::find(choices.begin(), choices.end(), text) != choices.end();
        };
        EXPECT_TRUE(isChoice(choice)) << where << ": " << choice;
        // An Apply stands once its choice is saved whole: then the next start finishes it.
        if (isChoice(choiceIn(stoppedWith))) {
          EXPECT_EQ(choice, choiceIn(stoppedWith)) << where;
        }
        EXPECT_EQ(folder.Read(crosshairs::kCrosshairArchive) + "/" +
                      folder.Read(crosshairs::kReticleArchive),
                  choice)
            << where;
      });
  // Twice, for each archive: staged, kept aside, replaced, its old contents removed; the record
  // written and removed; the two choices saved and flushed.
  EXPECT_EQ(changes, 2 * (4 * 2 + 5));
}

// --- records the program did not write --------------------------------------------------------

// A game root in a folder of its own, with a file of the player's beside it, outside it.
struct PlantedRecordTest : ::testing::Test {
  PlantedRecordTest() {
    std::filesystem::create_directory("game");
    std::filesystem::current_path("game");
    vorlane::LayOutGameRoot(folder);
    folder.Write("..\\victim.txt", "the player's own");
    identity = platform::headless::PosixFileSystem().FolderIdentity();
  }
  // Starts vorlane: what it told.
  expected::Boxes Start() {
    VorlaneRun run("vorlane", saved, Stop::kKill, 0);
    run.env.messageBox.Expect(platform::box::kOk);
    run.Start();
    return run.env.messageBox.shown();
  }

  test_support::TempWorkingFolder folder;
  MemorySettingsStore saved = vorlane::Choices("False", "True", "True");
  const std::string first = vorlane::kModeCopies[0].destination;
  const std::string record = platform::RecordFileName(first, 1, 0);
  std::string identity;  // the game root's
};

// Records that name files outside the program's own, or that it did not write for this folder,
// are left as they are, with every file they name, and the player is told of them once.
TEST_F(PlantedRecordTest, NamingOtherFilesOrNotWrittenHereTheyAreLeftAloneAndToldOf) {
  const std::string victim =
      (std::filesystem::current_path().parent_path() / "victim.txt").string();
  // Each name's contents told as the player's file's, so that a program that took the record at
  // its word would move or remove that file.
  const auto facts = *platform::headless::PosixFileSystem().Facts(victim);
  const platform::Fingerprint victims{facts.size, facts.identity, {}};
  const auto copy = [&](std::string destination, std::string staged, std::string kept) {
    return platform::RecordedCopy{std::move(destination), std::move(staged), victims,
                                  std::move(kept), victims};
  };
  const auto planted = [&](std::string folderIdentity, platform::RecordedCopy named) {
    return platform::FormatCopyRecord({std::move(folderIdentity), "False", "True", {named}});
  };
  const std::string staged = platform::StagedFileName(first, 1, 1);
  const std::string kept = platform::StagedFileName(first, 1, 2);
  folder.Write(kept, "what the record would put back");
  const std::string whole = planted(identity, copy(first, staged, kept));
  const std::pair<const char*, std::string> cases[] = {
      {"a relative destination outside", planted(identity, copy("..\\victim.txt", staged, ""))},
      {"an absolute destination", planted(identity, copy(victim, victim + ".~vl1-1.tmp", ""))},
      {"a kept-aside name outside", planted(identity, copy(first, staged, "..\\victim.txt"))},
      {"an absolute kept-aside name", planted(identity, copy(first, staged, victim))},
      {"a staged name outside", planted(identity, copy(first, victim, kept))},
      {"a kept-aside name of another file",
       planted(identity,
               copy(first, staged,
                    platform::StagedFileName(vorlane::kModeCopies[1].destination, 1, 2)))},
      {"another folder's record", planted("another folder", copy(first, staged, kept))},
      {"an earlier version",
       "vl copies 1\nnote False\ncopy ..\\victim.txt\t" + staged + "\t\nend\n"},
      {"a later version", "vl copies 3" + whole.substr(whole.find('\n'))},
      {"garbage", std::string("\177ELF\0\1\2", 7)},
  };
  for (const auto& [name, text] : cases) {
    folder.Write(record, text);  // beside vorlane's first destination
    const auto before = Snapshot("..");
    EXPECT_EQ(Start(),
              expected::Told("vorlane", vorlane::StoppedSwitchMessage(
                                            platform::RepairReport{.leftAlone = {record}})))
        << name;
    EXPECT_EQ(Snapshot(".."), before) << name;
  }
}

// A record of the program's own cut short while it was written, at any byte, was written before
// anything was replaced: the next start removes it and what its switch staged, and changes
// nothing else.
TEST_F(PlantedRecordTest, OneOfOurOwnCutShortAtAnyByteChangesNothing) {
  const auto oldFiles = Snapshot(".");
  std::string path;
  std::string text;
  {
    // A switch killed at its first replacement: its files are staged and kept aside, its record
    // whole, nothing replaced.
    VorlaneRun stopped("vorlane", saved, Stop::kKill, 2 * std::size(vorlane::kModeCopies) + 2);
    ASSERT_TRUE(stopped.Stops([](VorlaneRun& run) { run.env.ui.Click(run.form.Option2); }, saved));
    path = platform::RecordFileName(first, stopped.env.files.ProcessId(), 0);
    text = *stopped.env.files.ReadAll(path);
  }
  ASSERT_EQ(platform::ParseCopyRecord(text).text, platform::RecordText::kWhole) << text;
  const auto stoppedFiles = Snapshot(".");
  for (std::size_t cut = 0; cut < text.size(); ++cut) {
    for (const auto& [name, contents] : stoppedFiles) {
      if (!name.ends_with('/')) folder.Write(name, contents);
    }
    folder.Write(path, text.substr(0, cut));
    EXPECT_TRUE(Start().empty()) << "cut at " << cut;
    EXPECT_EQ(Snapshot("."), oldFiles) << "cut at " << cut;
  }
}

}  // namespace
}  // namespace faults
