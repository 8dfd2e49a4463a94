#pragma once
// Starting a program under test in a given working folder, watching it and ending it.
#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

// "/work/x/y.exe" becomes "Z:\work\x\y.exe" (where Wine maps the host's root); Windows paths
// are returned unchanged.
std::string ToWindowsPath(const std::string& path);

class Program {
 public:
  Program() = default;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  // A program still running when its handle goes away is killed.
  ~Program();

  // Starts `exe` with no arguments in `workingFolder`; false (with the reason in `error`) if
  // it could not be started. Kills the program started before, if any.
  bool Start(const std::string& exe, const std::string& workingFolder, std::string& error);
  bool Running() const;
  // Waits for the program to end by itself.
  bool WaitForExit(DWORD timeoutMs) const;
  // Ends the program if it still runs and waits for it to be gone.
  void Kill();
  // What the program returned, once it has ended.
  std::optional<DWORD> ExitCode() const;
  DWORD id() const { return info_.dwProcessId; }
  HANDLE handle() const { return info_.hProcess; }

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace e2e
