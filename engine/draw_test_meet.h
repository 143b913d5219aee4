#pragma once
// Test support for the draw: generated one-grade meets (a boys' contest 100
// and a girls' contest 200 of one event; rounds 1001/2001 preliminaries,
// 1002/2002 finals after them, 1003/2003 direct finals), the checks every
// drawn meet must pass, and the meet as SQL for a meet file.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "database/model.h"
#include "engine/draw_steps.h"

// Nodes are written with designated initializers; the other fields keep
// their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

struct DrawShape {
  int VenueSize = 8, BiSaiType = 1, FZFDType = 1, TuanTiType = 1;
  int HasPrelim = 0, Qualifiers = 8, Places = 6, AdmitOneLess = 1;
  std::vector<int> Boys, Girls;  // entrants per class
};

inline std::string DescribeShape(const DrawShape& s) {
  std::string text = "venue " + std::to_string(s.VenueSize) + " types " + std::to_string(s.BiSaiType) +
                     std::to_string(s.FZFDType) + std::to_string(s.TuanTiType) + " prelim " +
                     std::to_string(s.HasPrelim) + " q " + std::to_string(s.Qualifiers) + " classes";
  for (std::size_t c = 0; c < s.Boys.size(); ++c)
    text += " " + std::to_string(s.Boys[c]) + "/" + std::to_string(s.Girls[c]);
  return text;
}

// 1 to 8 classes, 1 to 40 entrants per contest, 1 to 13 places at the venue.
inline DrawShape RandomDrawShape(std::mt19937& gen) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
  DrawShape s{pick(1, 13), pick(1, 2), pick(1, 2), pick(1, 3), pick(0, 1), pick(1, 16), pick(1, 8), pick(0, 1)};
  const int classes = pick(1, 8);
  for (auto* list : {&s.Boys, &s.Girls}) {
    list->assign(classes, 0);
    for (int i = pick(1, 40); i > 0; --i) ++(*list)[pick(0, classes - 1)];
  }
  return s;
}

inline void BuildDrawMeet(const DrawShape& s) {
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
  const std::vector<std::pair<int, int>> rounds =
      s.HasPrelim ? std::vector<std::pair<int, int>>{{1001, 1}, {2001, 1}, {1002, 2}, {2002, 2}}
                  : std::vector<std::pair<int, int>>{{1003, 3}, {2003, 3}};
  for (auto [id, kind] : rounds) m.RoundList.push_back({.Id = id, .ContestId = id / 1000 * 100, .Kind = kind});
  int id = 1;
  for (int c = 1; c <= classes; ++c) {
    for (int sex = 1; sex <= 2; ++sex) {
      // One athlete of each class and sex enters nothing.
      for (int i = 0; i <= (sex == 1 ? s.Boys : s.Girls)[c - 1]; ++i, ++id) {
        m.AthleteList.push_back({.Id = id, .Name = "运动员" + std::to_string(id), .GradeId = 1, .ClassId = c,
                                 .Sex = sex, .ContestIds = i > 0 ? std::vector<int>{sex * 100} : std::vector<int>{}});
      }
    }
  }
}

// What DrawAllRounds does, on the model only.
inline void DrawEveryRoundInModel() {
  int next_id = 1;
  auto& rounds = Model().RoundList;
  for (std::size_t i = 0; i < rounds.size(); ++i)
    if (rounds[i].Kind != kFinalAfterPrelim) DrawRoundLanes(rounds[i], next_id);
}

inline void CheckDrawnRound(const DrawShape& s, const RoundNode& round) {
  SCOPED_TRACE("round " + std::to_string(round.Id));
  // Every entrant exactly once (a mixed team takes both contests' entrants).
  std::multiset<int> drawn;
  std::set<int> expected;
  std::map<std::pair<int, int>, std::set<int>> classes_at;  // (heat, lane) -> classes
  std::map<int, std::set<std::pair<int, int>>> places_of;   // class -> (heat, lane)
  for (const LaneNode& n : Model().LaneList) {
    if (n.RoundId != round.Id) continue;
    drawn.insert(n.AthleteId);
    classes_at[{n.Heat, n.Lane}].insert(n.ClassId);
    places_of[n.ClassId].insert({n.Heat, n.Lane});
  }
  for (const AthleteNode& a : Model().AthleteList)
    for (int c : a.ContestIds)
      if (c == round.ContestId || s.TuanTiType == 3) expected.insert(a.Id);
  EXPECT_EQ(drawn.size(), expected.size());
  EXPECT_EQ(std::set<int>(drawn.begin(), drawn.end()), expected);

  // One place per athlete, or per class team shared by all its members.
  for (auto& [place, classes] : classes_at) EXPECT_EQ(classes.size(), 1u);
  if (s.TuanTiType != 1) {
    for (auto& [cls, places] : places_of) EXPECT_EQ(places.size(), 1u) << "class " << cls;
  } else {
    EXPECT_EQ(classes_at.size(), drawn.size());
  }

  // The first r heats hold q + 1, the others q; a heat takes a run of lanes
  // from FirstLaneOfHeat (from 1 without lanes).
  const int n = static_cast<int>(classes_at.size());
  EXPECT_EQ(round.Entrants, round.Disabled ? 0 : n);
  if (n == 0) return;
  const int capacity = (s.BiSaiType == 1 && s.FZFDType == 2) ? 3 * s.VenueSize : s.VenueSize;
  const int heats = (n + capacity - 1) / capacity, q = n / heats, r = n % heats;
  std::map<int, std::vector<int>> lanes_of_heat;
  for (auto& [place, classes] : classes_at) lanes_of_heat[place.first].push_back(place.second);
  EXPECT_EQ(static_cast<int>(lanes_of_heat.size()), heats);
  for (auto& [heat, lanes] : lanes_of_heat) {
    const int size = heat <= r ? q + 1 : q;
    ASSERT_EQ(static_cast<int>(lanes.size()), size) << "heat " << heat;
    const int first = s.FZFDType == 1 ? FirstLaneOfHeat(s.VenueSize, size, 0) : 1;
    for (int i = 0; i < size; ++i) EXPECT_EQ(lanes[i], first + i) << "heat " << heat;
  }
}

// The draw's promises over the whole generated meet.
inline void CheckDrawnMeet(const DrawShape& s) {
  const MeetModel& m = Model();
  // Lane-row ids 1..N; LaneList in round, heat, lane, id order.
  std::vector<int> ids;
  for (const LaneNode& n : m.LaneList) ids.push_back(n.Id);
  std::sort(ids.begin(), ids.end());
  for (std::size_t i = 0; i < ids.size(); ++i) ASSERT_EQ(ids[i], static_cast<int>(i) + 1);
  EXPECT_TRUE(std::is_sorted(m.LaneList.begin(), m.LaneList.end(), [](const LaneNode& a, const LaneNode& b) {
    return std::tie(a.RoundId, a.Heat, a.Lane, a.Id) < std::tie(b.RoundId, b.Heat, b.Lane, b.Id);
  }));
  std::map<int, const RoundNode*> by_id;
  for (const RoundNode& round : m.RoundList) {
    by_id[round.Id] = &round;
    if (round.Kind != kFinalAfterPrelim) CheckDrawnRound(s, round);
  }
  if (!s.HasPrelim) return;
  // A preliminary whose entrants all fit one heat and the qualifiers is
  // dropped and its final becomes a single final; else the final waits.
  for (int contest = 100; contest <= 200; contest += 100) {
    const RoundNode& prelim = *by_id[contest * 10 + 1];
    const RoundNode& final = *by_id[contest * 10 + 2];
    std::set<std::pair<int, int>> places;
    for (const LaneNode& n : m.LaneList)
      if (n.RoundId == prelim.Id) places.insert({n.Heat, n.Lane});
    const int n = static_cast<int>(places.size());
    const bool dropped = n <= s.Qualifiers && n <= s.VenueSize;
    EXPECT_EQ(prelim.Disabled, dropped ? 1 : 0);
    EXPECT_EQ(final.Kind, dropped ? kDirectFinal : kFinalAfterPrelim);
    if (dropped) {
      EXPECT_EQ(final.Places, PlacesOfFinal(m.ContestList[contest / 100 - 1], n));
    } else {
      EXPECT_EQ(prelim.Places, s.Qualifiers);
      for (const LaneNode& l : m.LaneList) EXPECT_NE(l.RoundId, final.Id);
    }
  }
}

// The generated meet as SQL for a fixture meet file, in place of the
// catalogue's grades, classes, events and venues.
inline std::string SqlOfDrawMeet() {
  const MeetModel& m = Model();
  auto row = [](const std::string& table, std::initializer_list<std::string> values) {
    std::string sql = " INSERT INTO " + table + " VALUES (";
    for (const std::string& v : values) sql += (sql.back() == '(' ? "" : ", ") + v;
    return sql + ");";
  };
  auto n = [](int v) { return std::to_string(v); };
  auto t = [](const std::string& v) { return "'" + v + "'"; };
  std::string sql = "DELETE FROM qrtb219; DELETE FROM qrtb234; DELETE FROM qrtb7; DELETE FROM qrtb306;"
                    " DELETE FROM qrtb292; INSERT INTO qrtb219 VALUES (1, '一年级', '1', '班', 1);";
  for (const ClassNode& c : m.ClassList) sql += row("qrtb234", {n(c.ClassId), "1", n(c.ClassNumber), t(c.ClassName), "''", "''"});
  for (const GroupNode& g : m.GroupList)
    sql += row("qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb381)",
               {n(g.Id), n(g.GradeId), n(g.Sex), n(g.AthletesPerClass), n(g.PlacesRanked)});
  for (const VenueNode& v : m.VenueList) sql += row("qrtb292 (qrtb124, qrtb125, qrtb126)", {n(v.Id), n(v.Size), t(v.Name)});
  for (const EventNode& e : m.EventList)
    sql += row("qrtb306 (qrtb307, qrtb308, qrtb309, qrtb310, qrtb312, qrtb313, qrtb315, qrtb317, qrtb318)",
               {n(e.Id), t(e.Name), n(e.BiSaiType), n(e.TuanTiType), n(e.YuJueType), n(e.FZFDType), "1",
                n(e.ChangDi), t(e.Unit)});
  for (const ContestNode& c : m.ContestList)
    sql += row("qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb436)",
               {n(c.Id), n(c.GroupId), n(c.EventId), n(c.HasPrelim), n(c.Qualifiers), n(c.Places), "0"});
  for (const RoundNode& r : m.RoundList)
    sql += row("qrtb444", {n(r.Id), n(r.ContestId), n(r.Kind), "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"});
  for (const AthleteNode& a : m.AthleteList) {
    sql += row("qrtb409", {t(a.Name), n(a.Id), n(a.Bib), n(a.GradeId), n(a.ClassId), n(a.Sex), "0"});
    for (int c : a.ContestIds) sql += row("qrtb397 (qrtb399, qrtb400)", {n(c), n(a.Id)});
  }
  return sql;
}
