#include "tests/e2e/process.h"

#include <algorithm>

namespace e2e {

std::string ToWindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string result = "Z:" + path;
  std::replace(result.begin(), result.end(), '/', '\\');
  return result;
}

Program::~Program() {
  Kill();
}

bool Program::Start(const std::string& exe, const std::string& workingFolder, std::string& error) {
  Kill();
  std::string commandLine = "\"" + exe + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingFolder.c_str(), &startup, &info_)) {
    error = "CreateProcess(" + exe + ") in " + workingFolder + " failed with error " +
            std::to_string(GetLastError());
    info_ = {};
    return false;
  }
  return true;
}

bool Program::Running() const {
  return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Program::WaitForExit(DWORD timeoutMs) const {
  return info_.hProcess == nullptr ||
         WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

std::optional<DWORD> Program::ExitCode() const {
  DWORD code = 0;
  if (info_.hProcess == nullptr || Running() || !GetExitCodeProcess(info_.hProcess, &code))
    return std::nullopt;
  return code;
}

void Program::Kill() {
  if (info_.hProcess == nullptr) return;
  if (Running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 10000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
  info_ = {};
}

}  // namespace e2e
