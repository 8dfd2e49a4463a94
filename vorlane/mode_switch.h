#pragma once
// The switch commands' copies: Enable puts the mod's "m" set of configuration files over the
// game's init.con files, Disable its "p" set; the expansions take part only when chosen.
#include <string>
#include <vector>

#include "platform/services/file_copier.h"
#include "platform/services/runtime_error.h"

namespace vorlane {

enum class Mode { kDisabled, kEnabled };

// The game's configuration files a switch may write: the base game's, then each expansion's.
inline const std::vector<std::string> kModeDestinations{
    "mods\\bf1942\\init.con", "mods\\xpack1\\init.con", "mods\\xpack2\\init.con"};

// The copies of a switch to `mode`, in order: the base game always, then the first expansion
// when `useRtr` converts to True, then the second when `useSw` does. A value that does not
// convert raises error 13.
std::vector<platform::CopyStep> ModeCopySteps(Mode mode, const std::string& useRtr,
                                              const std::string& useSw);

// What the user is told when a switch to `mode` could not be copied: the file at fault, why in
// plain words, and that nothing was changed, or else which files now hold the new mode.
std::string SwitchFailedMessage(const platform::RuntimeError& error, Mode mode);

// What the user is told at start when a switch stopped half-way could not be undone: the files
// that another program holds.
std::string StoppedSwitchMessage(const std::vector<std::string>& stillNew);

}  // namespace vorlane
