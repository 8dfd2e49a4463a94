#include "platform/services/convert.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/services/runtime_error.h"
#include "tests/platform/error_of.h"

namespace platform {
namespace {

using test_support::ErrorOf;

TEST(Convert, IntegerToTextIsPlainDecimal) {
  EXPECT_EQ(IntToText(0), "0");
  EXPECT_EQ(IntToText(7), "7");
  EXPECT_EQ(IntToText(20), "20");
  EXPECT_EQ(IntToText(-3), "-3");
}

TEST(Convert, NumbersThatConvert) {
  for (const std::string& text : std::vector<std::string>{
           "7", "07", " 7 ", "\t+7", "7.0", "7.", "0.7e1", "70E-1", std::string(65536, '0') + "7"})
    EXPECT_EQ(TextToNumber(text), 7.0) << '"' << text << '"';
  EXPECT_EQ(TextToNumber("-1"), -1.0);
  EXPECT_EQ(TextToNumber(".5"), 0.5);
}

TEST(Convert, TextThatIsNoNumberIsATypeMismatch) {
  for (const char* text : {"",    " ",     "abc",  "7a",   "a7",  "1..2", "..",       "..\\7",
                           "C:7", "7\\..", "0x10", "&H10", "inf", "nan",  "1e",       "e5",
                           "+",   "-",     ".",    "1,5",  "1 2", "--1",  "\xc3\xa9", "7\n"}) {
    EXPECT_EQ(ErrorOf([&] { (void)TextToNumber(text); }).number(), error::kTypeMismatch)
        << '"' << text << '"';
  }
}

TEST(Convert, BooleanText) {
  EXPECT_EQ(BoolToText(true), "True");
  EXPECT_EQ(BoolToText(false), "False");
  for (const char* text : {"True", "TRUE", "true", "-1", "2.5"})
    EXPECT_TRUE(TextToBool(text)) << text;
  for (const char* text : {"fAlSe", " False ", "0", "0.0"}) EXPECT_FALSE(TextToBool(text)) << text;
  for (const char* text : {"", "yes", "no", "Tru", "Truee", "on", "T"}) {
    EXPECT_EQ(ErrorOf([&] { (void)TextToBool(text); }).number(), error::kTypeMismatch)
        << '"' << text << '"';
  }
}

}  // namespace
}  // namespace platform
