#pragma once
// Names of the files a copy is staged in, beside its destination: "<destination>.~vl<pid>-<n>.tmp".
// The process id in the name tells a staged file of a copy still running from one left behind
// by a program that was stopped half-way, which the next copy to that destination removes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

std::string StagedFileName(const std::string& destination, std::uint32_t processId,
                           std::uint32_t number);

// The process that staged `fileName` if it is a staged file of `destinationName` (both plain
// names within one folder, compared without regard to case as the file systems do).
std::optional<std::uint32_t> StagedFileOwner(std::string_view fileName,
                                             std::string_view destinationName);

}  // namespace platform
