#pragma once
// Names of the files a copy keeps beside its destination while it works, each carrying the id
// of the process that made it: a staged or kept-aside copy, "<destination>.~vl<pid>-<n>.tmp",
// and the record of a switch, "<destination>.~vl<pid>.record" (or "...~vl<pid>-<n>.record" where
// an earlier process of the same id left one). The process id tells the files of a copy still
// running from those left behind by a program stopped half-way.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

std::string StagedFileName(const std::string& destination, std::uint32_t processId,
                           std::uint32_t number);
std::string RecordFileName(const std::string& destination, std::uint32_t processId,
                           std::uint32_t number);

// The process that made `fileName` if it is a staged file, or a record, of `destinationName`
// (both plain names within one folder, compared without regard to case as the file systems do).
std::optional<std::uint32_t> StagedFileOwner(std::string_view fileName,
                                             std::string_view destinationName);
std::optional<std::uint32_t> RecordFileOwner(std::string_view fileName,
                                             std::string_view destinationName);

// Whether `path` names a staged or kept-aside file of `destination`, beside it in its folder.
bool IsStagedFileOf(std::string_view path, std::string_view destination);

}  // namespace platform
