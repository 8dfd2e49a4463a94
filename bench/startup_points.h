#pragma once
// The points of one start that the benchmark's timed builds note, the programs' (startup_times.*)
// and their same-window floors' alike, and the one line each start appends to the file named by
// the environment variable VL_STARTUP_TIMES, if set:
//
//   startup-times PROGRAM.exe process MS libraries MS model MS pictures MS creation MS load MS
//       showing MS paint MS total MS
//
// process: from process creation (by the system, with every DLL the program imports) to its
// static objects, before WinMain; libraries: from there to the system libraries started and the
// window classes registered (for the programs, the backend constructed: also the settings store
// and the hidden owner window); model: from there to the start window's creation (the programs'
// controls and image lists), with pictures the part of it spent decoding pictures; creation: its
// window and child windows; load: the programs' load handler (the floors: what vorlane's does
// there, showing the window and adding its icon); showing: showing it after the load; paint:
// painting until the message queue is empty; total: process creation to then.
namespace bench {

// Milliseconds since the process was created.
double SinceProcessCreation();

// Each a time since the process was created, but `decoding`, which is a duration.
struct StartupPoints {
  double ready = 0;  // the libraries started
  double decoding = 0;
  double creationStart = 0;
  double creationEnd = 0;
  double loadEnd = 0;
  double showStart = 0;
  double showEnd = 0;
  double idle = 0;
};

// Where VL_STARTUP_TIMES names a file: dispatches everything the start left in the thread's
// queue, painting included (a quit message is posted again for the loop that follows), notes the
// time as `idle` and appends the line. Else it does nothing, so that an untimed start runs as
// it would without it.
void ReportWhenIdle(StartupPoints& points);

}  // namespace bench
