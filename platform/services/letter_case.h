#pragma once
// Names that match without regard to letter case: settings names, True and False, file names.
// Only the letters A to Z fold; every other byte matches itself alone.
#include <string>
#include <string_view>

namespace platform {

// `text` with A to Z written as a to z: the one spelling of every name that matches it.
std::string FoldCase(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

}  // namespace platform
