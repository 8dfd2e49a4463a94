#include "platform/services/convert.h"

#include <cstdlib>
#include <string>

#include "platform/services/letter_case.h"
#include "platform/services/runtime_error.h"

namespace platform {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Checks the whole text against the number grammar before strtod sees it, so that strtod's
// extras (hex, "inf", "nan", locale separators) are never accepted.
bool IsPlainNumber(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t exponentDigits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  return i == text.size();
}

}  // namespace

std::string IntToText(long long value) {
  return std::to_string(value);
}

double TextToNumber(std::string_view text) {
  const std::string_view trimmed = TrimBlanks(text);
  if (!IsPlainNumber(trimmed)) throw RuntimeError(error::kTypeMismatch);
  // strtod needs a terminated string; the grammar check above keeps it from reading further.
  // The "C" locale's '.' is the only decimal separator: settings must read alike everywhere.
  const std::string terminated(trimmed);
  return std::strtod(terminated.c_str(), nullptr);
}

std::string BoolToText(bool value) {
  return value ? "True" : "False";
}

bool TextToBool(std::string_view text) {
  const std::string_view trimmed = TrimBlanks(text);
  if (EqualsIgnoringCase(trimmed, "True")) return true;
  if (EqualsIgnoringCase(trimmed, "False")) return false;
  return TextToNumber(trimmed) != 0.0;
}

}  // namespace platform
