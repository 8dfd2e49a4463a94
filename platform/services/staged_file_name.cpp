#include "platform/services/staged_file_name.h"

#include <cctype>

#include "platform/services/letter_case.h"

namespace platform {
namespace {

constexpr std::string_view kMarker = ".~vl";
constexpr std::string_view kEnding = ".tmp";

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

}  // namespace

std::string StagedFileName(const std::string& destination, std::uint32_t processId,
                           std::uint32_t number) {
  return destination + std::string(kMarker) + std::to_string(processId) + "-" +
         std::to_string(number) + std::string(kEnding);
}

std::optional<std::uint32_t> StagedFileOwner(std::string_view fileName,
                                             std::string_view destinationName) {
  if (!StartsWithIgnoringCase(fileName, destinationName)) return std::nullopt;
  fileName.remove_prefix(destinationName.size());
  if (!StartsWithIgnoringCase(fileName, kMarker)) return std::nullopt;
  fileName.remove_prefix(kMarker.size());
  const auto owner = TakeNumber(fileName);
  if (!owner || fileName.empty() || fileName.front() != '-') return std::nullopt;
  fileName.remove_prefix(1);
  if (!TakeNumber(fileName) || fileName.size() != kEnding.size() ||
      !StartsWithIgnoringCase(fileName, kEnding))
    return std::nullopt;
  return owner;
}

}  // namespace platform
