#include "platform/services/error_trap.h"

namespace platform {

void RunTrapped(std::span<const Statement> statements, const RecoveryBlock& recovery) {
  for (auto statement = statements.begin(); statement != statements.end();) {
    Recovery next = Recovery::kRetry;
    try {
      (*statement)();
      ++statement;
      continue;
    } catch (const RuntimeError& error) {
      next = recovery(error);  // runs inside the handler: an error here escapes the trap
    }
    if (next == Recovery::kLeave) return;
  }
}

}  // namespace platform
