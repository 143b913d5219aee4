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
#include "database/loaders.h"
#include "database/lookups.h"
#include "database/store_lanes.h"
#include "engine/draw_steps.h"
#include "tests/testing/meet_fixture.h"

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

std::string SqlValue(int v) { return std::to_string(v); }
std::string SqlValue(const std::string& v) { return "'" + v + "'"; }

template <class... Values>
std::string SqlRow(const std::string& table, const Values&... values) {
  std::string sql = " INSERT INTO " + table + " VALUES (";
  ((sql += SqlValue(values) + ","), ...);
  sql.back() = ')';
  return sql + ";";
}

// The generated meet as SQL for a meet file, in place of the catalogue's
// grades, classes, events and venues.
std::string SqlOfDrawMeet() {
  const MeetModel& m = Model();
  std::string sql = "DELETE FROM qrtb219; DELETE FROM qrtb234; DELETE FROM qrtb7; DELETE FROM qrtb306;"
                    " DELETE FROM qrtb292; INSERT INTO qrtb219 VALUES (1, '一年级', '1', '班', 1);";
  for (const ClassNode& c : m.ClassList)
    sql += SqlRow("qrtb234", c.ClassId, 1, c.ClassNumber, c.ClassName, std::string(), std::string());
  for (const GroupNode& g : m.GroupList)
    sql += SqlRow("qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb381)", g.Id, g.GradeId, g.Sex,
                  g.AthletesPerClass, g.PlacesRanked);
  for (const VenueNode& v : m.VenueList) sql += SqlRow("qrtb292 (qrtb124, qrtb125, qrtb126)", v.Id, v.Size, v.Name);
  for (const EventNode& e : m.EventList)
    sql += SqlRow("qrtb306 (qrtb307, qrtb308, qrtb309, qrtb310, qrtb312, qrtb313, qrtb315, qrtb317, qrtb318)",
                  e.Id, e.Name, e.BiSaiType, e.TuanTiType, e.YuJueType, e.FZFDType, 1, e.ChangDi, e.Unit);
  for (const ContestNode& c : m.ContestList)
    sql += SqlRow("qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb436)", c.Id, c.GroupId,
                  c.EventId, c.HasPrelim, c.Qualifiers, c.Places, 0);
  for (const RoundNode& r : m.RoundList)
    sql += SqlRow("qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb452, qrtb453, qrtb454)", r.Id, r.ContestId,
                  r.Kind, 0, 0, 0, 0);
  for (const AthleteNode& a : m.AthleteList) {
    sql += SqlRow("qrtb409", a.Name, a.Id, a.Bib, a.GradeId, a.ClassId, a.Sex, 0);
    for (int c : a.ContestIds) sql += SqlRow("qrtb397 (qrtb399, qrtb400)", c, a.Id);
  }
  return sql;
}

// What the file holds of lanes and rounds (the working key is not stored).
using LaneRow = std::tuple<int, int, int, int, int, int, ScoreValue, int>;
using RoundRow = std::tuple<int, int, int, int, int>;

std::vector<LaneRow> LaneRows(int round_id = 0) {
  std::vector<LaneRow> rows;
  for (const LaneNode& n : Model().LaneList)
    if (round_id == 0 || n.RoundId == round_id)
      rows.emplace_back(n.Id, n.RoundId, n.Heat, n.Lane, n.AthleteId, n.ClassId, n.Result, n.Status);
  return rows;
}

std::vector<RoundRow> RoundRows(int round_id = 0) {
  std::vector<RoundRow> rows;
  for (const RoundNode& r : Model().RoundList)
    if (round_id == 0 || r.Id == round_id) rows.emplace_back(r.Id, r.Kind, r.Disabled, r.Entrants, r.Places);
  return rows;
}

// The lists equal what a fresh load of the file gives.
void ExpectListsMatchFile() {
  const auto lanes = LaneRows();
  const auto rounds = RoundRows();
  ASSERT_EQ(LoadRounds(), 0);
  ASSERT_EQ(LoadLanes(), 0);
  EXPECT_EQ(LaneRows(), lanes);
  EXPECT_EQ(RoundRows(), rounds);
}

class DrawTest : public ::testing::Test {
 protected:
  // Builds the meet of the shape in a meet file and opens it.
  int OpenShape(const DrawShape& shape) {
    const std::string folder = Model().DataFolder;
    BuildDrawMeet(shape);
    Model().DataFolder = folder;
    FixtureMeetSettings settings;
    settings.AdmitOneLess = shape.AdmitOneLess;
    FreeLaneMemoryList();
    return fixture_.OpenNewMeet(SqlOfDrawMeet(), settings);
  }

  // A late registration: an athlete of class 1 entered in the contest is
  // added to the file and the meet reopened.
  void AddLateAthlete(int meet_id, int athlete_id, int sex, int contest_id) {
    const std::string id = std::to_string(athlete_id);
    ASSERT_TRUE(fixture_.MeetSql(meet_id, "INSERT INTO qrtb409 VALUES ('迟到" + id + "', " + id + ", 0, 1, 1, " +
                                              std::to_string(sex) + ", 0); INSERT INTO qrtb397 VALUES (" +
                                              std::to_string(contest_id) + ", " + id + ");"));
    ASSERT_EQ(fixture_.Open(meet_id), 0);
  }

  MeetFixture fixture_;
  DataGuard hold_{DataLock};
};

// A late entrant is drawn by drawing its contest again, where its team runs
// (a boy of a mixed team in the girls' contest's round), unless the contest
// has results: those are never thrown away.
TEST_F(DrawTest, LateEntrantsAreDrawnWhereNoResultIsLost) {
  struct Case {
    DrawShape shape;
    bool with_result;
    int round, entrants;
  };
  const Case cases[] = {
      {{.Boys = {3, 2}, .Girls = {1, 1}}, false, 1003, 6},
      {{.Boys = {3, 2}, .Girls = {1, 1}}, true, 1003, 5},
      {{.TuanTiType = 3, .Boys = {1, 1}, .Girls = {1, 0}}, false, 2003, 2},  // the teams of classes 1 and 2
  };
  for (const Case& c : cases) {
    const int meet = OpenShape(c.shape);
    ASSERT_EQ(DrawAllRounds(1u), 0);
    if (c.with_result) {
      ASSERT_TRUE(fixture_.MeetSql(meet, "UPDATE qrtb479 SET qrtb485 = 1234 WHERE qrtb481 = 1003"));
    }
    AddLateAthlete(meet, 500, 1, 100);
    EXPECT_EQ(IsAthleteUndrawn(100, 500), 1);
    const auto boys = LaneRows(1003), girls = LaneRows(2003);
    ASSERT_EQ(RedrawUndrawnContests(2u), 0);
    EXPECT_EQ(IsAthleteUndrawn(100, 500), c.with_result ? 1 : 0);
    EXPECT_EQ(FindRoundById(c.round)->Entrants, c.entrants);
    if (c.with_result) {
      EXPECT_EQ(LaneRows(1003), boys);
    }
    if (c.shape.TuanTiType == 1) {
      EXPECT_EQ(LaneRows(2003), girls);  // the other contest is not drawn again
    } else {
      int spread_checks = 0;
      CheckDrawnMeet(c.shape, spread_checks);
    }
    ExpectListsMatchFile();
  }
}

// A preliminary dropped for few entrants makes its final a single final;
// once more athletes enter, the redraw holds the preliminary again and the
// final waits for its qualifiers.
TEST_F(DrawTest, AFinalReturnsToWaitingWhenThePreliminaryIsNeededAgain) {
  const int meet = OpenShape({.HasPrelim = 1, .Boys = {2, 1}, .Girls = {1, 1}});
  ASSERT_EQ(DrawAllRounds(3u), 0);
  EXPECT_EQ(RoundRows(1001), std::vector{RoundRow(1001, kPrelim, 1, 0, 0)});
  EXPECT_EQ(RoundRows(1002), std::vector{RoundRow(1002, kDirectFinal, 0, 3, 2)});
  ExpectListsMatchFile();

  for (int id = 600; id < 608; ++id) AddLateAthlete(meet, id, 1, 100);
  int heats = 0, entrants = 0;
  ASSERT_EQ(RedrawContest(100, heats, entrants), 0);
  EXPECT_EQ(RoundRows(1001), std::vector{RoundRow(1001, kPrelim, 0, 11, 8)});
  EXPECT_EQ(RoundRows(1002), std::vector{RoundRow(1002, kFinalAfterPrelim, 0, 0, 6)});
  EXPECT_TRUE(LaneRows(1002).empty());
  EXPECT_EQ(std::tuple(heats, entrants, LaneMemoryList.size()), std::tuple(2, 11, 0u));
  ExpectListsMatchFile();
}

TEST_F(DrawTest, AFailedWriteLeavesFileAndListsAsTheyWere) {
  const int meet = OpenShape({.Boys = {4, 4}, .Girls = {3, 3}});
  ASSERT_TRUE(fixture_.MeetSql(meet,
                               "CREATE TRIGGER refuse AFTER INSERT ON qrtb479 WHEN NEW.qrtb481 = 2003"
                               " BEGIN SELECT RAISE(ABORT, 'refused'); END;"));
  ASSERT_EQ(fixture_.Open(meet), 0);
  EXPECT_EQ(DrawAllRounds(4u), 1);
  EXPECT_TRUE(Model().LaneList.empty());
  EXPECT_EQ(FindRoundById(1003)->Entrants, 0);
  ExpectListsMatchFile();
}

}  // namespace

}  // namespace korva
