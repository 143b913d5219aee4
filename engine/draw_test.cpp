#include "engine/draw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "database/data_lock.h"
#include "database/lookups.h"
#include "engine/draw_steps.h"
#include "database/model.h"

namespace korva {

// Nodes are written with designated initializers; other fields keep their
// defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

TEST(DrawSteps, FirstLaneAndPlacesOfFinal) {
  // {lanes, q, r, first lane}: 8 entrants on 8 lanes from 1, 5 from 2; on 6
  // lanes heats of 5 from 1, then heats of 4 from 2.
  const int first_lane[][4] = {{8, 8, 0, 1}, {8, 5, 0, 2}, {6, 4, 1, 1}, {6, 4, 0, 2},
                               {5, 1, 0, 3}, {3, 1, 0, 2}, {13, 1, 0, 7}};
  for (const auto& [lanes, q, r, first] : first_lane)
    EXPECT_EQ(FirstLaneOfHeat(lanes, q, r), first) << lanes << " " << q << " " << r;

  DataGuard hold(DataLock);
  const ContestNode contest{.Places = 6};
  Model().AdmitOneLess = 1;
  // {entrants, places}: one fewer than the entrants, 1 for a single one.
  for (const auto& [entrants, places] : {std::pair{5, 4}, {1, 1}, {7, 6}, {0, 0}})
    EXPECT_EQ(PlacesOfFinal(contest, entrants), places) << entrants;
  Model().AdmitOneLess = 0;
  EXPECT_EQ(PlacesOfFinal(contest, 5), 6);
  Model() = MeetModel{};
}

TEST(DrawSteps, AClassAvoidsItsLastLaneWhileAnotherIsLeft) {
  DataGuard hold(DataLock);
  FreeLaneMemoryList();
  LaneMemoryList.push_back({7, 4});
  std::vector<int> slots = {3, 4, 5};
  int toggle = 0;
  // From the back this time; size 2: lane 5 never counts, lane 4 was the
  // class's last.
  EXPECT_EQ(PickLane(slots, 3, 2, 7, toggle), 3);
  LaneMemoryList.front().LastLane = 4;
  EXPECT_EQ(PickLane(slots, 3, 2, 7, toggle), 4);  // nothing else is left
  EXPECT_EQ(PickLane(slots, 3, 2, 7, toggle), 0);  // nothing at all is left
  slots = {9, 8};
  EXPECT_EQ(PickLane(slots, 8, 2, 5, toggle), 9);  // a new class is remembered
  EXPECT_EQ(LaneMemoryList.back().ClassKey, 5);
  FreeLaneMemoryList();
}

TEST(DrawSteps, AClassmateOnTheNextLaneMovesOnWhenItCan) {
  std::vector<LaneNode> lanes;
  for (auto [key, heat, lane] : {std::tuple{1, 1, 3}, {1, 1, 4}, {2, 1, 5}, {1, 2, 4}, {3, 1, 7}, {3, 1, 8}})
    lanes.push_back({.Key = key, .Heat = heat, .Lane = lane});
  SeparateClassNeighbours(lanes);
  std::vector<int> moved;
  for (const LaneNode& n : lanes) moved.push_back(n.Lane);
  // Lanes 3 and 4 of one class: 4 changes with 5. Lanes 7 and 8 stay: no 9.
  EXPECT_EQ(moved, (std::vector<int>{3, 5, 4, 4, 7, 8}));
}

// A one-grade meet: a boys' contest 100 and a girls' contest 200 of one
// event; rounds 1001/2001 preliminaries, 1002/2002 finals after them,
// 1003/2003 direct finals. A mixed team has the girls' rounds only.
struct DrawShape {
  int VenueSize = 8, BiSaiType = 1, FZFDType = 1, TuanTiType = 1;
  int HasPrelim = 0, Qualifiers = 8, Places = 6, AdmitOneLess = 1;
  std::vector<int> Boys, Girls;  // entrants per class
};

// 1 to 8 classes, 1 to 40 entrants per contest (in a third of the meets the
// boys' classes all of one size), 0 to 13 places at the venue.
DrawShape RandomDrawShape(std::mt19937& gen) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
  DrawShape s{pick(0, 13), pick(1, 2), pick(1, 2), pick(1, 3), pick(0, 1), pick(1, 16), pick(1, 8), pick(0, 1)};
  const int classes = pick(1, 8);
  for (auto* list : {&s.Boys, &s.Girls}) {
    list->assign(classes, 0);
    for (int i = pick(1, 40); i > 0; --i) ++(*list)[pick(0, classes - 1)];
  }
  if (pick(0, 2) == 0) s.Boys.assign(classes, pick(1, 4));
  return s;
}

void BuildDrawMeet(const DrawShape& s) {
  MeetModel& m = Model();
  m = MeetModel{};
  m.AdmitOneLess = s.AdmitOneLess;
  const int classes = static_cast<int>(s.Boys.size());
  for (int c = 1; c <= classes; ++c)
    m.ClassList.push_back({.GradeId = 1, .ClassId = c, .ClassNumber = c, .ClassName = std::to_string(c) + "班"});
  for (int sex = 1; sex <= 2; ++sex) {
    m.GroupList.push_back({.Id = sex, .GradeId = 1, .Sex = sex, .AthletesPerClass = 10, .PlacesRanked = s.Places});
    m.ContestList.push_back({.Id = sex * 100, .GroupId = sex, .EventId = 1, .HasPrelim = s.HasPrelim,
                             .Qualifiers = s.Qualifiers, .Places = s.Places});
  }
  m.VenueList.push_back({.Id = 10, .Name = "场地", .Size = s.VenueSize});
  m.EventList.push_back({.Id = 1, .Name = "项目", .BiSaiType = s.BiSaiType, .YuJueType = s.HasPrelim,
                         .TuanTiType = s.TuanTiType, .FZFDType = s.FZFDType, .Unit = "秒", .ChangDi = 10});
  // Preliminaries before finals, as RoundList holds them.
  for (int kind : s.HasPrelim ? std::vector{kPrelim, kFinalAfterPrelim} : std::vector{kDirectFinal})
    for (int sex = s.TuanTiType == 3 ? 2 : 1; sex <= 2; ++sex)
      m.RoundList.push_back({.Id = sex * 1000 + kind, .ContestId = sex * 100, .Kind = kind});
  int id = 1;
  for (int c = 1; c <= classes; ++c)
    for (int sex = 1; sex <= 2; ++sex)
      for (int i = 0; i <= (sex == 1 ? s.Boys : s.Girls)[c - 1]; ++i, ++id)  // one more, entered in nothing
        m.AthleteList.push_back({.Id = id, .Name = "运动员" + std::to_string(id), .GradeId = 1, .ClassId = c,
                                 .Sex = sex, .ContestIds = i > 0 ? std::vector<int>{sex * 100} : std::vector<int>{}});
}

// The draw's promises for one round (LaneList already found in round,
// heat, lane order); counts the rounds checked for classmates in a heat.
void CheckDrawnRound(const DrawShape& s, const RoundNode& round, int& spread_checks) {
  SCOPED_TRACE("round " + std::to_string(round.Id));
  std::map<int, std::vector<std::pair<int, int>>> heats;  // heat -> (lane, class) of its places
  std::map<int, int> places_of_class;
  std::multiset<int> drawn, expected;
  for (const LaneNode& n : Model().LaneList) {
    if (n.RoundId != round.Id) continue;
    drawn.insert(n.AthleteId);
    auto& places = heats[n.Heat];
    if (!places.empty() && places.back().first == n.Lane) {
      EXPECT_EQ(places.back().second, n.ClassId) << "two classes share lane " << n.Lane << " of heat " << n.Heat;
    } else {
      places.emplace_back(n.Lane, n.ClassId);
      ++places_of_class[n.ClassId];
    }
  }
  // Every entrant exactly once (a mixed team takes both contests' entrants);
  // one place per athlete, or one per class team.
  for (const AthleteNode& a : Model().AthleteList)
    if (!a.ContestIds.empty() && (a.ContestIds[0] == round.ContestId || s.TuanTiType == 3)) expected.insert(a.Id);
  EXPECT_EQ(drawn, expected);
  int n = 0;
  std::set<int> class_sizes;
  for (auto [cls, places] : places_of_class) {
    n += places;
    class_sizes.insert(places);
    EXPECT_TRUE(s.TuanTiType == 1 || places == 1) << "class team " << cls << " in " << places << " places";
  }
  EXPECT_TRUE(s.TuanTiType != 1 || n == static_cast<int>(drawn.size())) << "athletes share a place";
  EXPECT_EQ(round.Entrants, round.Disabled ? 0 : n);
  if (n == 0) return;

  // The first r heats hold q + 1, the others q; a heat takes a run of lanes
  // in the middle of the venue (from 1 without lanes); a venue of no places
  // counts as one. With classes of one size, a heat no larger than the
  // number of classes holds each class once at most.
  const int venue = std::max(s.VenueSize, 1);
  const int capacity = (s.BiSaiType == 1 && s.FZFDType == 2) ? 3 * venue : venue;
  const int count = (n + capacity - 1) / capacity, q = n / count, r = n % count;
  const bool spread = s.TuanTiType == 1 && class_sizes.size() == 1 &&
                      q + (r > 0 ? 1 : 0) <= static_cast<int>(places_of_class.size());
  spread_checks += spread ? 1 : 0;
  EXPECT_EQ(static_cast<int>(heats.size()), count);
  for (auto& [heat, places] : heats) {
    const int size = heat <= r ? q + 1 : q;
    ASSERT_EQ(static_cast<int>(places.size()), size) << "heat " << heat;
    // Centred: the lanes left free on the inside no more than on the
    // outside, and at most one more.
    const int first = s.FZFDType == 1 ? std::max(1, (venue - size) / 2 + 1) : 1;
    std::set<int> classes;
    for (int i = 0; i < size; ++i) {
      EXPECT_EQ(places[i].first, first + i) << "heat " << heat;
      classes.insert(places[i].second);
    }
    EXPECT_TRUE(!spread || static_cast<int>(classes.size()) == size) << "classmates in heat " << heat;
  }
}

// The draw's promises over the whole generated meet.
void CheckDrawnMeet(const DrawShape& s, int& spread_checks) {
  const MeetModel& m = Model();
  // Lane-row ids 1..N; LaneList in round, heat, lane, id order.
  std::vector<int> ids;
  for (const LaneNode& n : m.LaneList) ids.push_back(n.Id);
  std::sort(ids.begin(), ids.end());
  for (std::size_t i = 0; i < ids.size(); ++i) ASSERT_EQ(ids[i], static_cast<int>(i) + 1);
  EXPECT_TRUE(std::is_sorted(m.LaneList.begin(), m.LaneList.end(), [](const LaneNode& a, const LaneNode& b) {
    return std::tie(a.RoundId, a.Heat, a.Lane, a.Id) < std::tie(b.RoundId, b.Heat, b.Lane, b.Id);
  }));
  for (const RoundNode& round : m.RoundList)
    if (round.Kind != kFinalAfterPrelim && round.Disabled == 0) CheckDrawnRound(s, round, spread_checks);
  // Every entrant has exactly one lane in the rounds held (a mixed team's
  // boys and girls one together).
  std::map<int, int> lanes_of_athlete;
  for (const LaneNode& n : m.LaneList)
    if (FindRoundById(n.RoundId)->Disabled == 0) ++lanes_of_athlete[n.AthleteId];
  for (const AthleteNode& a : m.AthleteList)
    EXPECT_EQ(lanes_of_athlete[a.Id], a.ContestIds.empty() ? 0 : 1) << "athlete " << a.Id;
  if (!s.HasPrelim) return;
  // A preliminary whose entrants all fit one heat and the qualifiers is
  // dropped without lanes and its final becomes a single final that they
  // run in; else the final waits.
  for (int contest = s.TuanTiType == 3 ? 200 : 100; contest <= 200; contest += 100) {
    const RoundNode& prelim = *FindRoundById(contest * 10 + 1);
    const RoundNode& final = *FindRoundById(contest * 10 + 2);
    const int run_id = prelim.Disabled ? final.Id : prelim.Id;
    std::set<std::pair<int, int>> places;
    for (const LaneNode& l : m.LaneList) {
      if (l.RoundId == run_id) places.insert({l.Heat, l.Lane});
      EXPECT_TRUE(l.RoundId != prelim.Id || !prelim.Disabled);
    }
    const int n = static_cast<int>(places.size());
    const bool dropped = n <= s.Qualifiers && n <= std::max(s.VenueSize, 1);
    EXPECT_EQ(prelim.Disabled, dropped ? 1 : 0);
    EXPECT_EQ(final.Kind, dropped ? kDirectFinal : kFinalAfterPrelim);
    if (dropped) {
      EXPECT_EQ(final.Places, PlacesOfFinal(*FindContestById(contest), n));
    } else {
      EXPECT_EQ(prelim.Places, s.Qualifiers);
      for (const LaneNode& l : m.LaneList) EXPECT_NE(l.RoundId, final.Id);
    }
  }
}

// Many generated meets (tracks and field events, in lanes and in groups,
// individual, team and mixed team, with and without preliminaries), each
// drawn under its own seed, keep every promise of the draw.
TEST(DrawSteps, InvariantsOverGeneratedMeets) {
  DataGuard hold(DataLock);
  std::mt19937 gen(4242);
  int spread_checks = 0;
  for (int meet = 0; meet < 600 && !HasFailure(); ++meet) {
    SCOPED_TRACE("meet " + std::to_string(meet));
    const DrawShape shape = RandomDrawShape(gen);
    BuildDrawMeet(shape);
    std::srand(meet);
    FreeLaneMemoryList();
    int next_id = 1;
    for (RoundNode& round : Model().RoundList)
      if (round.Kind != kFinalAfterPrelim) DrawRoundLanes(round, next_id);
    CheckDrawnMeet(shape, spread_checks);
  }
  EXPECT_GT(spread_checks, 50);
  FreeLaneMemoryList();
  Model() = MeetModel{};
}

TEST(DrawSteps, ARoundWithoutItsVenueIsSkippedUntouched) {
  DataGuard hold(DataLock);
  BuildDrawMeet({.Boys = {3}, .Girls = {2}});
  Model().VenueList.clear();
  int next_id = 1;
  EXPECT_EQ(DrawRoundLanes(Model().RoundList.front(), next_id).Result, 1);
  EXPECT_EQ(next_id, 1);
  EXPECT_TRUE(Model().LaneList.empty());
  Model() = MeetModel{};
}

}  // namespace

}  // namespace korva
