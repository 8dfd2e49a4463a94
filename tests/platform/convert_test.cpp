#include "platform/services/convert.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/services/runtime_error.h"

namespace platform {
namespace {

int ErrorOf(void (*call)(std::string_view), std::string_view text) {
  try {
    call(text);
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

void Number(std::string_view text) {
  (void)TextToNumber(text);
}
void Boolean(std::string_view text) {
  (void)TextToBool(text);
}

TEST(Convert, IntegerToTextIsPlainDecimal) {
  EXPECT_EQ(IntToText(0), "0");
  EXPECT_EQ(IntToText(7), "7");
  EXPECT_EQ(IntToText(20), "20");
  EXPECT_EQ(IntToText(-3), "-3");
}

TEST(Convert, NumbersThatConvert) {
  EXPECT_EQ(TextToNumber("7"), 7.0);
  EXPECT_EQ(TextToNumber("07"), 7.0);
  EXPECT_EQ(TextToNumber(" 7 "), 7.0);
  EXPECT_EQ(TextToNumber("\t+7"), 7.0);
  EXPECT_EQ(TextToNumber("-1"), -1.0);
  EXPECT_EQ(TextToNumber("7.0"), 7.0);
  EXPECT_EQ(TextToNumber(".5"), 0.5);
  EXPECT_EQ(TextToNumber("7."), 7.0);
  EXPECT_EQ(TextToNumber("0.7e1"), 7.0);
  EXPECT_EQ(TextToNumber("70E-1"), 7.0);
  EXPECT_EQ(TextToNumber(std::string(65536, '0') + "7"), 7.0);
}

TEST(Convert, TextThatIsNoNumberIsATypeMismatch) {
  for (const char* text : {"",    " ",     "abc",  "7a",   "a7",  "1..2", "..",       "..\\7",
                           "C:7", "7\\..", "0x10", "&H10", "inf", "nan",  "1e",       "e5",
                           "+",   "-",     ".",    "1,5",  "1 2", "--1",  "\xc3\xa9", "7\n"}) {
    EXPECT_EQ(ErrorOf(Number, text), error::kTypeMismatch) << '"' << text << '"';
  }
}

TEST(Convert, BooleanText) {
  EXPECT_EQ(BoolToText(true), "True");
  EXPECT_EQ(BoolToText(false), "False");
  EXPECT_TRUE(TextToBool("True"));
  EXPECT_TRUE(TextToBool("TRUE"));
  EXPECT_TRUE(TextToBool("true"));
  EXPECT_FALSE(TextToBool("fAlSe"));
  EXPECT_FALSE(TextToBool(" False "));
  EXPECT_FALSE(TextToBool("0"));
  EXPECT_TRUE(TextToBool("-1"));
  EXPECT_TRUE(TextToBool("2.5"));
  EXPECT_FALSE(TextToBool("0.0"));
  for (const char* text : {"", "yes", "no", "Tru", "Truee", "on", "T"}) {
    EXPECT_EQ(ErrorOf(Boolean, text), error::kTypeMismatch) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace platform
