#include "platform/services/staged_file_name.h"

#include <cctype>

#include "platform/services/letter_case.h"

namespace platform {
namespace {

constexpr std::string_view kMarker = ".~vl";
constexpr std::string_view kStagedEnding = ".tmp";
constexpr std::string_view kRecordEnding = ".record";

// Reads decimal digits at the front of `text`; empty or too long gives nothing.
std::optional<std::uint32_t> TakeNumber(std::string_view& text) {
  std::uint64_t value = 0;
  std::size_t digits = 0;
  while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) {
    value = value * 10 + static_cast<std::uint64_t>(text[digits] - '0');
    if (++digits > 10 || value > 0xFFFFFFFFu) return std::nullopt;
  }
  if (digits == 0) return std::nullopt;
  text.remove_prefix(digits);
  return static_cast<std::uint32_t>(value);
}

bool TakePrefix(std::string_view& text, std::string_view prefix) {
  if (!StartsWithIgnoringCase(text, prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

// The owner in "<destination>.~vl<pid>", leaving what follows it in `fileName`.
std::optional<std::uint32_t> TakeOwner(std::string_view& fileName,
                                       std::string_view destinationName) {
  if (!TakePrefix(fileName, destinationName) || !TakePrefix(fileName, kMarker)) return std::nullopt;
  return TakeNumber(fileName);
}

}  // namespace

std::string StagedFileName(const std::string& destination, std::uint32_t processId,
                           std::uint32_t number) {
  return destination + std::string(kMarker) + std::to_string(processId) + "-" +
         std::to_string(number) + std::string(kStagedEnding);
}

std::string RecordFileName(const std::string& destination, std::uint32_t processId,
                           std::uint32_t number) {
  return destination + std::string(kMarker) + std::to_string(processId) +
         (number == 0 ? std::string() : "-" + std::to_string(number)) + std::string(kRecordEnding);
}

std::optional<std::uint32_t> StagedFileOwner(std::string_view fileName,
                                             std::string_view destinationName) {
  const auto owner = TakeOwner(fileName, destinationName);
  if (!owner || !TakePrefix(fileName, "-") || !TakeNumber(fileName) ||
      !EqualsIgnoringCase(fileName, kStagedEnding))
    return std::nullopt;
  return owner;
}

std::optional<std::uint32_t> RecordFileOwner(std::string_view fileName,
                                             std::string_view destinationName) {
  const auto owner = TakeOwner(fileName, destinationName);
  if (!owner || (TakePrefix(fileName, "-") && !TakeNumber(fileName)) ||
      !EqualsIgnoringCase(fileName, kRecordEnding))
    return std::nullopt;
  return owner;
}

bool IsStagedFileOf(std::string_view path, std::string_view destination) {
  const std::size_t folder = destination.find_last_of("\\/") + 1;  // 0 for a bare name
  if (path.size() <= folder || path.substr(0, folder) != destination.substr(0, folder))
    return false;
  const std::string_view name = path.substr(folder);
  return name.find_first_of("\\/") == std::string_view::npos &&
         StagedFileOwner(name, destination.substr(folder)).has_value();
}

}  // namespace platform
