#pragma once
// The runtime's conversions between text and numbers or Booleans. Every setting is held as
// text and converted only where it is compared; a text that does not convert raises error 13.
#include <string>
#include <string_view>

namespace platform {

// Plain decimal digits with a leading '-' for negatives: "0", "1", "20".
std::string IntToText(long long value);

// Accepts, after optional spaces and tabs on either side: an optional sign, decimal digits with
// at most one decimal point (at least one digit in all), and an optional exponent (e or E, an
// optional sign, digits). Anything else, the empty text included, raises error 13. So a text that
// converts never holds a path separator, a drive letter or "..".
double TextToNumber(std::string_view text);

// "True" or "False".
std::string BoolToText(bool value);

// "True" and "False" in any letter case (spaces around allowed), or any text TextToNumber
// accepts (0 is False, any other number True); anything else raises error 13.
bool TextToBool(std::string_view text);

}  // namespace platform
