#include "engine/draw_steps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>
#include <set>

#include "database/data_lock.h"
#include "engine/draw_test_meet.h"

namespace {

TEST(FirstLaneOfHeat, ShortHeatsRunInTheMiddleLanes) {
  EXPECT_EQ(FirstLaneOfHeat(8, 8, 0), 1);
  EXPECT_EQ(FirstLaneOfHeat(8, 5, 0), 2);  // lanes 2..6
  EXPECT_EQ(FirstLaneOfHeat(6, 4, 1), 1);  // heats of 5 on six lanes
  EXPECT_EQ(FirstLaneOfHeat(6, 4, 0), 2);
  EXPECT_EQ(FirstLaneOfHeat(5, 1, 0), 3);
  EXPECT_EQ(FirstLaneOfHeat(4, 2, 0), 2);
  EXPECT_EQ(FirstLaneOfHeat(3, 1, 0), 2);
  EXPECT_EQ(FirstLaneOfHeat(2, 1, 0), 1);
  EXPECT_EQ(FirstLaneOfHeat(13, 1, 0), 7);
}

TEST(PickLane, AClassAvoidsItsLastLaneWhileAnotherIsLeft) {
  DataGuard hold(DataLock);
  FreeLaneMemoryList();
  LaneMemoryList.push_back({7, 3});
  std::vector<int> slots = {3, 4, 5};
  int toggle = 0;
  // size 2: lanes 3 and 4 count, 5 never does.
  EXPECT_EQ(PickLane(slots, 3, 2, 7, toggle), 4);
  EXPECT_EQ(LaneMemoryList.front().LastLane, 4);
  slots = {3, 0, 5};
  LaneMemoryList.front().LastLane = 3;
  EXPECT_EQ(PickLane(slots, 3, 2, 7, toggle), 3);  // nothing else is left
  EXPECT_EQ(PickLane(slots, 3, 2, 7, toggle), 0);  // nothing at all is left
  EXPECT_EQ(PickLane(slots, 3, 0, 7, toggle), 1);
  // A class met for the first time is remembered.
  slots = {9, 8};
  EXPECT_EQ(PickLane(slots, 8, 2, 5, toggle), 9);
  EXPECT_EQ(LaneMemoryList.back().ClassKey, 5);
  FreeLaneMemoryList();
}

LaneNode Placed(int key, int heat, int lane, int athlete) {
  LaneNode n;
  n.Key = n.ClassId = key;
  n.Heat = heat;
  n.Lane = lane;
  n.AthleteId = athlete;
  return n;
}

int LaneOf(const std::vector<LaneNode>& lanes, int athlete) {
  for (const LaneNode& n : lanes)
    if (n.AthleteId == athlete) return n.Lane;
  return -1;
}

TEST(SeparateClassNeighbours, MovesAClassmateOffTheNextLane) {
  std::vector<LaneNode> lanes = {Placed(1, 1, 3, 10), Placed(1, 1, 4, 11), Placed(2, 1, 5, 12),
                                 Placed(1, 2, 4, 13)};
  SeparateClassNeighbours(lanes);
  EXPECT_EQ(LaneOf(lanes, 10), 3);
  EXPECT_EQ(LaneOf(lanes, 11), 5);
  EXPECT_EQ(LaneOf(lanes, 12), 4);
  EXPECT_EQ(LaneOf(lanes, 13), 4);  // another heat is not a neighbour
}

TEST(SeparateClassNeighbours, NoSwapWithoutALaneTwoOn) {
  std::vector<LaneNode> lanes = {Placed(1, 1, 7, 10), Placed(1, 1, 8, 11)};
  SeparateClassNeighbours(lanes);
  EXPECT_EQ(LaneOf(lanes, 10), 7);
  EXPECT_EQ(LaneOf(lanes, 11), 8);
}

TEST(PlacesOfFinal, AdmitOneLessRanksOneFewer) {
  DataGuard hold(DataLock);
  ContestNode contest;
  contest.Places = 6;
  Model().AdmitOneLess = 1;
  EXPECT_EQ(PlacesOfFinal(contest, 5), 4);
  EXPECT_EQ(PlacesOfFinal(contest, 6), 5);
  EXPECT_EQ(PlacesOfFinal(contest, 1), 1);
  EXPECT_EQ(PlacesOfFinal(contest, 7), 6);
  EXPECT_EQ(PlacesOfFinal(contest, 0), 0);
  Model().AdmitOneLess = 0;
  EXPECT_EQ(PlacesOfFinal(contest, 5), 6);
  Model() = MeetModel{};
}

// Every round of many generated meets, drawn under many seeds, keeps the
// promises of the draw.
TEST(DrawRoundLanes, InvariantsOverGeneratedMeets) {
  DataGuard hold(DataLock);
  std::mt19937 gen(4242);
  for (int meet = 0; meet < 600; ++meet) {
    const DrawShape shape = RandomDrawShape(gen);
    BuildDrawMeet(shape);
    std::srand(meet);
    FreeLaneMemoryList();
    DrawEveryRoundInModel();
    SCOPED_TRACE(DescribeShape(shape));
    CheckDrawnMeet(shape);
    if (HasFatalFailure() || HasNonfatalFailure()) break;
  }
  FreeLaneMemoryList();
  Model() = MeetModel{};
}

// With classes of equal size and at least as many classes as a heat holds,
// no heat has two athletes of one class.
TEST(DrawRoundLanes, ClassmatesAreSpreadOverTheHeats) {
  DataGuard hold(DataLock);
  std::mt19937 gen(77);
  int checked = 0;
  for (int meet = 0; meet < 400; ++meet) {
    DrawShape shape = RandomDrawShape(gen);
    shape.TuanTiType = 1;
    const int per_class = 1 + meet % 4;
    std::fill(shape.Boys.begin(), shape.Boys.end(), per_class);
    BuildDrawMeet(shape);
    std::srand(meet);
    FreeLaneMemoryList();
    DrawEveryRoundInModel();
    std::map<std::pair<int, int>, std::vector<int>> heats;  // (round, heat) -> classes
    for (const LaneNode& n : Model().LaneList)
      if (n.RoundId % 1000 != 0 && n.RoundId < 2000) heats[{n.RoundId, n.Heat}].push_back(n.ClassId);
    std::size_t largest = 0;
    for (auto& [key, classes] : heats) largest = std::max(largest, classes.size());
    if (largest > shape.Boys.size()) continue;
    ++checked;
    for (auto& [key, classes] : heats) {
      std::set<int> distinct(classes.begin(), classes.end());
      EXPECT_EQ(distinct.size(), classes.size()) << DescribeShape(shape);
    }
  }
  EXPECT_GT(checked, 100);
  FreeLaneMemoryList();
  Model() = MeetModel{};
}

TEST(DrawRoundLanes, SkipsARoundWhoseVenueIsMissing) {
  DataGuard hold(DataLock);
  std::mt19937 gen(5);
  BuildDrawMeet(RandomDrawShape(gen));
  Model().VenueList.clear();
  int next_id = 1;
  RoundNode round = Model().RoundList.front();
  const RoundDraw draw = DrawRoundLanes(Model().RoundList.front(), next_id);
  EXPECT_EQ(draw.Result, 1);
  EXPECT_EQ(next_id, 1);
  EXPECT_TRUE(Model().LaneList.empty());
  EXPECT_EQ(Model().RoundList.front().Entrants, round.Entrants);
  Model() = MeetModel{};
}

}  // namespace
