// Starts the programs as a user would and measures them from outside, under Wine or Windows:
//
//   bench_launcher startup RUNS TITLE EXE FOLDER [TITLE EXE FOLDER]...
//     Starts each program RUNS + 1 times, in turns, and prints for each start
//     "startup EXE_FILE_NAME RUN MILLISECONDS PEAK_WORKING_SET_BYTES": the time from
//     CreateProcess to its window TITLE shown and answering, and its peak working set at that
//     point; a floor and its program show the same title, their file names tell them apart.
//     Run 0 only warms the system up (Wine starts its desktop with the first window) and is not
//     to count. Every other run starts them in the opposite order, so that of two programs
//     named one after the other neither always comes first.
//   bench_launcher clicks CLICKS TITLE EXE FOLDER
//     Starts the program, clicks its option buttons CLICKS times in turn and prints
//     "clicks TITLE CLICKS PEAK_WORKING_SET_BYTES WORKING_SET_BYTES".
//   bench_launcher same-window TITLE FOLDER FLOOR_EXE FLOOR_BMP PROGRAM_EXE PROGRAM_BMP
//     Starts the floor, then the program, each until its window TITLE is shown and answering,
//     saves the inner area of each window as shown on screen to its BMP file, and prints
//     "same-window TITLE same" with exit status 0 if the two are the same pixel for pixel,
//     else what differs with exit status 3.
//
// All first store the settings of a returning user, so that no first-run notice appears.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "crosshairs/preview_lists.h"
#include "tests/e2e/capture.h"

namespace {

constexpr DWORD kStartTimeoutMs = 60000;
constexpr UINT kAnswerTimeoutMs = 10000;

[[noreturn]] void Die(const std::string& what) {
  std::fprintf(stderr, "bench_launcher: %s (error %lu)\n", what.c_str(), GetLastError());
  std::exit(1);
}

void StoreSetting(const char* section, const char* key, const char* value) {
  const std::string path =
      std::string("Software\\VB and VBA Program Settings\\Vorlane\\") + section;
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &handle, nullptr) != ERROR_SUCCESS)
    Die("cannot create " + path);
  RegSetValueExA(handle, key, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                 static_cast<DWORD>(std::string(value).size() + 1));
  RegCloseKey(handle);
}

void StoreReturningUser() {
  StoreSetting("crosshair", "cr", "7");
  StoreSetting("crosshair", "rt", "2");
  for (const char* key : {"mode", "rtr", "sw"}) StoreSetting("setting", key, "False");
}

double Now() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / ticksPerMs;
}

std::string TextOf(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

struct Search {
  DWORD pid;
  const std::string* title;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid || !IsWindowVisible(window) || TextOf(window) != *search->title)
    return TRUE;
  search->found = window;
  return FALSE;
}

bool Answers(HWND window, UINT message = WM_NULL, WPARAM wParam = 0, DWORD_PTR* result = nullptr) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutA(window, message, wParam, 0, SMTO_NORMAL, kAnswerTimeoutMs,
                             result ? result : &ignored) != 0;
}

class Program {
 public:
  Program(const std::string& exe, const std::string& folder) {
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startedAt_ = Now();
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info_))
      Die("cannot start " + exe + " in " + folder);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program() {
    if (window_ != nullptr) PostMessageA(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info_.hProcess, 10000) != WAIT_OBJECT_0) {
      TerminateProcess(info_.hProcess, 1);
      WaitForSingleObject(info_.hProcess, 10000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }

  // Waits until the window is shown and its thread answers; returns the milliseconds since the
  // program was started.
  double WaitForWindow(const std::string& title) {
    WaitForInputIdle(info_.hProcess, kStartTimeoutMs);
    Search search{info_.dwProcessId, &title, nullptr};
    const double deadline = Now() + kStartTimeoutMs;
    while (EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search)), !search.found) {
      if (Now() > deadline) Die("no window \"" + title + "\" appeared");
      Sleep(1);
    }
    if (!Answers(search.found)) Die("window \"" + title + "\" does not answer");
    window_ = search.found;
    return Now() - startedAt_;
  }

  PROCESS_MEMORY_COUNTERS Memory() const {
    HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, info_.dwProcessId);
    if (process == nullptr) Die("cannot open the program's process");
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) Die("no memory counters");
    CloseHandle(process);
    return counters;
  }

  HWND window() const { return window_; }

 private:
  PROCESS_INFORMATION info_{};
  HWND window_ = nullptr;
  double startedAt_ = 0;
};

struct Named {
  std::string text;
  HWND found = nullptr;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM context) {
  const std::string text = TextOf(window);
  for (auto& wanted : *reinterpret_cast<std::vector<Named>*>(context))
    if (wanted.text == text && wanted.found == nullptr) wanted.found = window;
  return TRUE;
}

// Clicks every crosshair and reticle button in turn. Each click is posted, as a user's is,
// and waited for: it has been handled once the button reads as checked.
void ClickOptions(HWND window, int clicks) {
  std::vector<Named> buttons;
  for (int k = 1; k <= crosshairs::kCrosshairCount; ++k)
    buttons.push_back({"Option" + std::to_string(k)});
  for (int k = 1; k <= crosshairs::kReticleCount; ++k)
    buttons.push_back({"rt" + std::to_string(k)});
  EnumChildWindows(window, MatchChild, reinterpret_cast<LPARAM>(&buttons));
  for (const auto& button : buttons)
    if (button.found == nullptr) Die("no button \"" + button.text + "\"");

  for (int i = 0; i < clicks; ++i) {
    HWND button = buttons[static_cast<std::size_t>(i) % buttons.size()].found;
    PostMessageA(button, BM_CLICK, 0, 0);
    const double deadline = Now() + kAnswerTimeoutMs;
    for (DWORD_PTR state = 0; state != BST_CHECKED;) {
      if (!Answers(button, BM_GETCHECK, 0, &state) || Now() > deadline)
        Die("a click was not handled");
    }
  }
  Answers(window);
}

int Startup(int runs, char** programs, int count) {
  const int programCount = count / 3;
  for (int run = 0; run <= runs; ++run) {
    for (int i = 0; i < programCount; ++i) {
      const int p = 3 * (run % 2 == 0 ? i : programCount - 1 - i);
      const std::string title = programs[p];
      const std::string exe = programs[p + 1];
      Program program(exe, programs[p + 2]);
      const double ms = program.WaitForWindow(title);
      const auto memory = program.Memory();
      const std::string fileName = exe.substr(exe.find_last_of("\\/") + 1);
      std::printf("startup %s %d %.2f %lu\n", fileName.c_str(), run, ms,
                  static_cast<unsigned long>(memory.PeakWorkingSetSize));
      std::fflush(stdout);
    }
  }
  return 0;
}

int Clicks(int clicks, const std::string& title, const std::string& exe,
           const std::string& folder) {
  Program program(exe, folder);
  program.WaitForWindow(title);
  ClickOptions(program.window(), clicks);
  const auto memory = program.Memory();
  std::printf("clicks %s %d %lu %lu\n", title.c_str(), clicks,
              static_cast<unsigned long>(memory.PeakWorkingSetSize),
              static_cast<unsigned long>(memory.WorkingSetSize));
  return 0;
}

// The inner area of the program's window as it shows it at its start.
e2e::Image CaptureAtStart(const std::string& title, const std::string& exe,
                          const std::string& folder) {
  Program program(exe, folder);
  program.WaitForWindow(title);
  std::optional<e2e::Image> image = e2e::CaptureWindow(program.window());
  if (!image) Die("cannot capture the window \"" + title + "\" of " + exe);
  return *image;
}

int SameWindow(const std::string& title, const std::string& folder, char** exesAndFiles) {
  const e2e::Image floor = CaptureAtStart(title, exesAndFiles[0], folder);
  const e2e::Image program = CaptureAtStart(title, exesAndFiles[2], folder);
  if (!e2e::SaveBmp(floor, exesAndFiles[1]) || !e2e::SaveBmp(program, exesAndFiles[3]))
    Die("cannot save the captures");
  if (floor.width != program.width || floor.height != program.height) {
    std::printf(
        "same-window %s differ: the floor's window is %d x %d pixels, the program's %d x %d\n",
        title.c_str(), floor.width, floor.height, program.width, program.height);
    return 3;
  }
  int differing = 0;
  int first = -1;
  for (std::size_t i = 0; i < floor.pixels.size(); ++i) {
    if (floor.pixels[i] == program.pixels[i]) continue;
    if (differing++ == 0) first = static_cast<int>(i);
  }
  if (differing == 0) {
    std::printf("same-window %s same\n", title.c_str());
    return 0;
  }
  std::printf("same-window %s differ: %d of %zu pixels, the first at (%d, %d)\n", title.c_str(),
              differing, floor.pixels.size(), first % floor.width, first / floor.width);
  return 3;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 2 ? argv[1] : "";
  StoreReturningUser();
  if (command == "startup" && argc >= 6 && (argc - 3) % 3 == 0)
    return Startup(std::atoi(argv[2]), argv + 3, argc - 3);
  if (command == "clicks" && argc == 6)
    return Clicks(std::atoi(argv[2]), argv[3], argv[4], argv[5]);
  if (command == "same-window" && argc == 8) return SameWindow(argv[2], argv[3], argv + 4);
  std::fprintf(stderr,
               "usage: bench_launcher startup RUNS TITLE EXE FOLDER [TITLE EXE FOLDER]...\n"
               "       bench_launcher clicks CLICKS TITLE EXE FOLDER\n"
               "       bench_launcher same-window TITLE FOLDER FLOOR_EXE FLOOR_BMP PROGRAM_EXE "
               "PROGRAM_BMP\n");
  return 2;
}
