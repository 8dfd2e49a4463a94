// Fuzzes the text conversions: they must never crash, must raise nothing but error 13, and a
// text that converts to a number must be safe to put into a file path.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/services/convert.h"
#include "platform/services/runtime_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const double number = platform::TextToNumber(text);
    if (std::isnan(number)) std::abort();
    if (text.find_first_of("/\\:") != std::string_view::npos) std::abort();
    if (text.find("..") != std::string_view::npos) std::abort();
    // Converting is a pure function of the text, and a converting number is also a Boolean.
    if (platform::TextToNumber(text) != number) std::abort();
    if (platform::TextToBool(text) != (number != 0.0)) std::abort();
  } catch (const platform::RuntimeError& e) {
    if (e.number() != platform::error::kTypeMismatch) std::abort();
  }
  try {
    const bool value = platform::TextToBool(text);
    if (platform::TextToBool(platform::BoolToText(value)) != value) std::abort();
  } catch (const platform::RuntimeError& e) {
    if (e.number() != platform::error::kTypeMismatch) std::abort();
  }
  return 0;
}
