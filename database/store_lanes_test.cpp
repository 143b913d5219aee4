#include "database/store_lanes.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "database/data_error.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "database/store_test_support.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

// Contest 1 (100米): preliminary round 1 and final round 2; contest 2
// (4×100米): round 3 with one class team of four; contest 3 (跳远): direct
// final round 4; contest 4: preliminary round 5 without a final.
const char* kLanesSql = R"sql(
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb381) VALUES (1, 1, 1, 6);
INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429) VALUES (1, 1, 3, 1), (2, 1, 14, 0), (3, 1, 9, 0), (4, 1, 1, 1);
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb455, qrtb456, qrtb457, qrtb458) VALUES
    (1, 1, 1, 1, 2, 3, 5201030), (2, 1, 2, 0, 0, 0, 0), (3, 2, 3, 0, 0, 0, 0),
    (4, 3, 3, 1, 1, 1, 5201100), (5, 4, 1, 1, 1, 1, 5201100);
INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb413, qrtb414, qrtb415)
    VALUES (1, '甲', 1, 1, 1), (2, '乙', 1, 1, 1), (3, '丙', 1, 1, 1), (4, '丁', 1, 1, 1);
INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486, qrtb487, qrtb488, qrtb489) VALUES
    (1, 1, 1, 1, 1, 1200, 0, 999, 600, 2), (2, 1, 1, 2, 2, 1250, 0, 999, 300, 1),
    (3, 1, 1, 3, 3, 1300, 0, 3, 0, 0), (4, 1, 1, 4, 4, 1400, 0, 4, 0, 0),
    (5, 2, 1, 1, 1, NULL, 0, 0, 0, 0), (6, 2, 1, 2, 2, NULL, 0, 0, 0, 0),
    (7, 3, 1, 2, 1, NULL, 0, 0, 0, 0), (8, 3, 1, 2, 2, NULL, 0, 0, 0, 0),
    (9, 3, 1, 2, 3, NULL, 0, 0, 0, 0), (10, 3, 1, 2, 4, NULL, 0, 0, 0, 0),
    (11, 4, 1, 1, 1, 300, 0, 1, 900, 1), (12, 5, 1, 1, 2, 500, 0, 999, 0, 0);
)sql";

class Lanes : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture_.OpenNewMeet(kLanesSql);
    // Rounds 1, 4 and 5 wait in the print queue, 5 at its head.
    Model().PrintQueue = {{.Sequence = 3, .RoundId = 5}, {.Sequence = 2, .RoundId = 4}, {.Sequence = 1, .RoundId = 1}};
    Model().PrintQueueTop = 3;
  }
  // The rounds in the queue, head first.
  static std::vector<int> QueuedRounds() {
    std::vector<int> rounds;
    for (const ResultPrintItem& item : Model().PrintQueue) rounds.push_back(item.RoundId);
    return rounds;
  }
  MeetFixture fixture_;
};

// A round's lanes in the file; LaneList must hold the same number.
int LaneCount(int round_id) {
  int in_list = 0;
  for (const LaneNode& l : Model().LaneList) in_list += l.RoundId == round_id;
  int stored = MeetInt("SELECT COUNT(*) FROM qrtb479 WHERE qrtb481 = " + std::to_string(round_id));
  EXPECT_EQ(in_list, stored);
  return stored;
}

TEST_F(Lanes, ClearingAPreliminaryDropsItsFinalsLanesAndKeepsItsQualifiers) {
  RoundNode& prelim = *FindRoundById(1);
  ASSERT_EQ(ClearRoundRanking(prelim), 0);
  EXPECT_EQ(LaneCount(2), 0);
  EXPECT_EQ(LaneCount(1), 4);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb479 WHERE qrtb481 = 1 AND qrtb487 = 999"), 2);
  EXPECT_EQ(MeetText("SELECT qrtb455, qrtb456, qrtb457, qrtb458 FROM qrtb444 WHERE qrtb445 = 1"), "0|0|0|0");
  EXPECT_EQ(prelim.ResultPrints + prelim.CompletionStamp, 0);
  // A preliminary without a final: nothing to clear.
  EXPECT_EQ(ClearRoundRanking(*FindRoundById(5)), 0);
  EXPECT_EQ(MeetText("SELECT qrtb487, qrtb458 FROM qrtb479, qrtb444 WHERE qrtb480 = 12 AND qrtb445 = 5"),
            "999|5201100");
  // Leaving the queue raises the head's number and asks the board to reload.
  EXPECT_EQ(QueuedRounds(), (std::vector<int>{5, 4}));
  EXPECT_EQ(Model().PrintQueue.front().Sequence, 4);
  EXPECT_EQ(Model().PrintQueue.front().Refresh, 1);
}

TEST_F(Lanes, ClearingAFinalNullsPlacesPointsAndFlagsAndAFailedClearNothing) {
  std::string before = Dump({"qrtb479", "qrtb444"});
  FailOn("UPDATE", "qrtb444", "no_counters");
  EXPECT_EQ(ClearRoundRanking(*FindRoundById(4)), 1);
  EXPECT_EQ(ClearRoundRanking(*FindRoundById(1)), 1);
  EXPECT_EQ(Dump({"qrtb479", "qrtb444"}), before);
  EXPECT_EQ(FindFirstLaneOfRound(4)->Place, 1);
  EXPECT_EQ(LaneCount(2), 2);
  EXPECT_EQ(FindRoundById(1)->CompletionStamp, 5201030);
  EXPECT_EQ(QueuedRounds(), (std::vector<int>{5, 4, 1}));
  DropTrigger("no_counters");

  ASSERT_EQ(ClearRoundRanking(*FindRoundById(4)), 0);
  EXPECT_EQ(MeetText("SELECT qrtb487, qrtb488, qrtb489, qrtb485 FROM qrtb479 WHERE qrtb480 = 11"),
            "NULL|NULL|NULL|300");
  const LaneNode* lane = FindFirstLaneOfRound(4);
  EXPECT_EQ(lane->Place + lane->Points + lane->RecordFlag, 0);
  EXPECT_EQ(lane->Result, 300);
  EXPECT_EQ(FindRoundById(4)->CompletionStamp, 0);
  EXPECT_EQ(QueuedRounds(), (std::vector<int>{5, 1}));
}

TEST_F(Lanes, OneRecordBonusPerAthleteAndRecord) {
  // Athlete 1 broke the record in the preliminary: equalling it in the
  // final earns no second bonus.
  EXPECT_EQ(ResetPrelimLaneFlag(1, 1, 1), 1);
  EXPECT_EQ(MeetInt("SELECT qrtb489 FROM qrtb479 WHERE qrtb480 = 1"), 2);
  // Athlete 2 equalled it there and breaks it now: the preliminary lane
  // loses flag and bonus, in the file and the list, but stays a qualifier.
  EXPECT_EQ(ResetPrelimLaneFlag(1, 2, 2), 0);
  EXPECT_EQ(MeetText("SELECT qrtb487, qrtb488, qrtb489, qrtb485 FROM qrtb479 WHERE qrtb480 = 2"),
            "999|0|0|1250");
  const LaneNode* lane = FindFirstLaneOfRound(1) + 1;
  ASSERT_EQ(lane->Id, 2);
  EXPECT_EQ(lane->Place, 999);
  EXPECT_EQ(lane->Points + lane->RecordFlag, 0);
  EXPECT_EQ(ResetPrelimLaneFlag(1, 3, 2), 0);  // no flag
  EXPECT_EQ(ResetPrelimLaneFlag(2, 1, 2), 0);  // no preliminary
  EXPECT_EQ(ResetPrelimLaneFlag(1, 9, 2), 0);  // no lane
}

// A ranking that meets -1 rolls its whole unit back and reloads LaneList:
// the reset it made for another athlete before is undone with it, in the
// file and the list, so no bonus is lost or counted twice.
TEST_F(Lanes, AFailedResetGoesBackWithTheRankingThatMadeIt) {
  DataGuard hold(DataLock);
  ASSERT_TRUE(FailOn("UPDATE", "qrtb479", "no_update", "OLD.qrtb484 = 1"));
  {
    Transaction ranking(MeetConnection());
    ASSERT_EQ(ResetPrelimLaneFlag(1, 2, 2), 0);
    EXPECT_EQ(ResetPrelimLaneFlag(1, 1, 2), -1);
    EXPECT_EQ(FindFirstLaneOfRound(1)->RecordFlag, 2);  // the failed reset changed nothing
    ranking.Rollback();
  }
  DropTrigger("no_update");
  ASSERT_EQ(LoadLanes(), 0);
  EXPECT_EQ(Rows("SELECT qrtb488, qrtb489 FROM qrtb479 WHERE qrtb480 <= 2"), "600|2\n300|1");
  const LaneNode* lane = FindFirstLaneOfRound(1) + 1;
  EXPECT_EQ(std::pair(lane->Points, lane->RecordFlag), std::pair(300, 1));
}

}  // namespace

}  // namespace korva
