#include "engine/draw_steps.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "database/data_lock.h"
#include "engine/draw_test_meet.h"

namespace {

TEST(FirstLaneOfHeat, ShortHeatsRunInTheMiddleLanes) {
  EXPECT_EQ(FirstLaneOfHeat(8, 8, 0), 1);
  EXPECT_EQ(FirstLaneOfHeat(8, 5, 0), 2);  // lanes 2..6
  EXPECT_EQ(FirstLaneOfHeat(6, 4, 1), 1);  // heats of 5 on six lanes, then
  EXPECT_EQ(FirstLaneOfHeat(6, 4, 0), 2);  // heats of 4 from lane 2
  EXPECT_EQ(FirstLaneOfHeat(5, 1, 0), 3);
  EXPECT_EQ(FirstLaneOfHeat(3, 1, 0), 2);
  EXPECT_EQ(FirstLaneOfHeat(13, 1, 0), 7);
}

TEST(PickLane, AClassAvoidsItsLastLaneWhileAnotherIsLeft) {
  DataGuard hold(DataLock);
  FreeLaneMemoryList();
  LaneMemoryList.push_back({7, 3});
  std::vector<int> slots = {3, 4, 5};
  int toggle = 0;
  EXPECT_EQ(PickLane(slots, 3, 2, 7, toggle), 4);  // size 2: lane 5 never counts
  LaneMemoryList.front().LastLane = 3;
  EXPECT_EQ(PickLane(slots, 3, 2, 7, toggle), 3);  // nothing else is left
  EXPECT_EQ(PickLane(slots, 3, 2, 7, toggle), 0);  // nothing at all is left
  slots = {9, 8};
  EXPECT_EQ(PickLane(slots, 8, 2, 5, toggle), 9);  // a new class is remembered
  EXPECT_EQ(LaneMemoryList.back().ClassKey, 5);
  FreeLaneMemoryList();
}

TEST(SeparateClassNeighbours, MovesAClassmateOffTheNextLaneWhenItCan) {
  auto lane = [](int key, int heat, int lane) { return LaneNode{.Key = key, .Heat = heat, .Lane = lane}; };
  std::vector<LaneNode> lanes = {lane(1, 1, 3), lane(1, 1, 4), lane(2, 1, 5), lane(1, 2, 4), lane(3, 1, 7),
                                 lane(3, 1, 8)};
  SeparateClassNeighbours(lanes);
  std::vector<int> moved;
  for (const LaneNode& n : lanes) moved.push_back(n.Lane);
  // Lanes 3 and 4 of one class: 4 changes with 5. Lanes 7 and 8 stay: no 9.
  EXPECT_EQ(moved, (std::vector<int>{3, 5, 4, 4, 7, 8}));
}

TEST(PlacesOfFinal, AdmitOneLessRanksOneFewer) {
  DataGuard hold(DataLock);
  const ContestNode contest{.Places = 6};
  Model().AdmitOneLess = 1;
  EXPECT_EQ(PlacesOfFinal(contest, 5), 4);
  EXPECT_EQ(PlacesOfFinal(contest, 1), 1);
  EXPECT_EQ(PlacesOfFinal(contest, 7), 6);
  EXPECT_EQ(PlacesOfFinal(contest, 0), 0);
  Model().AdmitOneLess = 0;
  EXPECT_EQ(PlacesOfFinal(contest, 5), 6);
  Model() = MeetModel{};
}

// Many generated meets (tracks and field events, in lanes and in groups,
// individual, team and mixed team, with and without preliminaries), each
// drawn under its own seed, keep every promise of the draw.
TEST(DrawRoundLanes, InvariantsOverGeneratedMeets) {
  DataGuard hold(DataLock);
  std::mt19937 gen(4242);
  for (int meet = 0; meet < 600 && !HasFailure(); ++meet) {
    const DrawShape shape = RandomDrawShape(gen);
    BuildDrawMeet(shape);
    std::srand(meet);
    FreeLaneMemoryList();
    DrawEveryRoundInModel();
    SCOPED_TRACE(DescribeShape(shape));
    CheckDrawnMeet(shape);
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
    std::fill(shape.Boys.begin(), shape.Boys.end(), 1 + meet % 4);
    BuildDrawMeet(shape);
    std::srand(meet);
    DrawEveryRoundInModel();
    std::map<std::pair<int, int>, std::multiset<int>> heats;  // boys' (round, heat) -> classes
    for (const LaneNode& n : Model().LaneList)
      if (n.RoundId < 2000) heats[{n.RoundId, n.Heat}].insert(n.ClassId);
    std::size_t largest = 0;
    for (auto& [key, classes] : heats) largest = std::max(largest, classes.size());
    if (largest > shape.Boys.size()) continue;
    ++checked;
    for (auto& [key, classes] : heats)
      EXPECT_EQ(std::set<int>(classes.begin(), classes.end()).size(), classes.size()) << DescribeShape(shape);
  }
  EXPECT_GT(checked, 100);
  FreeLaneMemoryList();
  Model() = MeetModel{};
}

TEST(DrawRoundLanes, ARoundWithoutItsVenueIsSkippedUntouched) {
  DataGuard hold(DataLock);
  std::mt19937 gen(5);
  BuildDrawMeet(RandomDrawShape(gen));
  Model().VenueList.clear();
  int next_id = 1;
  EXPECT_EQ(DrawRoundLanes(Model().RoundList.front(), next_id).Result, 1);
  EXPECT_EQ(next_id, 1);
  EXPECT_TRUE(Model().LaneList.empty());
  Model() = MeetModel{};
}

}  // namespace
