#pragma once
// Bounded polling: every wait in the driver ends after a timeout instead of sleeping blindly.
#include <chrono>
#include <thread>

namespace e2e {

using std::chrono::milliseconds;
using std::chrono::seconds;

// The ceiling of every wait for something the program does: each wait ends as soon as the
// program has done it, so the ceiling only decides how long a failure takes to show. Generous
// enough for a cold start of 32-bit Wine under emulation (scripts/run-i386).
constexpr milliseconds kTimeout = seconds(60);
// How long to watch for something that must not happen.
constexpr milliseconds kQuietPeriod = milliseconds(1500);

// Polls `condition` until it holds (true) or `timeout` has passed (false).
template <typename Condition>
bool WaitUntil(Condition condition, milliseconds timeout = kTimeout,
               milliseconds interval = milliseconds(50)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(interval);
  }
}

// Polls `condition` for the whole `period`; true if it never held.
template <typename Condition>
bool StaysFalse(Condition condition, milliseconds period = kQuietPeriod) {
  return !WaitUntil(condition, period);
}

// Waits for `condition` to hold, then watches it for `period`: true if it came and never went.
// For a state the program reaches in steps (a z-order): a busy machine may show a step in
// between, but what the steps end in must not change afterwards.
template <typename Condition>
bool SettlesAndStays(Condition condition, milliseconds period = kQuietPeriod) {
  return WaitUntil(condition) && StaysFalse([&] { return !condition(); }, period);
}

}  // namespace e2e
