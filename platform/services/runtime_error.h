#pragma once
// Errors of the application runtime: numbered as the classic runtime numbers them, so that
// programs can tell "path not found" (76) from "type mismatch" (13) and so on.
//
// A failure travels one of three ways, by who meets it:
// - A RuntimeError (below), raised by the services (files, settings, conversions, pictures) and
//   the control layer: a program's error trap catches it (error_trap.h); one that leaves an
//   event handler is reported by the runtime's event boundary (runtime.h), which ends the program.
// - A text flag of the program's own ("1" in crosshairs' InstallFailed, vorlane's Loading):
//   how one procedure of a program tells another what happened, as the programs' design asks.
// - A std::runtime_error from the Windows backend, for the system refusing what no program can
//   answer (a window that cannot be created): it passes every trap, and the backend's last
//   boundary around the system's callbacks reports it and ends the process (event_boundary.h).
// Ending the program (EndProgram) is no failure and travels like an exception of its own.
#include <stdexcept>
#include <string>

namespace platform {

namespace error {
constexpr int kInvalidCall = 5;           // invalid procedure call or argument
constexpr int kTypeMismatch = 13;         // text that does not convert
constexpr int kFileNotFound = 53;         // source file missing from an existing folder
constexpr int kDiskFull = 61;             // no room to write the copy
constexpr int kPermissionDenied = 70;     // destination read-only, in use, or a folder
constexpr int kPathFileAccess = 75;       // any other failure of a file operation
constexpr int kPathNotFound = 76;         // a folder on the path is missing
constexpr int kInvalidPicture = 481;      // bytes that decode as no picture
constexpr int kIndexOutOfBounds = 35600;  // image list read past its end
}  // namespace error

// The runtime's standard description of an error number ("Type mismatch", ...).
std::string ErrorDescription(int number);

// A runtime error: what an error trap catches. `path` names the file at fault, when there is one.
class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(int number, std::string path = {});
  int number() const { return number_; }
  const std::string& path() const { return path_; }

 private:
  int number_;
  std::string path_;
};

// Ending the program: not an error, so no trap can catch it. Deliberately not derived from
// std::exception; only the event boundary handles it.
struct EndProgram {};

}  // namespace platform
