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
  auto row = [](int class_no, ScoreValue result, int place, PointsValue points) {
    return ResultTableRow{.ClassName = "一年级0" + std::to_string(class_no) + "班", .Result = result, .Place = place,
                          .Points = points};
  };
  EXPECT_EQ(relay.ResultRows, (std::vector<ResultTableRow>{row(2, 4900, 1, 900), row(1, 5000, 2, 700),
                                                           row(3, 5100, 3, 600)}));
  EXPECT_EQ(std::tie(relay.Unit, relay.Individual), std::tuple("秒", false));
  // The preliminary lists its eight qualifiers only.
  const std::vector<ResultTableRow>& prelim = Model().PrintQueue.back().ResultRows;
  ASSERT_EQ(prelim.size(), 8u);
  EXPECT_EQ(std::tie(prelim[7].BibText, prelim[7].Name), std::tuple("108", "女108"));
  // The 200米 beat the record of 27.00: 破记录 and the bonus.
  EXPECT_EQ(std::tie(Model().PrintQueue[1].ResultRows[0].Points, Model().PrintQueue[1].ResultRows[0].RecordFlag),
            std::tuple(2100, 2));
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
  EXPECT_TRUE(CollectResultRows(event, round, group, lanes).empty());
  lanes.pop_back();
  const std::vector<ResultTableRow> one = CollectResultRows(event, round, group, lanes);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].Name, "男1");
  lanes[0].Place = 0;
  EXPECT_TRUE(CollectResultRows(event, round, group, lanes).empty());
}

}  // namespace

}  // namespace korva
