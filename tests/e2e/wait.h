#pragma once
// Bounded polling: every wait in the driver ends after a timeout instead of sleeping blindly.
#include <chrono>
#include <thread>

namespace e2e {

using std::chrono::milliseconds;
using std::chrono::seconds;

// Long enough for a cold Wine start of a small program, short enough to fail fast.
constexpr milliseconds kTimeout = seconds(15);
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

}  // namespace e2e
