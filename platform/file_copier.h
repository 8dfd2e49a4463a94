#pragma once
// Copying that never leaves a destination half written: every copy is first staged beside its
// destination and then renamed over it, so the destination is always either its complete old
// or its complete new self, whatever fails and whenever the program is stopped.
#include <span>
#include <string>

#include "platform/file_system.h"

namespace platform {

struct CopyStep {
  std::string source;
  std::string destination;
};

class FileCopier {
 public:
  explicit FileCopier(FileSystem& files) : files_(files) {}

  // One copy; an existing destination is replaced whole. Raises the error of the failure.
  void Copy(const std::string& source, const std::string& destination);

  // All of the copies or none: every source is staged and every old destination kept aside
  // before the first destination is replaced; if a replacement still fails, the ones already
  // made are put back. Raises the error of the first failure.
  void CopyAll(std::span<const CopyStep> steps);

 private:
  FileSystem& files_;
};

}  // namespace platform
