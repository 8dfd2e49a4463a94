#pragma once
// The switch commands' copies: Enable puts the mod's Enable set of configuration files over the
// game's configuration files, Disable its Disable set; the expansions take part only when chosen.
#include <string>
#include <vector>

#include "platform/services/file_copier.h"
#include "platform/services/runtime_error.h"

namespace vorlane {

enum class Mode { kDisabled, kEnabled };

// Which choice lets a row of the copy table take part in a switch.
enum class Gate {
  kAlways,
  kRtr,  // UseRtr converts to True: the box "RTR", the first expansion
  kSw,   // UseSw converts to True: the box "SW", the second expansion
};

// A row of the copy table: the mod's prepared file for each mode, and the game's file it goes
// over. Paths are relative to the game's root folder.
struct ModeCopy {
  const char* enableSource;
  const char* disableSource;
  const char* destination;
  Gate gate;
};

// The copy table, in the order a switch copies: the base game's file, then each expansion's.
inline constexpr ModeCopy kModeCopies[] = {
    {"mods\\vl1942\\bfm.con", "mods\\vl1942\\bfp.con", "mods\\bf1942\\init.con", Gate::kAlways},
    {"mods\\vl1942\\x1m.con", "mods\\vl1942\\x1p.con", "mods\\xpack1\\init.con", Gate::kRtr},
    {"mods\\vl1942\\x2m.con", "mods\\vl1942\\x2p.con", "mods\\xpack2\\init.con", Gate::kSw},
};

// The mod's file of `mode` in `row`.
inline const char* SourceFor(const ModeCopy& row, Mode mode) {
  return mode == Mode::kEnabled ? row.enableSource : row.disableSource;
}

// Every file of the game a switch may write, in the table's order.
std::vector<std::string> ModeDestinations();

// The copies of a switch to `mode`: the rows of the copy table whose gate lets them, in order.
// A choice that does not convert raises error 13, before anything is copied.
std::vector<platform::CopyStep> ModeCopySteps(Mode mode, const std::string& useRtr,
                                              const std::string& useSw);

// What the user is told when a switch to `mode` could not be copied: the file at fault, why in
// plain words, and that nothing was changed, or else which files now hold the new mode.
std::string SwitchFailedMessage(const platform::RuntimeError& error, Mode mode);

// What the user is told at start of switches stopped half-way that could not be settled, and of
// records left alone; empty when there is nothing to tell.
std::string StoppedSwitchMessage(const platform::RepairReport& report);

}  // namespace vorlane
