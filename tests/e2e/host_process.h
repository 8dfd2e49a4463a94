#pragma once
// The host's process beneath a program run under Wine: found by its name and working folder,
// and stopped and continued with the host's own signals, as a program that hangs would be.
#include <filesystem>
#include <optional>
#include <string>

namespace e2e {

// The host process id of the program `exeName` ("vorlane.exe") working in `workingFolder`;
// nothing where there is none (or no host's /proc to look in: not under Wine).
std::optional<int> HostProcessOf(const std::string& exeName,
                                 const std::filesystem::path& workingFolder);
// SIGSTOP and SIGCONT, sent by the host's shell; true once the process shows the new state.
bool StopHostProcess(int pid);
bool ContinueHostProcess(int pid);

}  // namespace e2e
