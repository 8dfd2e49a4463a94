#pragma once
// What a program tells the player at its start of the switches it found stopped half-way and
// could not settle, and of the records it left alone: one message, in the program's own words.
#include <string>

#include "platform/services/file_copier.h"

namespace platform {

struct RepairWords {
  std::string program;     // "vorlane"
  std::string theChange;   // "A switch of the mode": what was stopped
  std::string aChange;     // "a switch": what a record is kept of
  std::string again;       // "Switch the mode again": what sets the files
  std::string nextChange;  // "the next switch"
};

// Empty when the report has nothing to tell.
std::string RepairMessage(const RepairReport& report, const RepairWords& words);

}  // namespace platform
