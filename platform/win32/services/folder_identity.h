#pragma once
// What tells a folder from every other folder, however its path is spelled: the serial number of
// its volume and its file index, which a link, a junction, a substituted drive, a short name and
// any letter case all lead to alike. Where the system keeps no index (some network shares), the
// folder's full long path in capitals stands in.
#include <string>

namespace platform::win32 {

// The identity of the working folder: "<volume serial>-<file index>" in hexadecimal, or "path:"
// followed by the full path in capitals as UTF-8; empty when the folder cannot be opened.
std::string WorkingFolderIdentity();

}  // namespace platform::win32
