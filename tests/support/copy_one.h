#pragma once
// One copy through the copier, as a switch of a single file that stands at once.
#include <string>

#include "platform/services/file_copier.h"

namespace test_support {

inline void CopyOne(platform::FileCopier& copier, const std::string& source,
                    const std::string& destination) {
  const platform::CopyStep step{source, destination};
  copier.CopyAll({&step, 1}, "", "");
  copier.Commit();
}

}  // namespace test_support
