#include "database/store_lanes.h"

#include <gtest/gtest.h>

#include <vector>

#include "database/data_error.h"
#include "database/lookups.h"
#include "database/store_test_support.h"
#include "tests/testing/meet_fixture.h"

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

std::vector<int> hook_rounds;
void RecordHook(int round_id) { hook_rounds.push_back(round_id); }

int LaneCount(int round_id) {
  int in_list = 0;
  for (const LaneNode& l : Model().LaneList) in_list += l.RoundId == round_id;
  int stored = MeetInt("SELECT COUNT(*) FROM qrtb479 WHERE qrtb481 = " + std::to_string(round_id));
  EXPECT_EQ(in_list, stored);
  return stored;
}

LaneNode Lane(int id, int round, int heat, int lane, int athlete) {
  LaneNode n;
  n.Id = id;
  n.RoundId = round;
  n.Heat = heat;
  n.Lane = lane;
  n.AthleteId = athlete;
  return n;
}

TEST(InsertLaneList, AllRowsOrNone) {
  MeetFixture f;
  f.OpenNewMeet(kLanesSql);
  std::vector<LaneNode> lanes = {Lane(20, 2, 1, 3, 3), Lane(21, 2, 1, 4, 4)};
  ASSERT_EQ(InsertLaneList(lanes), 0);
  EXPECT_EQ(MeetText("SELECT COALESCE(qrtb485, 'null') || qrtb483 FROM qrtb479 WHERE qrtb480 = 21"), "null4");

  std::string before = TableDump("qrtb479");
  lanes = {Lane(22, 2, 2, 1, 3), Lane(21, 2, 2, 2, 4)};  // the second id is taken
  EXPECT_EQ(InsertLaneList(lanes), 1);
  EXPECT_EQ(LastDataErrorCode(), 450);
  EXPECT_EQ(TableDump("qrtb479"), before);
}

TEST(InsertNewLanes, TakesIdsAfterTheLargestAndKeepsThemOnFailure) {
  MeetFixture f;
  f.OpenNewMeet(kLanesSql);
  std::vector<LaneNode> lanes = {Lane(0, 2, 1, 3, 3), Lane(0, 2, 1, 4, 4)};
  ASSERT_EQ(InsertNewLanes(lanes), 0);
  EXPECT_EQ(lanes[0].Id, 13);
  EXPECT_EQ(lanes[1].Id, 14);
  EXPECT_EQ(MeetInt("SELECT qrtb484 FROM qrtb479 WHERE qrtb480 = 14"), 4);

  FailOn("INSERT", "qrtb479", "no_lanes");
  lanes = {Lane(0, 2, 2, 1, 3)};
  EXPECT_EQ(InsertNewLanes(lanes), 1);
  EXPECT_EQ(lanes[0].Id, 0);
}

TEST(LaneResults, EveryMemberOfATeamIsWritten) {
  MeetFixture f;
  f.OpenNewMeet(kLanesSql);
  LaneNode member = Lane(9, 3, 1, 2, 3);
  ASSERT_EQ(SaveLaneResult(member, 5123, 0, 800, 2), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb479 WHERE qrtb481 = 3 AND qrtb485 = 5123 AND"
                    " qrtb486 = 0 AND qrtb487 = 0 AND qrtb488 = 800 AND qrtb489 = 2"),
            4);
  ASSERT_EQ(SaveLaneResult(member, kNoResult, 1, 0, 0), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb479 WHERE qrtb481 = 3 AND qrtb485 IS NULL AND qrtb486 = 1"), 4);

  member.Place = 2;
  member.Points = 1400;
  member.RecordFlag = 1;
  ASSERT_EQ(SaveLanePlacing(member), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb479 WHERE qrtb481 = 3 AND qrtb487 = 2 AND"
                    " qrtb488 = 1400 AND qrtb489 = 1"),
            4);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb479 WHERE qrtb481 = 1 AND qrtb487 = 2"), 0);

  ASSERT_EQ(DeleteRoundLanes(3), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb479 WHERE qrtb481 = 3"), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb479"), 8);

  FailOn("UPDATE", "qrtb479", "no_update");
  member.RoundId = 1;
  member.Lane = 3;
  EXPECT_EQ(SaveLanePlacing(member), 1);
  EXPECT_EQ(LastDataErrorCode(), 178);
}

TEST(ClearRoundRanking, APreliminaryLosesItsFinalsLanesAndKeepsItsPlaces) {
  MeetFixture f;
  f.OpenNewMeet(kLanesSql);
  hook_rounds.clear();
  SetRemovePrintQueueItemHook(RecordHook);
  RoundNode& prelim = *FindRoundById(1);
  ASSERT_EQ(ClearRoundRanking(prelim), 0);
  SetRemovePrintQueueItemHook(nullptr);
  EXPECT_EQ(LaneCount(2), 0);
  EXPECT_EQ(LaneCount(1), 4);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb479 WHERE qrtb481 = 1 AND qrtb487 = 999"), 2);
  EXPECT_EQ(MeetInt("SELECT qrtb455 + qrtb456 + qrtb457 + qrtb458 FROM qrtb444 WHERE qrtb445 = 1"), 0);
  EXPECT_EQ(prelim.ResultPrints + prelim.CompletionStamp, 0);
  EXPECT_EQ(hook_rounds, std::vector<int>{1});

  // A preliminary without a final: nothing to clear.
  hook_rounds.clear();
  SetRemovePrintQueueItemHook(RecordHook);
  EXPECT_EQ(ClearRoundRanking(*FindRoundById(5)), 0);
  SetRemovePrintQueueItemHook(nullptr);
  EXPECT_TRUE(hook_rounds.empty());
  EXPECT_EQ(MeetInt("SELECT qrtb487 * 100 + qrtb458 / 1000000 FROM qrtb479, qrtb444"
                    " WHERE qrtb480 = 12 AND qrtb445 = 5"),
            99905);
}

TEST(ClearRoundRanking, AFinalLosesPlacesPointsAndFlags) {
  MeetFixture f;
  f.OpenNewMeet(kLanesSql);
  hook_rounds.clear();
  SetRemovePrintQueueItemHook(RecordHook);
  ASSERT_EQ(ClearRoundRanking(*FindRoundById(4)), 0);
  SetRemovePrintQueueItemHook(nullptr);
  EXPECT_EQ(MeetText("SELECT COALESCE(qrtb487, 'n') || COALESCE(qrtb488, 'n') || COALESCE(qrtb489, 'n')"
                     " || qrtb485 FROM qrtb479 WHERE qrtb480 = 11"),
            "nnn300");
  const LaneNode* lane = FindFirstLaneOfRound(4);
  EXPECT_EQ(lane->Place + lane->Points + lane->RecordFlag, 0);
  EXPECT_EQ(lane->Result, 300);
  EXPECT_EQ(FindRoundById(4)->CompletionStamp, 0);
  EXPECT_EQ(hook_rounds, std::vector<int>{4});
}

TEST(ClearRoundRanking, ADatabaseErrorChangesNothingAndSaysSo) {
  MeetFixture f;
  f.OpenNewMeet(kLanesSql);
  std::string before = TableDump("qrtb479") + TableDump("qrtb444");
  hook_rounds.clear();
  SetRemovePrintQueueItemHook(RecordHook);
  FailOn("UPDATE", "qrtb444", "no_counters");
  EXPECT_EQ(ClearRoundRanking(*FindRoundById(4)), 1);
  EXPECT_EQ(ClearRoundRanking(*FindRoundById(1)), 1);
  SetRemovePrintQueueItemHook(nullptr);
  EXPECT_EQ(TableDump("qrtb479") + TableDump("qrtb444"), before);
  EXPECT_EQ(FindFirstLaneOfRound(4)->Place, 1);
  EXPECT_EQ(LaneCount(2), 2);
  EXPECT_EQ(FindRoundById(1)->CompletionStamp, 5201030);
  EXPECT_TRUE(hook_rounds.empty());
}

TEST(ResetPrelimLaneFlag, OneBonusPerAthleteAndRecord) {
  MeetFixture f;
  f.OpenNewMeet(kLanesSql);
  // Athlete 1 broke the record in the preliminary: the final's equalling
  // gives no second bonus.
  EXPECT_EQ(ResetPrelimLaneFlag(1, 1, 1), 1);
  EXPECT_EQ(MeetInt("SELECT qrtb489 FROM qrtb479 WHERE qrtb480 = 1"), 2);
  // Athlete 2 equalled it there and now breaks it: the preliminary loses
  // flag and bonus but stays a qualifier.
  EXPECT_EQ(ResetPrelimLaneFlag(1, 2, 2), 0);
  EXPECT_EQ(MeetText("SELECT qrtb487 || '/' || qrtb488 || '/' || qrtb489 || '/' || qrtb485"
                     " FROM qrtb479 WHERE qrtb480 = 2"),
            "999/0/0/1250");
  const LaneNode* lane = nullptr;
  for (const LaneNode& l : Model().LaneList)
    if (l.Id == 2) lane = &l;
  ASSERT_NE(lane, nullptr);
  EXPECT_EQ(lane->Place, 999);
  EXPECT_EQ(lane->Points + lane->RecordFlag, 0);
  EXPECT_EQ(ResetPrelimLaneFlag(1, 3, 2), 0);   // no flag
  EXPECT_EQ(ResetPrelimLaneFlag(2, 1, 2), 0);   // no preliminary
  EXPECT_EQ(ResetPrelimLaneFlag(1, 9, 2), 0);   // no lane

  FailOn("UPDATE", "qrtb479", "no_update");
  EXPECT_EQ(ResetPrelimLaneFlag(1, 1, 2), -1);
  EXPECT_EQ(MeetInt("SELECT qrtb489 FROM qrtb479 WHERE qrtb480 = 1"), 2);
}

}  // namespace
