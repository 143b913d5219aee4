#include "pages/meet/check_in_sheets.h"

#include <gtest/gtest.h>

#include "database/lookups.h"
#include "tests/testing/print_meet.h"
#include "tests/testing/text_count.h"

namespace korva {

namespace {

// Round 10: 60米 girls on the 10-lane venue 6, four heats of eight (girls
// 101-132), session 4, order 2.
constexpr const char* kFourHeats =
    "INSERT INTO qrtb292 (qrtb124, qrtb125, qrtb126, qrtb127, qrtb128, qrtb133) VALUES (6, 10, '操场', '道', '', '');"
    "INSERT INTO qrtb306 (qrtb307, qrtb308, qrtb309, qrtb310, qrtb311, qrtb312, qrtb313, qrtb314, qrtb315,"
    " qrtb316, qrtb317, qrtb318, qrtb319, qrtb320, qrtb321, qrtb322) VALUES"
    " (907, '60米', 1, 1, 1, 0, 1, 1, 1, 1, 6, '秒', 1, 2, '', '');"
    "INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436) VALUES"
    " (1207, 12, 907, 0, 0, 8, 1, 0);"
    "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453, qrtb454,"
    " qrtb455, qrtb456, qrtb457, qrtb458) VALUES (10, 1207, 3, 0, 4, 2, 10, 32, 8, 0, 0, 0, 0, 0);"
    "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb486, qrtb487, qrtb488, qrtb489)"
    " WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 32)"
    " SELECT 3000 + i, 10, (i - 1) / 8 + 1, (i - 1) % 8 + 1, 100 + i, 0, 0, 0, 0 FROM n;";

class CheckInSheets : public ::testing::Test {
 protected:
  void SetUp() override { OpenPrintMeet(meet_, kFourHeats); }
  std::string Sheet(int round_id) {
    const RoundNode& round = *FindRoundById(round_id);
    std::string out;
    EXPECT_EQ(PrintRoundCheckIn(out, round, *FindEventOfRound(round),
                                *FindGroupById(FindContestById(round.ContestId)->GroupId), LanesOfRound(round_id)),
              0);
    return out;
  }
  MeetFixture meet_;
};

TEST_F(CheckInSheets, TheBuiltInTracksNameTheirLanesInUse) {
  const std::string sheet = Sheet(2);  // venue 1 uses lanes 2 to 9
  EXPECT_NE(sheet.find("<td align=\"center\">道次</td>\r\n<td align=\"center\">第二道</td>\r\n"), std::string::npos);
  EXPECT_EQ(CountOf(sheet, "道</td>"), 8);
  EXPECT_NE(sheet.find("第九道"), std::string::npos);
  // Lanes of a relay name no athlete: bib and name stay empty.
  const std::string relay = Sheet(6);
  EXPECT_NE(relay.find("一年级 男子 团队 4x100米接力 决赛 第一组(共一组)"), std::string::npos);
  EXPECT_NE(relay.find("<td align=\"center\">号码</td>\r\n<td align=\"center\"></td>\r\n"), std::string::npos);
  EXPECT_EQ(relay.find("接力2001"), std::string::npos);
}

TEST_F(CheckInSheets, AHeatWiderThanTheTableTakesTwoTablesAndOneSignature) {
  const std::string sheet = Sheet(9);  // ten lanes on the 13-lane venue
  EXPECT_EQ(CountOf(sheet, "<table"), 2);
  EXPECT_EQ(CountOf(sheet, "径 赛 检 录 表"), 1);
  EXPECT_EQ(CountOf(sheet, "记录员"), 1);
  EXPECT_NE(sheet.find("<td align=\"center\">第18道</td>"), std::string::npos);
  EXPECT_NE(sheet.find("<td align=\"center\">女340</td>"), std::string::npos);
  // The second table continues the heat on the same page.
  EXPECT_EQ(CountOf(sheet, "jsfdfydiv"), 0);
}

TEST_F(CheckInSheets, OrderSheetsRepeatTheirHeadEveryTwentyTwoRowsAndNumberPastNinetyNine) {
  const std::string sheet = Sheet(7);  // 120 girls in one group
  EXPECT_TRUE(sheet.starts_with("<div class=\"jsfzdiv\">"));
  EXPECT_NE(sheet.find("一年级 女子 1500米 决赛 第一组(共一组)"), std::string::npos);
  EXPECT_EQ(CountOf(sheet, "<td align=\"center\">比赛计圈专用</td>"), 6);
  EXPECT_EQ(CountOf(sheet, "</table>\r\n<p>记录员：___________________&nbsp;&nbsp;&nbsp;&nbsp;裁判员：___________________</p></div>\r\n"
                         "<div class=\"jsfdfydiv\">\r\n<div style"),
            5);
  EXPECT_EQ(CountOf(sheet, "<tr>\r\n<td style=\"line-height:200%; text-align:center;\">"), 120);
  EXPECT_NE(sheet.find("text-align:center;\">120</td>\r\n    <td align=\"center\">420</td>\r\n"
                       "    <td align=\"center\">女220</td>\r\n    <td align=\"center\">一年级02班</td>"),
            std::string::npos);
}

TEST_F(CheckInSheets, AFieldEventOnAnOrderSheetIsCalledAFieldSheetOnEveryPage) {
  FindEventById(902)->JiLuBiaoType = 2;
  const std::string sheet = Sheet(8);  // 110 girls
  EXPECT_EQ(CountOf(sheet, "田 赛 检 录 表"), 5);
  EXPECT_EQ(CountOf(sheet, "径 赛 检 录 表"), 0);
}

TEST_F(CheckInSheets, ATeamOnAnOrderSheetIsOneRowWithItsClass) {
  FindEventById(905)->JiLuBiaoType = 2;
  const std::string sheet = Sheet(6);
  EXPECT_EQ(CountOf(sheet, "<tr>\r\n<td style"), 3);
  EXPECT_NE(sheet.find(">1</td>\r\n    <td align=\"center\">&nbsp;</td>\r\n    <td align=\"center\">&nbsp;</td>\r\n"
                       "    <td align=\"center\">一年级01班</td>"),
            std::string::npos);
}

TEST_F(CheckInSheets, FieldSheetsHaveThirteenRowsAPageAndFillTheLastWithNumberedRows) {
  const std::string heights = Sheet(4);  // 15 girls, ten heights
  EXPECT_EQ(heights.find("<div class=\"supaikuang\"><div class=\"Tssldiv\"><div style=\"font-size:150%; text-align:center;\">"
                         "田 赛 检 录 表</div>"),
            0u);
  EXPECT_EQ(CountOf(heights, "<div class=\"fysupaikuang\"><div class=\"Tssldiv\">"), 1);
  EXPECT_EQ(CountOf(heights, "<tr align=\"center\" style=\"line-height:200%;\">"), 26);
  EXPECT_EQ(CountOf(heights, "<td>&nbsp;</td>"), 26 * 33);
  EXPECT_NE(heights.find("<td>15</td><td>315</td><td>女115</td><td>一年级02班</td>"), std::string::npos);
  EXPECT_NE(heights.find("<td>3</td><td></td><td></td><td></td>"), std::string::npos);
  EXPECT_EQ(heights.find("<td>2</td><td></td>"), std::string::npos);
  EXPECT_NE(heights.find("最终<br />成绩"), std::string::npos);
  EXPECT_TRUE(heights.ends_with("</tr>\r\n</table><br />记录员：____________________裁判员：____________________</div></div>"));

  const std::string jumps = Sheet(8);  // 110 girls, six attempts
  EXPECT_EQ(CountOf(jumps, "<div class=\"fysupaikuang\">"), 8);
  EXPECT_EQ(CountOf(jumps, "<tr align=\"center\" style=\"line-height:200%;\">"), 117);
  EXPECT_NE(jumps.find("<td>110</td><td>530</td><td>女330</td>"), std::string::npos);
  EXPECT_EQ(CountOf(jumps, "<td>&nbsp;</td>"), 117 * 10);
  EXPECT_NE(jumps.find("前三轮<br />最优成绩"), std::string::npos);
}

}  // namespace

}  // namespace korva
