#pragma once
// What a call raises, for tests that expect a run-time error of a given number and path.
#include <functional>

#include "platform/services/runtime_error.h"

namespace test_support {

// The error `action` raises, or error 0 when it raises none.
inline platform::RuntimeError ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const platform::RuntimeError& error) {
    return error;
  }
  return platform::RuntimeError(0);
}

}  // namespace test_support
