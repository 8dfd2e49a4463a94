#include "platform/services/repair_message.h"

#include <vector>

namespace platform {
namespace {

// Each path on a line of its own, so that the box does not break it.
std::string Lines(const std::vector<std::string>& files) {
  std::string lines;
  for (const auto& file : files) lines += file + "\n";
  return lines;
}

}  // namespace

std::string RepairMessage(const RepairReport& report, const RepairWords& words) {
  std::vector<std::string> parts;
  if (!report.inUse.empty()) {
    parts.push_back(words.theChange +
                    " was stopped half-way, and these files could not be set right because "
                    "another program is using them:\n\n" +
                    Lines(report.inUse) + "\nEvery file is whole. " + words.program +
                    " tries again before " + words.nextChange + ", and when it next starts.");
  }
  if (!report.unsettled.empty()) {
    parts.push_back(words.theChange +
                    " was stopped half-way, and these files no longer hold what they held "
                    "before it, nor what it was writing:\n\n" +
                    Lines(report.unsettled) + "\n" + words.program + " changed nothing. " +
                    words.again + " to set them.");
  }
  if (!report.leftAlone.empty()) {
    parts.push_back(words.program + " found these files, named like the record it keeps of " +
                    words.aChange +
                    " while it works, but not written by it for this folder. It left them, and "
                    "every file they name, as they are:\n\n" +
                    Lines(report.leftAlone) +
                    "\nThey may belong to another game folder that shares these folders. If "
                    "not, you can delete them.");
  }
  std::string text;
  for (const auto& part : parts) text += (text.empty() ? "" : "\n\n") + part;
  return text;
}

}  // namespace platform
