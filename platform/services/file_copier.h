#pragma once
// Copying that never leaves a destination half written: every copy is first staged beside its
// destination and then renamed over it, so the destination is always either its complete old
// or its complete new self, whatever fails and whenever the program is stopped.
#include <map>
#include <span>
#include <string>
#include <vector>

#include "platform/services/file_system.h"
#include "platform/services/runtime_error.h"
#include "platform/services/staging.h"

namespace platform {

struct CopyStep {
  std::string source;
  std::string destination;
};

// A CopyAll that failed and could not put back every destination it had already replaced
// (another program held one of them longer than the retries). The error is the first failure's.
class CopyPartlyUndone : public RuntimeError {
 public:
  CopyPartlyUndone(const RuntimeError& cause, std::vector<std::string> stillNew)
      : RuntimeError(cause), stillNew_(std::move(stillNew)) {}
  // The destinations that hold their new contents, in the order of the steps; every other
  // destination holds its old contents.
  const std::vector<std::string>& stillNew() const { return stillNew_; }

 private:
  std::vector<std::string> stillNew_;
};

class FileCopier {
 public:
  explicit FileCopier(FileSystem& files) : files_(files) {}
  FileCopier(const FileCopier&) = delete;
  FileCopier& operator=(const FileCopier&) = delete;

  // One copy; an existing destination is replaced whole. Raises the error of the failure.
  void Copy(const std::string& source, const std::string& destination);

  // All of the copies or none: every source is staged and every old destination kept aside
  // before the first destination is replaced; if a replacement still fails, the ones already
  // made are put back. Raises the error of the first failure, as CopyPartlyUndone when a
  // destination could not be put back.
  void CopyAll(std::span<const CopyStep> steps);

 private:
  // A destination that could not be put back keeps its old contents beside it until a later
  // copy has replaced it again; only then are they removed.
  void Replaced(const std::string& destination);

  Staging files_;
  std::map<std::string, std::string> oldContentsKept_;  // destination -> kept-aside file
};

}  // namespace platform
