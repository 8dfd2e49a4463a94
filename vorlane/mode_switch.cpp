#include "vorlane/mode_switch.h"

#include "platform/services/convert.h"
#include "platform/services/repair_message.h"

namespace vorlane {
namespace {

std::string Reason(int number) {
  switch (number) {
    case platform::error::kPathNotFound:
      return "a folder is missing";
    case platform::error::kFileNotFound:
      return "the file is missing";
    case platform::error::kPermissionDenied:
      return "the file is read-only, in use by another program, or a folder";
    case platform::error::kDiskFull:
      return "the disk is full";
    default:
      return "the file cannot be copied";
  }
}

}  // namespace

std::vector<std::string> ModeDestinations() {
  std::vector<std::string> destinations;
  for (const ModeCopy& row : kModeCopies) destinations.emplace_back(row.destination);
  return destinations;
}

std::vector<platform::CopyStep> ModeCopySteps(Mode mode, const std::string& useRtr,
                                              const std::string& useSw) {
  const bool rtr = platform::TextToBool(useRtr);
  const bool sw = platform::TextToBool(useSw);
  std::vector<platform::CopyStep> steps;
  for (const ModeCopy& row : kModeCopies) {
    const bool takesPart = row.gate == Gate::kAlways || (row.gate == Gate::kRtr && rtr) ||
                           (row.gate == Gate::kSw && sw);
    if (takesPart) steps.push_back({SourceFor(row, mode), row.destination});
  }
  return steps;
}

std::string SwitchFailedMessage(const platform::RuntimeError& error, Mode mode) {
  const std::string file = error.path().empty() ? std::string("A file") : error.path();
  // Each path on a line of its own, so that the box does not break it.
  std::string text =
      "The mode could not be switched.\n\n" + file + ": " + Reason(error.number()) + ".\n\n";
  const auto* partly = dynamic_cast<const platform::CopyPartlyUndone*>(&error);
  if (partly == nullptr) return text + "Nothing was changed.";
  text += std::string("These files could not be put back and hold the ") +
          (mode == Mode::kEnabled ? "Enable" : "Disable") + " set:\n";
  for (const auto& stillNew : partly->stillNew()) text += stillNew + "\n";
  return text +
         "\nThe other files and the saved mode are as they were. Switch again to make "
         "them agree.";
}

std::string StoppedSwitchMessage(const platform::RepairReport& report) {
  return platform::RepairMessage(report, {.program = "vorlane",
                                          .theChange = "A switch of the mode",
                                          .aChange = "a switch",
                                          .again = "Switch the mode again",
                                          .nextChange = "the next switch"});
}

}  // namespace vorlane
