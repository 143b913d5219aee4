#include "engine/ranked_list.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "database/data_lock.h"
#include "engine/round_lookups.h"

namespace korva {

namespace {

#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

// Contest 7 with a preliminary (round 70) and a final after it (round 71).
class RankedListTest : public ::testing::Test {
 protected:
  RankedListTest() {
    Model() = MeetModel{};
    Model().ContestList.push_back({.Id = 7});
    Model().RoundList = {{.Id = 70, .ContestId = 7, .Kind = kPrelim}, {.Id = 71, .ContestId = 7, .Kind = kFinalAfterPrelim}};
  }
  ~RankedListTest() override { Model() = MeetModel{}; }

  // Lanes {round, heat, lane, athlete, result, status}, in LaneList order.
  void AddLanes(const std::vector<std::tuple<int, int, int, int, ScoreValue, int>>& lanes) {
    for (auto [round, heat, lane, athlete, result, status] : lanes)
      Model().LaneList.push_back({.Id = static_cast<int>(Model().LaneList.size()) + 1, .RoundId = round,
                                  .Heat = heat, .Lane = lane, .AthleteId = athlete, .Result = result, .Status = status});
  }
  // The preliminary's ranked athletes; {-1} for no list.
  std::vector<int> RankedAthletes(int direction) {
    const auto ranked = BuildRankedList(Model().RoundList[0], {.PaiXuType = direction});
    if (!ranked) return {-1};
    std::vector<int> ids;
    for (const LaneNode& n : *ranked) ids.push_back(n.AthleteId);
    return ids;
  }

  DataGuard hold_{DataLock};
};

TEST_F(RankedListTest, BestFirstWithTiesInListOrder) {
  AddLanes({{69, 1, 1, 99, 1, 0}, {70, 1, 1, 1, 1300, 0}, {70, 1, 2, 2, 1250, 0}, {70, 1, 3, 3, 1300, 0},
            {70, 2, 1, 4, 1250, 0}, {70, 2, 2, 5, 1200, 0}, {71, 1, 1, 98, 1, 0}});
  EXPECT_EQ(RankedAthletes(1), (std::vector<int>{5, 2, 4, 1, 3}));
  EXPECT_EQ(RankedAthletes(2), (std::vector<int>{1, 3, 2, 4, 5}));
}

TEST_F(RankedListTest, StatusesAreLeftOutTeamsCountOnceAndAMissingResultGivesNone) {
  // Athletes 1 and 2, 4 and 5 are class teams sharing a lane.
  AddLanes({{70, 1, 1, 1, 500, 0}, {70, 1, 1, 2, 500, 0}, {70, 1, 2, 3, kNoResult, 1}, {70, 1, 3, 4, 400, 0},
            {70, 1, 3, 5, 400, 0}});
  EXPECT_EQ(RankedAthletes(1), (std::vector<int>{4, 1}));
  AddLanes({{70, 2, 1, 6, kNoResult, 0}, {70, 2, 2, 7, 450, 0}});
  EXPECT_EQ(RankedAthletes(1), (std::vector<int>{-1}));
  // A round whose lanes all hold a status, or that has none, gives none.
  Model().LaneList = {};
  AddLanes({{70, 1, 1, 1, kNoResult, 2}});
  EXPECT_EQ(RankedAthletes(1), (std::vector<int>{-1}));
  Model().LaneList = {};
  EXPECT_EQ(RankedAthletes(1), (std::vector<int>{-1}));
}

TEST_F(RankedListTest, FinalStateAndAthletesInTheFinal) {
  EXPECT_EQ(GetFinalState(8), -1);
  EXPECT_EQ(GetFinalState(7), 0);
  AddLanes({{70, 1, 1, 1, 500, 0}, {71, 1, 1, 1, kNoResult, 0}});
  EXPECT_EQ(GetFinalState(7), 1);
  EXPECT_EQ(std::tuple(IsAthleteInFinal(70, 1), IsAthleteInFinal(70, 2), IsAthleteInFinal(99, 1)), std::tuple(1, 0, 0));
  Model().LaneList.back().Status = 1;
  EXPECT_EQ(GetFinalState(7), 2);
  Model().LaneList.back() = {.RoundId = 71, .Result = 480};
  EXPECT_EQ(GetFinalState(7), 2);
  EXPECT_EQ(ContestHasResults(7), 1);
  Model().RoundList.pop_back();
  EXPECT_EQ(GetFinalState(7), -1);
  EXPECT_EQ(IsAthleteInFinal(70, 1), 0);
}

}  // namespace

}  // namespace korva
