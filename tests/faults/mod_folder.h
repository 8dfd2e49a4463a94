#pragma once
// What the fault tests share on every system: the mod folder of an Apply of crosshair 7 and
// reticle 2, large files written and compared in chunks, and a copy of one ended half-way.
#include <cstddef>
#include <functional>
#include <string>

#include "platform/headless/memory_settings_store.h"
#include "platform/services/file_system.h"
#include "tests/support/program.h"
#include "tests/support/temp_folder.h"

namespace faults {

using test_support::Program;

// The mod folder before crosshair 7 and reticle 2 are applied, and what crosshairs stored for
// them: new archives to copy, old ones in their place.
platform::headless::MemorySettingsStore LayOutMod(const test_support::WorkingFolderFiles& files,
                                                  const std::string& newMenu = "new menu");
// The mod's archives are their old selves, with nothing beside them.
void ExpectOldArchives(const test_support::WorkingFolderFiles& files);
// A copy of crosshair 7's archive, through `files`, onto an archives folder too small for it
// raises 61 and leaves the archives as they were.
void ExpectCopyOntoAFullDiskFails(platform::FileSystem& files,
                                  const test_support::WorkingFolderFiles& folder);

// Writes `size` bytes of a pattern that differs from offset to offset and from seed to seed.
void WritePattern(const std::string& path, std::size_t size, unsigned seed);
// True if both files exist and hold the same bytes.
bool SameBytes(const std::string& a, const std::string& b);

// A copy to end half-way: LayOutLargeCopy lays out a crosshair archive of 256 MB to copy over
// the mod's of 3 MB; CopyLargeArchive makes the copy in the process to end (its exit code);
// EndHalfWay calls `end` (whether that ended it) once the copy's file beside the archive has
// grown past a first part, while `running`, and says whether the copy was ended half-way.
void LayOutLargeCopy();
int CopyLargeArchive(platform::FileSystem& files) noexcept;
bool EndHalfWay(const std::function<bool()>& running, const std::function<bool()>& end);
// After the copy of `process` was ended: the archive is its whole old or new self, beside it
// only that copy's own unfinished file, which the next copy through `files` clears away.
void ExpectEndedCopyHarmless(unsigned long process, platform::FileSystem& files);

}  // namespace faults
