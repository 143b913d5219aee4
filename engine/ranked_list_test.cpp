#include "engine/ranked_list.h"

#include <gtest/gtest.h>

#include <vector>

#include "database/data_lock.h"
#include "engine/round_lookups.h"

namespace {

// Contest 7 with a preliminary (round 70) and a final after it (round 71).
class RankedListTest : public ::testing::Test {
 protected:
  RankedListTest() {
    Model() = MeetModel{};
    ContestNode contest;
    contest.Id = 7;
    Model().ContestList.push_back(contest);
    AddRound(70, kPrelim);
    AddRound(71, kFinalAfterPrelim);
    event_.PaiXuType = 1;
  }
  ~RankedListTest() override { Model() = MeetModel{}; }

  void AddRound(int id, int kind) {
    RoundNode r;
    r.Id = id;
    r.ContestId = 7;
    r.Kind = kind;
    Model().RoundList.push_back(r);
  }
  // Lanes are added in LaneList order (round, heat, lane).
  void AddLane(int round, int heat, int lane, int athlete, ScoreValue result, int status = 0) {
    LaneNode n;
    n.Id = static_cast<int>(Model().LaneList.size()) + 1;
    n.RoundId = round;
    n.Heat = heat;
    n.Lane = lane;
    n.AthleteId = athlete;
    n.Result = result;
    n.Status = status;
    Model().LaneList.push_back(n);
  }
  std::vector<int> RankedAthletes() {
    auto ranked = BuildRankedList(Model().RoundList[0], event_);
    std::vector<int> ids;
    if (!ranked) return {-1};
    for (const LaneNode& n : *ranked) ids.push_back(n.AthleteId);
    return ids;
  }

  DataGuard hold_{DataLock};
  EventNode event_;
};

TEST_F(RankedListTest, BestFirstWithTiesInListOrder) {
  AddLane(69, 1, 1, 99, 1);  // another round
  AddLane(70, 1, 1, 1, 1300);
  AddLane(70, 1, 2, 2, 1250);
  AddLane(70, 1, 3, 3, 1300);
  AddLane(70, 2, 1, 4, 1250);
  AddLane(70, 2, 2, 5, 1200);
  AddLane(71, 1, 1, 98, 1);  // another round
  EXPECT_EQ(RankedAthletes(), (std::vector<int>{5, 2, 4, 1, 3}));
  event_.PaiXuType = 2;
  EXPECT_EQ(RankedAthletes(), (std::vector<int>{1, 3, 2, 4, 5}));
}

TEST_F(RankedListTest, StatusesAreLeftOutAndTeamsCountOnce) {
  AddLane(70, 1, 1, 1, 500);
  AddLane(70, 1, 1, 2, 500);  // teammate of athlete 1
  AddLane(70, 1, 2, 3, kNoResult, 1);
  AddLane(70, 1, 3, 4, 400);
  AddLane(70, 1, 3, 5, 400);
  EXPECT_EQ(RankedAthletes(), (std::vector<int>{4, 1}));
}

TEST_F(RankedListTest, AMissingResultGivesNoList) {
  AddLane(70, 1, 1, 1, 500);
  AddLane(70, 1, 2, 2, kNoResult, 2);
  AddLane(70, 2, 1, 3, 450);
  AddLane(70, 2, 2, 4, kNoResult);
  EXPECT_EQ(RankedAthletes(), (std::vector<int>{-1}));
  Model().LaneList.clear();
  EXPECT_EQ(RankedAthletes(), (std::vector<int>{}));  // no lanes: an empty list
}

TEST_F(RankedListTest, FinalStateAndAthletesInTheFinal) {
  EXPECT_EQ(GetFinalState(8), -1);
  EXPECT_EQ(GetFinalState(7), 0);
  AddLane(70, 1, 1, 1, 500);
  AddLane(71, 1, 1, 1, kNoResult);
  EXPECT_EQ(GetFinalState(7), 1);
  EXPECT_EQ(IsAthleteInFinal(70, 1), 1);
  EXPECT_EQ(IsAthleteInFinal(70, 2), 0);
  EXPECT_EQ(IsAthleteInFinal(99, 1), 0);
  Model().LaneList.back().Status = 1;
  EXPECT_EQ(GetFinalState(7), 2);
  Model().LaneList.back().Status = 0;
  Model().LaneList.back().Result = 480;
  EXPECT_EQ(GetFinalState(7), 2);
  EXPECT_EQ(RoundHasResults(71), 1);
  EXPECT_EQ(ContestHasResults(7), 1);
  Model().RoundList.pop_back();
  EXPECT_EQ(GetFinalState(7), -1);
  EXPECT_EQ(IsAthleteInFinal(70, 1), 0);
}

}  // namespace
