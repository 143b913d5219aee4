#include "pages/meet/chinese_numeral.h"

#include <gtest/gtest.h>

namespace korva {

namespace {

TEST(FormatChineseNumeral, SmallNumbersInCharactersTheRestInDigits) {
  const char* const small[] = {"零", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
  for (int n = 0; n <= 10; ++n) EXPECT_EQ(FormatChineseNumeral(n), small[n]) << n;
  struct Case {
    int number;
    const char* text;
  } cases[] = {{11, "11"}, {20, "20"}, {99, "99"}, {100, "100"}, {101, "101"}, {999, "999"}, {-1, "-1"}};
  for (const Case& c : cases) EXPECT_EQ(FormatChineseNumeral(c.number), c.text);
}

}  // namespace

}  // namespace korva
