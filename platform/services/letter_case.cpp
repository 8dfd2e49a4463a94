#include "platform/services/letter_case.h"

#include <cctype>

namespace platform {
namespace {

char Folded(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = Folded(c);
  return folded;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Folded(a[i]) != Folded(b[i])) return false;
  return true;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace platform
