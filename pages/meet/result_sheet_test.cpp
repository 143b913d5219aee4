#include "pages/meet/result_sheet.h"

#include <gtest/gtest.h>

#include "database/lookups.h"
#include "tests/testing/print_meet.h"
#include "tests/testing/text_count.h"

namespace korva {

namespace {

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

}  // namespace

}  // namespace korva
