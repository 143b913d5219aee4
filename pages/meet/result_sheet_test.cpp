#include "pages/meet/result_sheet.h"

#include <gtest/gtest.h>

#include "database/lookups.h"
#include "tests/testing/print_meet.h"
#include "tests/testing/text_count.h"

namespace korva {

namespace {

// The cells of every row of a sheet, "|"-joined, rows by "\n".
std::string Cells(const std::string& sheet) {
  std::string rows;
  for (std::size_t at = sheet.find("<tr>\r\n<td style"); at != std::string::npos;
       at = sheet.find("<tr>\r\n<td style", at + 1)) {
    const std::size_t end = sheet.find("</tr>", at);
    std::string row;
    for (std::size_t cell = sheet.find("\">", sheet.find("<td", at)); cell < end;
         cell = sheet.find("\">", sheet.find("<td", cell + 1))) {
      row += (row.empty() ? "" : "|") + sheet.substr(cell + 2, sheet.find("</td>", cell) - cell - 2);
      if (sheet.find("<td", cell + 1) > end) break;
    }
    rows += (rows.empty() ? "" : "\n") + row;
  }
  return rows;
}

class ResultSheet : public ::testing::Test {
 protected:
  void SetUp() override { OpenPrintMeet(meet_); }
  std::string Sheet(int round_id) {
    const RoundNode& round = *FindRoundById(round_id);
    const EventNode& event = *FindEventOfRound(round);
    const GroupNode& group = *FindGroupById(FindContestById(round.ContestId)->GroupId);
    std::string out = "before ";
    BuildResultSheet(LanesOfRound(round_id), out, round, event, group);
    return out;
  }
  MeetFixture meet_;
};

TEST_F(ResultSheet, TiesKeepTheirLaneOrderAndTeamsShowOnlyTheirClass) {
  const std::string jump = Cells(Sheet(3));
  EXPECT_NE(jump.find("4|004|男4|一年级02班|4.60|第4名|5分|\n5|005|男5|一年级03班|4.60|第4名|4分|"), std::string::npos);
  EXPECT_EQ(Cells(Sheet(6)),
            "1|&nbsp;|&nbsp;|一年级01班|50|第1名|&nbsp;|\n"
            "2|&nbsp;|&nbsp;|一年级02班|50.10|第2名|&nbsp;|\n"
            "3|&nbsp;|&nbsp;|一年级03班|50.20|第3名|&nbsp;|");
  EXPECT_NE(Sheet(6).find("一年级 男子 团队 4x100米接力 决赛"), std::string::npos);
}

TEST_F(ResultSheet, ARoundNotCountedHasNoData) { EXPECT_EQ(Sheet(4), "无数据！"); }

TEST_F(ResultSheet, TwentyTwoRowsToAPageAndANewPageForEachFromTwentyFiveOn) {
  std::string sheet = Sheet(7);
  EXPECT_EQ(CountOf(sheet, "<div class=\"jsfdfydiv\">"), 6);  // 120 rows: 22 a page
  EXPECT_EQ(CountOf(sheet, "</table></div>"), 6);
  EXPECT_EQ(CountOf(sheet, "<tr>\r\n<td style"), 120);
  EXPECT_NE(sheet.find(">120</td>"), std::string::npos);
  EXPECT_NE(sheet.find("第120名"), std::string::npos);
  // 24 placed: one page class, 22 rows and the head again with the last 2.
  for (LaneNode& lane : LanesOfRound(7))
    if (lane.Lane > 24) lane.Place = 0;
  sheet = Sheet(7);
  EXPECT_EQ(CountOf(sheet, "<div class=\"jsfzdiv\">"), 2);
  EXPECT_EQ(CountOf(sheet, "jsfdfydiv"), 0);
  const std::size_t second_head = sheet.find("<div class=\"jsfzdiv\">", 20);
  EXPECT_EQ(CountOf(sheet.substr(0, second_head), "<tr>\r\n<td style"), 22);
  EXPECT_EQ(CountOf(sheet.substr(second_head), "<tr>\r\n<td style"), 2);
}

TEST_F(ResultSheet, AMissingAthleteEndsTheSheetAfterTheRowsWritten) {
  std::erase_if(Model().AthleteList, [](const AthleteNode& a) { return a.Id == 3; });
  const std::string sheet = Sheet(2);
  EXPECT_EQ(CountOf(sheet, "<tr>\r\n<td style"), 2);
  EXPECT_EQ(sheet.find("</table></div>"), std::string::npos);
}

}  // namespace

}  // namespace korva
