#pragma once
// An error trap over a handler's statements: each statement runs in order; a runtime error in
// one of them goes to the recovery block, which either leaves the handler or runs the failed
// statement again and goes on from there. An error inside the recovery block is not caught,
// and ending the program is no error, so it passes every trap.
#include <functional>
#include <initializer_list>
#include <span>

#include "platform/services/runtime_error.h"

namespace platform {

enum class Recovery { kLeave, kRetry };

using Statement = std::function<void()>;
using RecoveryBlock = std::function<Recovery(const RuntimeError&)>;

void RunTrapped(std::span<const Statement> statements, const RecoveryBlock& recovery);
inline void RunTrapped(std::initializer_list<Statement> statements, const RecoveryBlock& recovery) {
  RunTrapped(std::span(statements.begin(), statements.size()), recovery);
}

}  // namespace platform
