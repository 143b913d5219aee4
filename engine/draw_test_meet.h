#pragma once
// Test support for the draw: small generated meets of one grade (a boys'
// and a girls' contest of one event, with or without a preliminary), the
// checks every drawn meet must pass, and the same meet as SQL for a meet
// file. Used by the engine's unit tests only.
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

struct DrawShape {
  int VenueSize = 8;
  int BiSaiType = 1;   // 1 track, 2 field
  int FZFDType = 1;    // 1 lanes, 2 groups
  int TuanTiType = 1;  // 1 individual, 2 team, 3 mixed team
  int HasPrelim = 0;
  int Qualifiers = 8;
  int Places = 6;
  int AdmitOneLess = 1;
  std::vector<int> Boys;   // entrants per class
  std::vector<int> Girls;
};

inline std::string DescribeShape(const DrawShape& s) {
  std::string text = "venue " + std::to_string(s.VenueSize) + " type " + std::to_string(s.BiSaiType) +
                     "/" + std::to_string(s.FZFDType) + "/" + std::to_string(s.TuanTiType) +
                     " prelim " + std::to_string(s.HasPrelim) + " q " + std::to_string(s.Qualifiers) +
                     " boys";
  for (int n : s.Boys) text += " " + std::to_string(n);
  text += " girls";
  for (int n : s.Girls) text += " " + std::to_string(n);
  return text;
}

// 1 to 8 classes, 1 to 40 entrants per contest, 1 to 13 places at the venue.
inline DrawShape RandomDrawShape(std::mt19937& gen) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
  DrawShape s;
  s.VenueSize = pick(1, 13);
  s.BiSaiType = pick(1, 2);
  s.FZFDType = pick(1, 2);
  s.TuanTiType = pick(1, 3);
  s.HasPrelim = pick(0, 1);
  s.Qualifiers = pick(1, 16);
  s.Places = pick(1, 8);
  s.AdmitOneLess = pick(0, 1);
  const int classes = pick(1, 8);
  for (auto* list : {&s.Boys, &s.Girls}) {
    list->assign(classes, 0);
    const int total = pick(1, 40);
    for (int i = 0; i < total; ++i) ++(*list)[pick(0, classes - 1)];
  }
  return s;
}

// Contest ids 100 (boys) and 200 (girls); rounds 1001/2001 preliminaries,
// 1002/2002 finals after them, 1003/2003 direct finals.
inline void BuildDrawMeet(const DrawShape& s) {
  MeetModel& m = Model();
  m = MeetModel{};
  m.AdmitOneLess = s.AdmitOneLess;
  const int classes = static_cast<int>(s.Boys.size());
  for (int c = 1; c <= classes; ++c) {
    ClassNode cls;
    cls.GradeId = 1;
    cls.ClassId = c;
    cls.ClassNumber = c;
    cls.ClassName = std::to_string(c) + "班";
    m.ClassList.push_back(cls);
  }
  for (int sex = 1; sex <= 2; ++sex) {
    GroupNode g;
    g.Id = sex;
    g.GradeId = 1;
    g.GradeName = "一年级";
    g.Sex = sex;
    g.AthletesPerClass = 10;
    g.PlacesRanked = s.Places;
    m.GroupList.push_back(g);
  }
  VenueNode venue;
  venue.Id = 10;
  venue.Name = "场地";
  venue.Size = s.VenueSize;
  m.VenueList.push_back(venue);
  EventNode event;
  event.Id = 1;
  event.Name = "项目";
  event.BiSaiType = s.BiSaiType;
  event.FZFDType = s.FZFDType;
  event.TuanTiType = s.TuanTiType;
  event.YuJueType = s.HasPrelim;
  event.ChangDi = 10;
  event.Unit = "秒";
  m.EventList.push_back(event);
  for (int sex = 1; sex <= 2; ++sex) {
    ContestNode c;
    c.Id = sex * 100;
    c.GroupId = sex;
    c.EventId = 1;
    c.HasPrelim = s.HasPrelim;
    c.Qualifiers = s.Qualifiers;
    c.Places = s.Places;
    m.ContestList.push_back(c);
  }
  auto add_round = [&](int id, int kind) {
    RoundNode r;
    r.Id = id;
    r.ContestId = id / 1000 * 100;
    r.Kind = kind;
    m.RoundList.push_back(r);
  };
  if (s.HasPrelim) {
    add_round(1001, kPrelim);
    add_round(2001, kPrelim);
    add_round(1002, kFinalAfterPrelim);
    add_round(2002, kFinalAfterPrelim);
  } else {
    add_round(1003, kDirectFinal);
    add_round(2003, kDirectFinal);
  }
  int id = 1;
  for (int c = 1; c <= classes; ++c) {
    for (int sex = 1; sex <= 2; ++sex) {
      const int entrants = (sex == 1 ? s.Boys : s.Girls)[c - 1];
      // One athlete of each class and sex enters nothing.
      for (int i = 0; i <= entrants; ++i) {
        AthleteNode a;
        a.Id = id++;
        a.Name = "运动员" + std::to_string(a.Id);
        a.GradeId = 1;
        a.ClassId = c;
        a.Sex = sex;
        if (i > 0) a.ContestIds.push_back(sex * 100);
        m.AthleteList.push_back(a);
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

// The athletes a round of the contest must hold.
inline std::set<int> EntrantsOf(int contest_id, int team_type) {
  std::set<int> ids;
  for (const AthleteNode& a : Model().AthleteList)
    for (int c : a.ContestIds)
      if (c == contest_id || (team_type == 3 && c != 0)) ids.insert(a.Id);
  return ids;
}

inline void CheckDrawnRound(const DrawShape& s, const RoundNode& round) {
  std::vector<LaneNode> lanes;
  for (const LaneNode& n : Model().LaneList)
    if (n.RoundId == round.Id) lanes.push_back(n);
  SCOPED_TRACE("round " + std::to_string(round.Id));

  // Every entrant exactly once.
  std::multiset<int> drawn;
  for (const LaneNode& n : lanes) drawn.insert(n.AthleteId);
  const std::set<int> expected = EntrantsOf(round.ContestId, s.TuanTiType);
  EXPECT_EQ(drawn.size(), expected.size());
  EXPECT_EQ(std::set<int>(drawn.begin(), drawn.end()), expected);

  // One place per athlete, or per class team shared by all its members.
  std::map<std::pair<int, int>, std::set<int>> classes_at;  // (heat, lane) -> classes
  std::map<int, std::set<std::pair<int, int>>> places_of;   // class -> (heat, lane)
  for (const LaneNode& n : lanes) {
    classes_at[{n.Heat, n.Lane}].insert(n.ClassId);
    places_of[n.ClassId].insert({n.Heat, n.Lane});
  }
  const bool team = s.TuanTiType != 1;
  for (auto& [place, classes] : classes_at) EXPECT_EQ(classes.size(), 1u);
  if (team) {
    for (auto& [cls, places] : places_of) EXPECT_EQ(places.size(), 1u) << "class " << cls;
  } else {
    EXPECT_EQ(classes_at.size(), lanes.size());
  }

  // Heats filled in turn: the first r heats hold q + 1, the others q; each
  // heat uses a run of lanes, in the middle of the venue for lane events.
  const int n = static_cast<int>(classes_at.size());
  EXPECT_EQ(round.Entrants, round.Disabled ? 0 : n);
  const int capacity = (s.BiSaiType == 1 && s.FZFDType == 2) ? 3 * s.VenueSize : s.VenueSize;
  const int heats = std::max(1, (n + capacity - 1) / capacity);
  const int q = n / heats, r = n % heats;
  std::map<int, std::vector<int>> lanes_of_heat;
  for (auto& [place, classes] : classes_at) lanes_of_heat[place.first].push_back(place.second);
  if (n == 0) return;
  EXPECT_EQ(static_cast<int>(lanes_of_heat.size()), heats);
  for (auto& [heat, heat_lanes] : lanes_of_heat) {
    const int size = heat <= r ? q + 1 : q;
    ASSERT_EQ(static_cast<int>(heat_lanes.size()), size) << "heat " << heat;
    const int first = s.FZFDType == 1 ? FirstLaneOfHeat(s.VenueSize, size, 0) : 1;
    for (int i = 0; i < size; ++i) EXPECT_EQ(heat_lanes[i], first + i) << "heat " << heat;
    if (s.FZFDType == 1) {
      EXPECT_LE(heat_lanes.back(), s.VenueSize);
    }
  }
}

// The draw's promises over the whole generated meet.
inline void CheckDrawnMeet(const DrawShape& s) {
  const MeetModel& m = Model();
  // Lane-row ids 1..N, and LaneList in round, heat, lane, id order.
  std::vector<int> ids;
  for (const LaneNode& n : m.LaneList) ids.push_back(n.Id);
  std::sort(ids.begin(), ids.end());
  for (std::size_t i = 0; i < ids.size(); ++i) ASSERT_EQ(ids[i], static_cast<int>(i) + 1);
  EXPECT_TRUE(std::is_sorted(m.LaneList.begin(), m.LaneList.end(), [](const LaneNode& a, const LaneNode& b) {
    return std::tie(a.RoundId, a.Heat, a.Lane, a.Id) < std::tie(b.RoundId, b.Heat, b.Lane, b.Id);
  }));

  for (const RoundNode& round : m.RoundList) {
    if (round.Kind == kFinalAfterPrelim) {
      // A final after a preliminary waits for its qualifiers.
      for (const LaneNode& n : m.LaneList) EXPECT_NE(n.RoundId, round.Id);
      continue;
    }
    CheckDrawnRound(s, round);
  }
  if (!s.HasPrelim) return;
  for (int contest = 100; contest <= 200; contest += 100) {
    const RoundNode* prelim = nullptr;
    const RoundNode* final = nullptr;
    for (const RoundNode& r : m.RoundList) {
      if (r.Id == contest * 10 + 1) prelim = &r;
      if (r.Id == contest * 10 + 2) final = &r;
    }
    ASSERT_TRUE(prelim && final);
    std::set<std::pair<int, int>> places;
    for (const LaneNode& n : m.LaneList)
      if (n.RoundId == prelim->Id) places.insert({n.Heat, n.Lane});
    const int n = static_cast<int>(places.size());
    if (n <= s.Qualifiers && n <= s.VenueSize) {
      EXPECT_EQ(prelim->Disabled, 1);
      EXPECT_EQ(prelim->Entrants, 0);
      EXPECT_EQ(final->Kind, kDirectFinal);
      EXPECT_EQ(final->Entrants, n);
      EXPECT_EQ(final->Places, PlacesOfFinal(m.ContestList[contest / 100 - 1], n));
    } else {
      EXPECT_EQ(prelim->Disabled, 0);
      EXPECT_EQ(prelim->Places, s.Qualifiers);
      EXPECT_EQ(final->Kind, kFinalAfterPrelim);
    }
  }
}

// The generated meet as SQL for a fixture meet file (the catalogue's grades,
// classes, events and venues replaced).
inline std::string SqlOfDrawMeet() {
  const MeetModel& m = Model();
  auto n = [](int v) { return std::to_string(v); };
  std::string sql =
      "DELETE FROM qrtb219; DELETE FROM qrtb234; DELETE FROM qrtb7; DELETE FROM qrtb306;"
      " DELETE FROM qrtb249; DELETE FROM qrtb292;"
      " INSERT INTO qrtb219 (qrtb220, qrtb221, qrtb222, qrtb223, qrtb225) VALUES (1, '一年级', '1', '班', 1);";
  for (const ClassNode& c : m.ClassList)
    sql += " INSERT INTO qrtb234 VALUES (" + n(c.ClassId) + ", 1, " + n(c.ClassNumber) + ", '" +
           c.ClassName + "', '" + c.BoyStartNumber + "', '" + c.GirlStartNumber + "');";
  for (const GroupNode& g : m.GroupList)
    sql += " INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb381) VALUES (" + n(g.Id) + ", " +
           n(g.GradeId) + ", " + n(g.Sex) + ", " + n(g.AthletesPerClass) + ", " + n(g.PlacesRanked) + ");";
  for (const VenueNode& v : m.VenueList)
    sql += " INSERT INTO qrtb292 (qrtb124, qrtb125, qrtb126) VALUES (" + n(v.Id) + ", " + n(v.Size) + ", '" +
           v.Name + "');";
  for (const EventNode& e : m.EventList)
    sql += " INSERT INTO qrtb306 (qrtb307, qrtb308, qrtb309, qrtb310, qrtb311, qrtb312, qrtb313, qrtb315,"
           " qrtb317, qrtb318) VALUES (" + n(e.Id) + ", '" + e.Name + "', " + n(e.BiSaiType) + ", " +
           n(e.TuanTiType) + ", 4, " + n(e.YuJueType) + ", " + n(e.FZFDType) + ", 1, " + n(e.ChangDi) +
           ", '" + e.Unit + "');";
  for (const ContestNode& c : m.ContestList)
    sql += " INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb436) VALUES (" +
           n(c.Id) + ", " + n(c.GroupId) + ", " + n(c.EventId) + ", " + n(c.HasPrelim) + ", " +
           n(c.Qualifiers) + ", " + n(c.Places) + ", 0);";
  for (const RoundNode& r : m.RoundList)
    sql += " INSERT INTO qrtb444 VALUES (" + n(r.Id) + ", " + n(r.ContestId) + ", " + n(r.Kind) +
           ", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);";
  for (const AthleteNode& a : m.AthleteList) {
    sql += " INSERT INTO qrtb409 VALUES ('" + a.Name + "', " + n(a.Id) + ", " + n(a.Bib) + ", " +
           n(a.GradeId) + ", " + n(a.ClassId) + ", " + n(a.Sex) + ", 0);";
    for (int c : a.ContestIds)
      sql += " INSERT INTO qrtb397 (qrtb399, qrtb400) VALUES (" + n(c) + ", " + n(a.Id) + ");";
  }
  return sql;
}
