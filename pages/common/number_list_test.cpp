#include "pages/common/number_list.h"
#include "pages/common/setup_result_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "tests/testing/text_count.h"

namespace korva {

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(NumberListTest, ReadsLikeScanfWithoutOverflow) {
  EXPECT_THAT(ReadNumberList("11 5 31 0 0", ' ', 5), ElementsAre(11, 5, 31, 0, 0));
  EXPECT_THAT(ReadNumberList("1  901", ' ', 5), ElementsAre(1, 901));  // any run of blanks
  EXPECT_THAT(ReadNumberList("1 2 3 4 5 6", ' ', 5), ElementsAre(1, 2, 3, 4, 5));
  EXPECT_THAT(ReadNumberList("4-0-0-0-0-张三", '-', 5), ElementsAre(4, 0, 0, 0, 0));
  EXPECT_THAT(ReadNumberList("7-0-0-0-12-李-9", '-', 5), ElementsAre(7, 0, 0, 0, 12));
  EXPECT_THAT(ReadNumberList("2--1-3", '-', 5), ElementsAre(2, -1, 3));  // a sign after the separator
  EXPECT_THAT(ReadNumberList("3", '-', 5), ElementsAre(3));
  EXPECT_THAT(ReadNumberList("3 4", '-', 5), ElementsAre(3));  // the separator must stand there
  EXPECT_THAT(ReadNumberList("x1", ' ', 5), IsEmpty());
  EXPECT_THAT(ReadNumberList("", ' ', 5), IsEmpty());
  EXPECT_THAT(ReadNumberList("-", '-', 5), IsEmpty());
  EXPECT_THAT(ReadNumberList("99999999999999999999 -99999999999999999999", ' ', 5), ElementsAre(INT_MAX, INT_MIN));
}

TEST(NumberListTest, DashNumbersEndAtOneTooLargeForAnInt) {
  int n[4] = {0, 0, 0, 0};
  EXPECT_EQ(ReadDashNumbers("3-12-0-1-9", n), 4);
  EXPECT_THAT(n, ElementsAre(3, 12, 0, 1));
  EXPECT_EQ(ReadDashNumbers("5-99999999999-7", n), 1);
  EXPECT_EQ(ReadDashNumbers("-2147483648-2147483647", n), 2);
  EXPECT_THAT(n, ElementsAre(INT_MIN, INT_MAX, 0, 1));
}

// The reason is an argument, never a format; names are escaped.
TEST(SetupResultContent, TextIsNoFormatAndNamesAreEscaped) {
  EXPECT_TRUE(Has(BuildSetupResultContent(71, "100%s%d", ""), "原因是：<br>100%s%d</font>"));
  EXPECT_TRUE(Has(BuildSetupResultContent(0, "", "<b>"), "成功建立“&lt;b&gt;”"));
  EXPECT_TRUE(Has(BuildSetupResultContent(-1, "", ""), "Sorry:,产生未知错误！"));
}

}  // namespace

}  // namespace korva
