// Times the programs' own copies on real files: crosshairs' Apply and vorlane's Enable, run
// through their windows' logic on the Win32 file system, in the working directory.
//
//   bench_copy apply RUNS [SETTLE_MS]    the folder holds cr\7\menu.rfa, rt\2\game.rfa and
//                                        archives\bf1942
//   bench_copy enable RUNS [SETTLE_MS]   the folder holds every file of vorlane's copy table
//   bench_copy enable-files BYTES        lays out every file of vorlane's copy table in the
//                                        folder, each of BYTES random bytes, and prints the
//                                        copies of Enable, "SOURCE DESTINATION" a line
//
// Each timed run starts SETTLE_MS milliseconds (default 0) after everything before it, as the
// benchmark's floors do.
//
// Prints "apply RUN SECONDS ..." or "enable RUN SECONDS ..." for each run, followed by where the
// run's time went: each file operation with its destination and milliseconds, in order.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>

#include "crosshairs/form1.h"
#include "crosshairs/module1.h"
#include "platform/headless/headless_environment.h"
#include "platform/win32/services/win32_file_system.h"
#include "platform/win32/windows_api.h"
#include "vorlane/form1.h"
#include "vorlane/module1.h"

namespace {

double Seconds() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The Win32 file system, noting how long each of its steps took.
class TimedFileSystem : public platform::win32::Win32FileSystem {
 public:
  using Base = platform::win32::Win32FileSystem;
  void CheckDestination(const std::string& destination) override {
    Timed("check", destination, [&] {
      Base::CheckDestination(destination);
      return 0;
    });
  }
  bool CopyToNew(const std::string& source, const std::string& name, const std::string& destination,
                 platform::ContentSum& sum) override {
    return Timed("copy", destination,
                 [&] { return Base::CopyToNew(source, name, destination, sum); });
  }
  platform::NewName LinkToNew(const std::string& path, const std::string& name) override {
    return Timed("link", path, [&] { return Base::LinkToNew(path, name); });
  }
  void RenameOver(const std::string& from, const std::string& to) override {
    Timed("rename", to, [&] {
      Base::RenameOver(from, to);
      return 0;
    });
  }
  void PutOnDisk(const std::string& path) override {
    Timed("flush", path, [&] {
      Base::PutOnDisk(path);
      return 0;
    });
  }

  // The steps since the last call, as " copy(PATH)=MS ...".
  std::string TakeLog() { return std::exchange(log_, {}); }

 private:
  template <typename Operation>
  auto Timed(const char* name, const std::string& path, Operation operation)
      -> decltype(operation()) {
    const double start = Seconds();
    auto result = operation();
    char entry[64];
    std::snprintf(entry, sizeof entry, ")=%.1f", (Seconds() - start) * 1000);
    log_ += std::string(" ") + name + "(" + path + entry;
    return result;
  }

  std::string log_;
};

using Environment = platform::headless::HeadlessEnvironment<TimedFileSystem>;

// Apply with crosshair 7 and reticle 2; the question that follows is answered No. A failed
// copy shows a box the script does not expect, which ends the benchmark.
void Apply(int runs, DWORD settleMs) {
  Environment env("crosshairs");
  env.settings.Save("Vorlane", "crosshair", "cr", "7");
  env.settings.Save("Vorlane", "crosshair", "rt", "2");
  crosshairs::Module1 module1(env.runtime);
  crosshairs::Form1 form(env.runtime, module1);
  env.runtime.Run(form);
  for (int run = 1; run <= runs; ++run) {
    env.messageBox.Expect(platform::box::kNo);
    env.files.TakeLog();
    Sleep(settleMs);
    const double start = Seconds();
    env.ui.Click(form.Mapply);
    const double elapsed = Seconds() - start;
    // The question asks Yes or No; a failure only says what went wrong.
    const platform::MessageBoxRequest& answer = env.messageBox.shown().back();
    if ((answer.flags & platform::box::kYesNo) == 0)
      throw std::runtime_error("Apply failed: " + answer.text);
    std::printf("apply %d %.6f%s\n", run, elapsed, env.files.TakeLog().c_str());
    std::fflush(stdout);
  }
}

// Enable with both expansions ticked: three files. Disable, untimed, comes before each run so
// that every timed click really switches.
void Enable(int runs, DWORD settleMs) {
  Environment env("vorlane");
  for (const char* key : {"mode", "rtr", "sw"})
    env.settings.Save("Vorlane", "setting", key, key == std::string("mode") ? "False" : "True");
  vorlane::Module1 module1(env.runtime);
  vorlane::Form1 form(env.runtime, module1);
  env.runtime.Run(form);
  for (int run = 1; run <= runs; ++run) {
    env.ui.Click(form.Option1);
    env.files.TakeLog();
    Sleep(settleMs);
    const double start = Seconds();
    env.ui.Click(form.Option2);
    const double elapsed = Seconds() - start;
    if (module1.ModeEnabled != "True" || !env.messageBox.shown().empty())
      throw std::runtime_error("Enable failed");
    std::printf("enable %d %.6f%s\n", run, elapsed, env.files.TakeLog().c_str());
    std::fflush(stdout);
  }
}

// "mods/bf1942/init.con" for the program's "mods\\bf1942\\init.con": Wine takes either.
std::string Slashed(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

// The folder a timed Enable works in, from the program's own copy table.
void LayOutEnableFiles(std::size_t bytes) {
  std::mt19937 random(1942);
  std::string contents(bytes, '\0');
  for (const vorlane::ModeCopy& row : vorlane::kModeCopies) {
    for (const char* file : {row.enableSource, row.disableSource, row.destination}) {
      for (char& c : contents) c = static_cast<char>(random());
      const std::filesystem::path path = Slashed(file);
      std::filesystem::create_directories(path.parent_path());
      std::ofstream(path, std::ios::binary) << contents;
    }
    std::printf("%s %s\n", Slashed(row.enableSource).c_str(), Slashed(row.destination).c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc == 3 || argc == 4 ? argv[1] : "";
  const int runs = command.empty() ? 0 : std::atoi(argv[2]);
  const auto settleMs = static_cast<DWORD>(argc == 4 ? std::atoi(argv[3]) : 0);
  try {
    if (command == "apply" && runs > 0) {
      Apply(runs, settleMs);
      return 0;
    }
    if (command == "enable" && runs > 0) {
      Enable(runs, settleMs);
      return 0;
    }
    if (command == "enable-files" && runs > 0) {
      LayOutEnableFiles(static_cast<std::size_t>(runs));
      return 0;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_copy: %s\n", error.what());
    return 1;
  }
  std::fprintf(stderr, "usage: bench_copy apply|enable RUNS [SETTLE_MS] | enable-files BYTES\n");
  return 2;
}
