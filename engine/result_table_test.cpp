#include "engine/result_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/lookups.h"
#include "database/open_meet.h"
#include "engine/scoring_test_support.h"

namespace korva {

namespace {

class PrintQueue : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenScoringMeet(fixture_);
    AttachPrintQueue();
  }
  void TearDown() override { SetPrintQueueRebuildHook(nullptr); }
  // Counts, in RoundList order, the girls' preliminary (seeding its final),
  // the boys' 100米, 200米 and relay.
  void CountFourRounds() {
    const char* prelim[] = {"12.00", "12.10", "12.20", "12.30", "12.40", "12.50", "12.60", "12.70", "12.80", "12.90"};
    for (int i = 0; i < 10; ++i) Upload(6, 101 + i, prelim[i]);
    for (int athlete = 1; athlete <= 10; ++athlete) Upload(1, athlete, "13." + std::to_string(10 + athlete));
    for (int athlete = 1; athlete <= 8; ++athlete) Upload(3, athlete, "26." + std::to_string(10 + athlete), 0, 1, 2700);
    Upload(5, 13, "50.00");
    Upload(5, 17, "49.00");
    Upload(5, 21, "51.00");
  }
  MeetFixture fixture_;
};

TEST_F(PrintQueue, EachCountedRoundArrivesAtTheHeadWithTheNextNumber) {
  CountFourRounds();
  std::vector<std::pair<int, int>> queued;
  for (const ResultPrintItem& item : Model().PrintQueue) queued.emplace_back(item.Sequence, item.RoundId);
  EXPECT_EQ(queued, (std::vector<std::pair<int, int>>{{4, 5}, {3, 3}, {2, 1}, {1, 6}}));
  const ResultPrintItem& relay = Model().PrintQueue.front();
  EXPECT_EQ(relay.Title, "一年级 男子 团队 4x100米接力 决赛");
  EXPECT_EQ(std::tie(relay.EventType, relay.RoundKind, relay.GradeId, relay.Refresh), std::tuple(1, 3, 1, 0));
  EXPECT_EQ(relay.ResultTable,
            "<div class=\"GSdiv\">\r\n  <div>\r\n  <div style=\"float:left\">一年级 男子 团队 4x100米接力 决赛</div>\r\n"
            " <div style=\"float:right\">单位：秒&nbsp;&nbsp;</div>\r\n </div> <br />\r\n"
            " <table width=\"99%\" border=\"1\">\r\n  <tr align=\"center\">\r\n    <td>序号</td>\r\n    <td>号码</td>\r\n"
            "    <td>姓名</td>\r\n    <td>班级</td>\r\n    <td>比赛成绩</td>\r\n    <td>名次</td>\r\n    <td>得分</td>\r\n"
            "\t<td>备注</td>\r\n  </tr>\r\n"
            "<tr align=\"center\">\r\n<td style=\"text-align:center;\">1</td>\r\n    <td>&nbsp;</td>\r\n"
            "    <td>&nbsp;</td>\r\n    <td>一年级02班</td>\r\n    <td>49秒</td>\r\n\t<td>第1名</td>\r\n\t<td>9分</td>\r\n"
            "    <td></td>\r\n</tr>\r\n"
            "<tr align=\"center\">\r\n<td style=\"text-align:center;\">2</td>\r\n    <td>&nbsp;</td>\r\n"
            "    <td>&nbsp;</td>\r\n    <td>一年级01班</td>\r\n    <td>50秒</td>\r\n\t<td>第2名</td>\r\n\t<td>7分</td>\r\n"
            "    <td></td>\r\n</tr>\r\n"
            "<tr align=\"center\">\r\n<td style=\"text-align:center;\">3</td>\r\n    <td>&nbsp;</td>\r\n"
            "    <td>&nbsp;</td>\r\n    <td>一年级03班</td>\r\n    <td>51秒</td>\r\n\t<td>第3名</td>\r\n\t<td>6分</td>\r\n"
            "    <td></td>\r\n</tr>\r\n</table></div>\r\n");
  // The preliminary lists its eight qualifiers only, each "录取".
  const std::string& prelim = Model().PrintQueue.back().ResultTable;
  EXPECT_NE(prelim.find("<td>进入决赛</td>"), std::string::npos);
  EXPECT_NE(prelim.find(">8</td>\r\n    <td>108</td>\r\n    <td>女108</td>"), std::string::npos);
  EXPECT_EQ(prelim.find(">9</td>"), std::string::npos);
  // The 200米 beat the record of 27.00: 破记录 and the bonus.
  EXPECT_NE(Model().PrintQueue[1].ResultTable.find("<td>21分</td>\r\n    <td>破记录</td>"), std::string::npos);
}

TEST_F(PrintQueue, ARestartBuildsTheSameQueueAndARecountMovesItsRound) {
  CountFourRounds();
  std::vector<ResultPrintItem> before = Model().PrintQueue;
  ASSERT_EQ(OpenCurrentMeet(0), 0);
  // A board left open from before reloads on the head's flag.
  before.front().Refresh = 1;
  EXPECT_EQ(Model().PrintQueue, before);

  // Counted again, the 100米 leaves its place (the head's number goes up and
  // the board is told to reload) and comes back at the head.
  ASSERT_EQ(Upload(1, 0, "0", 0, kUploadRecount).code, kReplyCounted);
  std::vector<std::tuple<int, int, int>> queued;
  for (const ResultPrintItem& item : Model().PrintQueue) queued.emplace_back(item.Sequence, item.RoundId, item.Refresh);
  EXPECT_EQ(queued, (std::vector<std::tuple<int, int, int>>{{6, 1, 0}, {5, 5, 1}, {3, 3, 0}, {1, 6, 0}}));
}

TEST_F(PrintQueue, AMissingAthleteLeavesTheTableEmpty) {
  DataGuard hold(DataLock);
  const RoundNode& round = *FindRoundById(1);
  std::vector<LaneNode> lanes = {{.RoundId = 1, .Heat = 1, .Lane = 1, .AthleteId = 1, .Result = 1300, .Place = 1},
                                 {.RoundId = 1, .Heat = 1, .Lane = 2, .AthleteId = 999, .Result = 1310, .Place = 2}};
  const EventNode& event = *FindEventById(901);
  const GroupNode& group = *FindGroupById(11);
  EXPECT_EQ(BuildResultTableBlock(event, "t", round, group, lanes), "");
  lanes.pop_back();
  EXPECT_NE(BuildResultTableBlock(event, "t", round, group, lanes).find("<td>男1</td>"), std::string::npos);
  lanes[0].Place = 0;
  EXPECT_EQ(BuildResultTableBlock(event, "t", round, group, lanes), "");
}

}  // namespace

}  // namespace korva
