#pragma once
// The texts the programs show the user, as the tests expect them: written here once, apart
// from the programs' own copies, so that a slip in either is caught.
#include <ostream>
#include <string>
#include <vector>

#include "platform/services/message_box.h"

namespace platform {
// How a failing comparison of message boxes prints one.
inline void PrintTo(const MessageBoxRequest& box, std::ostream* out) {
  *out << "{\"" << box.text << "\", " << box.flags << ", \"" << box.title << "\", \""
       << box.helpFile << "\", " << box.helpContext << '}';
}
}  // namespace platform

namespace expected {

// The message boxes a program showed, compared whole; the one box of a program titled `title`
// that tells `text` with an OK button.
using Boxes = std::vector<platform::MessageBoxRequest>;
inline Boxes Told(const std::string& title, const std::string& text) {
  return {{text, platform::box::kOkOnly, title}};
}

// Both programs, at a start whose stored choice does not convert.
inline constexpr char kFirstRunNotice[] =
    "We have a regestry issue tempting to fix it.  If this is your first time loading, then "
    "ignore this.";

// Both programs, started where a copy of theirs holds the folder but does not answer.
inline std::string HolderNotAnswering(const std::string& program) {
  return program + " is already running in this folder, but it does not answer.\n\n" +
         "Wait a moment and start " + program + " again. If it still does not answer, end " +
         program + " in Task Manager, then start it again.";
}

// crosshairs' Apply: the question once both copies are made, and the two failures.
inline constexpr char kExitQuestion[] = "Settings saved.  Do you want to exit?";
inline constexpr char kExitQuestionTitle[] = "Saving settings...";
inline const platform::MessageBoxRequest kExitQuestionBox{kExitQuestion, 292, kExitQuestionTitle,
                                                          "DEMO.HLP", 1000};
inline constexpr char kMissingFolderMessage[] =
    "It seems I can't find my files.  Please make sure my \"CR\" and \"RT\" directory is in the "
    "vl1942_FX1.";
inline constexpr char kOtherFailureMessage[] =
    "we have a problem cant find your VL files so make sure you have me in the right directory.";

// vorlane: a switch that could not be made, the file at fault and why.
inline constexpr char kMissingFolderReason[] = "a folder is missing";
inline constexpr char kMissingFileReason[] = "the file is missing";
inline constexpr char kReadOnlyReason[] =
    "the file is read-only, in use by another program, or a folder";
inline constexpr char kCannotCopyReason[] = "the file cannot be copied";
inline constexpr char kDiskFullReason[] = "the disk is full";
inline constexpr char kNothingChanged[] = "Nothing was changed.";
inline std::string SwitchFailed(const std::string& file, const std::string& reason) {
  return "The mode could not be switched.\n\n" + file + ": " + reason + ".\n\n" + kNothingChanged;
}

}  // namespace expected
