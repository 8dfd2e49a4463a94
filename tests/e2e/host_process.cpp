#include "tests/e2e/host_process.h"

#include <windows.h>

#include <fstream>
#include <utility>

#include "tests/e2e/wait.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

// Wine shows the host's root as drive Z:.
const fs::path kHostProcesses = "Z:\\proc";

// A folder's file index: the same by whichever path (a link in /proc included) it is reached.
std::optional<std::pair<DWORD, DWORD>> FolderIndex(const fs::path& folder) {
  HANDLE handle = CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION information{};
  const BOOL known = GetFileInformationByHandle(handle, &information);
  CloseHandle(handle);
  if (!known) return std::nullopt;
  return std::pair{information.nFileIndexHigh, information.nFileIndexLow};
}

std::string FirstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

// The state letter in /proc/PID/stat, after the name in parentheses: 'T' while stopped.
char StateOf(int pid) {
  const std::string stat = FirstLine(kHostProcesses / std::to_string(pid) / "stat");
  const auto nameEnd = stat.rfind(')');
  return nameEnd == std::string::npos || nameEnd + 2 >= stat.size() ? '?' : stat[nameEnd + 2];
}

// Wine starts a host program like a Windows one, but its end cannot be waited for: the caller
// watches for what it does instead.
bool RunHostShell(const std::string& command) {
  std::string commandLine = "sh -c \"" + command + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA("Z:\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &started))
    return false;
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

}  // namespace

std::optional<int> HostProcessOf(const std::string& exeName, const fs::path& workingFolder) {
  const auto folder = FolderIndex(workingFolder);
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(kHostProcesses, error)) {
    // The host names a Wine process after its exe, at most 15 characters of it; /proc's other
    // entries have no such name, but for "self", the driver.
    if (FirstLine(entry.path() / "comm") != exeName.substr(0, 15)) continue;
    if (folder && FolderIndex(entry.path() / "cwd") == folder)
      return std::stoi(entry.path().filename().string());
  }
  return std::nullopt;
}

bool StopHostProcess(int pid) {
  return RunHostShell("kill -STOP " + std::to_string(pid)) &&
         WaitUntil([pid] { return StateOf(pid) == 'T'; });
}

bool ContinueHostProcess(int pid) {
  return RunHostShell("kill -CONT " + std::to_string(pid)) &&
         WaitUntil([pid] { return StateOf(pid) != 'T'; });
}

}  // namespace e2e
