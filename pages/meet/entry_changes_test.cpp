#include "pages/meet/entry_changes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "database/connections.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "database/store_test_support.h"
#include "engine/draw.h"
#include "tests/testing/registration_meet.h"

namespace korva {

namespace {

// The registration meet after its order book. Boys of class 101: 1 甲 (no
// entry, no bib yet), 2 乙 (100米, relay, 铅球 without a lane), 3 丙 (relay,
// mixed relay); class 102: 11 to 14. Girls of class 101: 21 (mixed relay),
// 22 (nothing yet). Rounds: 5001 boys' 100米, 5005 boys' relay, 5006 the
// mixed relay (the girls' contest holds it), 5201 girls' 100米 (no lane
// yet), and 跳远 (1102) with preliminary 5101 and final 5102.
const char* kDrawnMeetSql = R"sql(
UPDATE qrtb425 SET qrtb429 = 1, qrtb430 = 8 WHERE qrtb426 = 1102;
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453, qrtb454,
                     qrtb455, qrtb456, qrtb457, qrtb458) VALUES
  (5001, 1101, 3, 0, 1, 1, 10, 4, 3, 0, 0, 0, 0, 0), (5005, 1105, 3, 0, 1, 2, 10, 2, 1, 0, 0, 0, 0, 0),
  (5006, 1206, 3, 0, 1, 3, 10, 1, 1, 0, 0, 0, 0, 0), (5201, 1201, 3, 0, 1, 4, 10, 0, 0, 0, 0, 0, 0, 0),
  (5101, 1102, 1, 0, 2, 1, 10, 9, 8, 0, 0, 0, 0, 0), (5102, 1102, 2, 0, 2, 2, 10, 0, 6, 0, 0, 0, 0, 0);
)sql";

// Heat 1 of the 100米 holds lanes 1, 2, 4 and 5.
const char* kLanesSql = R"sql(
INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb486, qrtb487, qrtb488, qrtb489) VALUES
  (1, 5001, 1, 1, 11, 0, 0, 0, 0), (2, 5001, 1, 2, 12, 0, 0, 0, 0), (3, 5001, 1, 4, 2, 0, 0, 0, 0),
  (4, 5001, 1, 5, 13, 0, 0, 0, 0), (5, 5005, 1, 3, 2, 0, 0, 0, 0), (6, 5005, 1, 3, 3, 0, 0, 0, 0),
  (7, 5005, 1, 5, 14, 0, 0, 0, 0), (8, 5006, 1, 4, 21, 0, 0, 0, 0), (9, 5006, 1, 4, 3, 0, 0, 0, 0),
  (10, 5101, 1, 3, 11, 0, 0, 0, 0), (11, 5102, 1, 4, 11, 0, 0, 0, 0);
)sql";

std::string DrawnMeetAthletes() {
  return AthleteSql(1, "甲", 1, 101, 1, {}) + AthleteSql(2, "乙", 1, 101, 1, {1101, 1105, 1103}, 102) +
         AthleteSql(3, "丙", 1, 101, 1, {1105, 1106}, 103) + AthleteSql(11, "子", 1, 102, 1, {1101, 1102}, 201) +
         AthleteSql(12, "丑", 1, 102, 1, {1101}, 202) + AthleteSql(13, "寅", 1, 102, 1, {1101}, 203) +
         AthleteSql(14, "卯", 1, 102, 1, {1105}, 204) + AthleteSql(21, "春", 1, 101, 2, {1206}, 111) +
         AthleteSql(22, "夏", 1, 101, 2, {});
}

// The lists as text, rounds and athletes by id, so that a reload in the
// loader's order compares equal (a round whose kind the draw changed keeps
// its place in RoundList until the next load).
std::string ListsText() {
  std::string text;
  for (const LaneNode& l : Model().LaneList) {
    text += "L" + std::to_string(l.Id) + " r" + std::to_string(l.RoundId) + " h" + std::to_string(l.Heat) + " l" +
            std::to_string(l.Lane) + " a" + std::to_string(l.AthleteId) + " c" + std::to_string(l.ClassId) + " " +
            std::to_string(l.Result) + "\n";
  }
  std::vector<const RoundNode*> rounds;
  for (const RoundNode& r : Model().RoundList) rounds.push_back(&r);
  std::sort(rounds.begin(), rounds.end(), [](auto* a, auto* b) { return a->Id < b->Id; });
  for (const RoundNode* r : rounds) {
    text += "R" + std::to_string(r->Id) + " k" + std::to_string(r->Kind) + " d" + std::to_string(r->Disabled) +
            " e" + std::to_string(r->Entrants) + " p" + std::to_string(r->Places) + "\n";
  }
  std::vector<const AthleteNode*> athletes;
  for (const AthleteNode& a : Model().AthleteList) athletes.push_back(&a);
  std::sort(athletes.begin(), athletes.end(), [](auto* a, auto* b) { return a->Id < b->Id; });
  for (const AthleteNode* a : athletes) {
    text += "A" + std::to_string(a->Id) + " " + a->BibText + ":";
    for (int c : a->ContestIds) text += " " + std::to_string(c);
    text += "\n";
  }
  return text;
}

std::string FileText() { return Dump({"qrtb397", "qrtb409", "qrtb444", "qrtb479"}); }

// The lists equal a fresh load of the file.
void ExpectListsMatchFile() {
  const std::string lists = ListsText();
  ASSERT_EQ(LoadAthletes(), 0);
  ASSERT_EQ(LoadRounds(), 0);
  ASSERT_EQ(LoadLanes(), 0);
  EXPECT_EQ(ListsText(), lists);
}

// Id, round, heat and lane of every lane but the athlete's.
std::vector<std::tuple<int, int, int, int, int>> OthersLanes(int athlete_id) {
  std::vector<std::tuple<int, int, int, int, int>> lanes;
  for (const LaneNode& l : Model().LaneList) {
    if (l.AthleteId != athlete_id) lanes.emplace_back(l.Id, l.RoundId, l.Heat, l.Lane, l.AthleteId);
  }
  return lanes;
}

const LaneNode* LaneOf(int round_id, int athlete_id) {
  for (const LaneNode& l : Model().LaneList) {
    if (l.RoundId == round_id && l.AthleteId == athlete_id) return &l;
  }
  return nullptr;
}

class EntryChangesTest : public ::testing::Test {
 protected:
  void Open(const std::string& lanes_sql = kLanesSql, const std::string& extra_sql = {}) {
    meet_ = OpenRegistrationMeet(fixture_, kDrawnMeetSql + DrawnMeetAthletes() + lanes_sql + extra_sql, 1);
  }
  std::string Add(int athlete_id, int event_id) {
    std::string message;
    EXPECT_EQ(AddAthleteToEvent(athlete_id, event_id, message), 0);
    return message;
  }
  std::string Withdraw(int event_id, int athlete_id) {
    std::string message;
    EXPECT_EQ(WithdrawAthleteFromEvent(event_id, athlete_id, message), 0);
    return message;
  }

  MeetFixture fixture_;
  int meet_ = 0;
};

TEST(FreeHeatPosition, GapFirstThenTheEndOfAHeatElseNone) {
  struct Case {
    int venue_size, fzfd, bisai;
    std::vector<std::pair<int, int>> held;  // heat, lane
    int result, heat, lane;
  };
  const Case cases[] = {
      {8, 1, 1, {{1, 1}, {1, 2}, {1, 4}, {1, 5}}, 0, 1, 3},
      {8, 1, 1, {{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 3}}, 0, 2, 2},        // a gap in any heat comes first
      {8, 1, 1, {{1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}}, 0, 1, 7},        // after the last lane
      {3, 1, 1, {{1, 1}, {1, 2}, {1, 3}, {2, 2}, {2, 3}}, 0, 2, 1},      // before the first
      {3, 1, 1, {{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 2}, {2, 3}}, 1, 0, 0},  // every lane held: redraw
      {3, 1, 1, {{1, 1}, {1, 1}, {1, 2}, {1, 2}}, 0, 1, 3},                // class teams share a lane
      {13, 2, 2, {{1, 1}, {1, 2}, {1, 3}}, 0, 1, 4},                      // field order
      {2, 2, 2, {{1, 1}, {1, 2}}, 1, 0, 0},
      {2, 2, 1, {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}}, 0, 1, 6},        // track in groups: 3 x 2 places
      {0, 1, 1, {{1, 1}}, 1, 0, 0},                                        // a venue of no size counts as 1
  };
  for (const Case& c : cases) {
    MeetModel& m = Model();
    m = MeetModel{};
    m.VenueList.push_back({.Id = 9, .Size = c.venue_size});
    m.EventList.push_back({.Id = 7, .BiSaiType = c.bisai, .FZFDType = c.fzfd, .ChangDi = 9});
    m.ContestList.push_back({.Id = 3, .GroupId = 1, .EventId = 7});
    m.RoundList.push_back({.Id = 4, .ContestId = 3});
    m.LaneList.push_back({.Id = 99, .RoundId = 2, .Heat = 1, .Lane = 2});  // another round's lane
    int id = 1;
    for (auto [heat, lane] : c.held) m.LaneList.push_back({.Id = id++, .RoundId = 4, .Heat = heat, .Lane = lane});
    int heat = 0;
    int lane = 0;
    EXPECT_EQ(FindFreeHeatPosition(m.RoundList[0], lane, heat), c.result) << c.venue_size << " " << c.held.size();
    if (c.result == 0) {
      EXPECT_EQ(std::pair(heat, lane), std::pair(c.heat, c.lane)) << c.venue_size;
    }
  }
  Model() = MeetModel{};
}

// Each way of joining a drawn contest: a free lane, the class's team lane
// (a mixed relay in the girls' contest's round), the first lane of a round
// without one. Nobody else moves, and the new athlete gets his number.
TEST_F(EntryChangesTest, AJoinTakesAPlaceWithoutMovingAnyone) {
  struct Case {
    int athlete, event, round;
    std::string message;
    int heat, lane, entrants;
  };
  const Case cases[] = {
      {1, 901, 5001, "加入“100米”比赛成功，原有的运动员没有重新分组分道，请重新打印检录表。", 1, 3, 5},
      {1, 905, 5005, "加入“4x100米接力”比赛成功，团队比赛检录表未发生任何变化。", 1, 3, 2},
      {1, 906, 5006, "加入“男女混合接力”比赛成功，团队比赛检录表未发生任何变化。", 1, 4, 1},
      {22, 901, 5201, "加入“100米”比赛成功，请打印检录表。", 1, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Open();
    const auto others = OthersLanes(c.athlete);
    EXPECT_EQ(Add(c.athlete, c.event), c.message);
    EXPECT_EQ(OthersLanes(c.athlete), others);
    const LaneNode* lane = LaneOf(c.round, c.athlete);
    ASSERT_NE(lane, nullptr);
    EXPECT_EQ(std::pair(lane->Heat, lane->Lane), std::pair(c.heat, c.lane));
    EXPECT_EQ(lane->Id, 12);
    EXPECT_EQ(FindRoundById(c.round)->Entrants, c.entrants);
    const AthleteNode* athlete = FindAthleteById(c.athlete);
    EXPECT_EQ(athlete->ContestIds.size(), 1u);
    // Numbered as the order book would have: the boys of 101 from 1 on,
    // its girls after the boys' block of 3.
    EXPECT_EQ(athlete->BibText, c.athlete == 1 ? "001" : "004");
    ExpectListsMatchFile();
  }
}

// With no free lane the contest is drawn again, unless it holds a result:
// then nothing is stored and the result stays.
TEST_F(EntryChangesTest, AFullContestIsDrawnAgainOnlyWhileItHoldsNoResult) {
  std::string athletes;
  std::string lanes = "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484) VALUES ";
  for (int i = 0; i < 8; ++i) {
    const int id = 31 + i;
    athletes += AthleteSql(id, "乙" + std::to_string(id), 1, 102, 1, {1101}, 300 + id);
    lanes += (i ? ", (" : "(") + std::to_string(id) + ", 5001, 1, " + std::to_string(i + 1) + ", " +
             std::to_string(id) + ")";
  }
  // Athletes 2, 11, 12 and 13 also hold 100米: the redraw takes every entrant.
  for (bool with_result : {true, false}) {
    SCOPED_TRACE(with_result);
    Open(lanes + ";\n", athletes + (with_result ? "UPDATE qrtb479 SET qrtb485 = 1234 WHERE qrtb480 = 33;" : ""));
    const std::string file = FileText();
    const std::string lists = ListsText();
    const std::string message = Add(1, 901);
    if (with_result) {
      EXPECT_EQ(message, "“100米”比赛已有比赛成绩，无法重新分组分道，请删除成绩后再试。");
      EXPECT_EQ(FileText(), file);
      EXPECT_EQ(ListsText(), lists);
      continue;
    }
    EXPECT_EQ(message, "加入“100米”比赛成功，并已重新分组分道，现为2组共13人。请重新打印检录表。");
    std::set<int> drawn;
    for (const LaneNode& l : Model().LaneList) {
      if (l.RoundId == 5001) {
        EXPECT_TRUE(drawn.insert(l.AthleteId).second) << l.AthleteId;
      }
    }
    EXPECT_EQ(drawn.size(), 13u);
    EXPECT_TRUE(drawn.count(1));
    ExpectListsMatchFile();
  }
}

// A refused join, or a store failure at any step of one, leaves the files
// and the lists as they were.
TEST_F(EntryChangesTest, RefusedOrFailedJoinsChangeNothing) {
  std::string thirty;
  for (int i = 0; i < 30; ++i) thirty += "INSERT INTO qrtb397 (qrtb399, qrtb400) VALUES (1105, 40);\n";
  const std::string failed = "数据库写入出现错误，修改失败！";
  const struct {
    int athlete, event;
    const char *fail_op, *fail_table;
    std::string message;
  } cases[] = {
      {2, 901, "", "", "该名运动员已经参加了“100米”比赛"},
      {2, 902, "", "", "该运动员所在竞赛组每人限报2项单项比赛,该运动员已报个人单项2项，不能再报“跳远”比赛！"},
      {14, 901, "", "", "该运动员所在竞赛组单项限报2人,目前此竞赛组“100米”已报3人，不能再有其他运动员参加此项比赛！"},
      {40, 906, "", "", "该运动员报名的比赛已达上限，不能再报“男女混合接力”比赛！"},
      {1, 903, "", "", "数据错误，错误号：310943!"},  // 铅球 has no round: the entry is not kept either
      {1, 999, "", "", "数据错误，错误号：3443!"},
      {1, 901, "INSERT", "qrtb397", failed}, {1, 901, "UPDATE", "qrtb409", failed},
      {1, 901, "INSERT", "qrtb479", failed}, {1, 901, "UPDATE", "qrtb444", failed},
      {1, 905, "INSERT", "qrtb479", failed},
  };
  Open(kLanesSql, AthleteSql(40, "满", 1, 102, 1, {}) + thirty);
  std::string file = FileText();
  std::string lists = ListsText();
  for (const auto& c : cases) {
    if (*c.fail_op) FailOn(c.fail_op, c.fail_table, "refuse");
    EXPECT_EQ(Add(c.athlete, c.event), c.message);
    if (*c.fail_op) DropTrigger("refuse");
    EXPECT_EQ(FileText(), file) << c.message;
    EXPECT_EQ(ListsText(), lists) << c.message;
  }
  ExpectListsMatchFile();
  Model().LaneList.clear();
  EXPECT_EQ(Add(1, 901), "运动会还未生成秩序册，请到班主任登陆后修改运动员信息与比赛！本功能适用于秩序册生成后修改运动员信息与比赛。");
  EXPECT_EQ(Withdraw(901, 2), Add(1, 901));

  // The redraw's own writes, in a contest without a free lane.
  Open("");
  ASSERT_TRUE(fixture_.MeetSql(meet_, "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484) VALUES "
                                      "(1, 5201, 1, 1, 22), (2, 5001, 1, 1, 11), (3, 5001, 1, 2, 12)"));
  ASSERT_EQ(fixture_.Open(meet_), 0);
  FindVenueById(1)->Size = 2;  // both lanes held
  file = FileText();
  lists = ListsText();
  FailOn("INSERT", "qrtb479", "refuse");
  EXPECT_EQ(Add(1, 901), "数据库写入出现错误，修改失败！");
  DropTrigger("refuse");
  EXPECT_EQ(FileText(), file);
  EXPECT_EQ(ListsText(), lists);
}

// A withdrawal takes the athlete's lanes of the event (a preliminary and
// its final, or his place in his class's mixed relay) and his entry; every
// other lane stays where it was, and the round he leaves counts the
// entrants that stay (a team's lane while a member holds it).
TEST_F(EntryChangesTest, AWithdrawalLeavesEveryOtherLaneAsItWas) {
  struct Case {
    int athlete, event;
    std::string message;
    int contest;  // the entry that goes
    int round, entrants;  // the round left and its count in the file
  };
  const Case cases[] = {
      {11, 902, "成功退出“跳远”比赛！", 1102, 5101, 0},
      {3, 906, "成功退出“男女混合接力”比赛！", 1106, 5006, 1},
      {3, 905, "成功退出“4x100米接力”比赛！", 1105, 5005, 2},
      {2, 901, "成功退出“100米”比赛！", 1101, 5001, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Open();
    const auto others = OthersLanes(c.athlete);
    const std::size_t lanes = Model().LaneList.size();
    EXPECT_EQ(Withdraw(c.event, c.athlete), c.message);
    EXPECT_EQ(Model().LaneList.size(), lanes - (c.event == 902 ? 2 : 1));
    EXPECT_EQ(OthersLanes(c.athlete), others);
    const auto& entries = FindAthleteById(c.athlete)->ContestIds;
    EXPECT_EQ(std::count(entries.begin(), entries.end(), c.contest), 0);
    EXPECT_EQ(FindRoundById(5006)->Entrants, 1);  // counts stay
    EXPECT_EQ(MeetInt("SELECT qrtb452 FROM qrtb444 WHERE qrtb445 = " + std::to_string(c.round)), c.entrants);
    ExpectListsMatchFile();
  }
}

TEST_F(EntryChangesTest, AWithdrawalIsRefusedOnceAResultIsInAndAFailedOneChangesNothing) {
  Open(kLanesSql, "UPDATE qrtb479 SET qrtb485 = 512 WHERE qrtb480 = 10;");  // 11's preliminary
  std::string file = FileText();
  std::string lists = ListsText();
  EXPECT_EQ(Withdraw(902, 11), "“跳远”比赛中已录入该运动员成绩，无法退赛！");
  // An entry without a lane is kept: the withdrawal answers its failure.
  EXPECT_EQ(Withdraw(903, 2), "退出“铅球”比赛失败！");
  EXPECT_EQ(FileText(), file);
  EXPECT_EQ(ListsText(), lists);
  for (const char* table : {"qrtb479", "qrtb397"}) {
    FailOn("DELETE", table, "refuse");
    EXPECT_EQ(Withdraw(901, 2), "退出“100米”比赛失败！");
    DropTrigger("refuse");
    EXPECT_EQ(FileText(), file);
    EXPECT_EQ(ListsText(), lists);
  }
  EXPECT_EQ(Withdraw(901, 2), "成功退出“100米”比赛！");
}

// Drawing again after late entries: each undrawn entrant gets a lane where
// its team runs (a boy of the mixed relay in the girls' contest's round),
// other contests keep their lanes, and one holding a result is never drawn
// again.
TEST_F(EntryChangesTest, LateEntrantsAreDrawnWhereNoResultIsLost) {
  // 甲 (1) entered late in 100米 and the mixed relay, 夏 (22) in the girls' 100米.
  const std::string late = "INSERT INTO qrtb397 (qrtb399, qrtb400) VALUES (1101, 1), (1106, 1), (1201, 22);";
  for (bool with_result : {false, true}) {
    SCOPED_TRACE(with_result);
    Open(kLanesSql, late + (with_result ? "UPDATE qrtb479 SET qrtb485 = 1234 WHERE qrtb480 = 1;" : ""));
    DataGuard hold(DataLock);
    EXPECT_EQ(IsAthleteUndrawn(1101, 1) + IsAthleteUndrawn(1106, 1) + IsAthleteUndrawn(1201, 22), 3);
    // The relay, the long jump and a 100米 holding a result keep their lanes.
    auto kept = [&] {
      std::vector<std::tuple<int, int, int, int>> lanes;
      for (const LaneNode& l : Model().LaneList)
        if (l.RoundId == 5005 || l.RoundId == 5101 || (with_result && l.RoundId == 5001))
          lanes.emplace_back(l.Id, l.RoundId, l.Heat, l.Lane);
      return lanes;
    };
    const auto before = kept();
    ASSERT_EQ(RedrawUndrawnContests(2u), 0);
    EXPECT_EQ(kept(), before);
    EXPECT_EQ(IsAthleteUndrawn(1101, 1), with_result ? 1 : 0);
    EXPECT_EQ(FindRoundById(5001)->Entrants, with_result ? 4 : 5);
    ASSERT_NE(LaneOf(5006, 1), nullptr);
    EXPECT_EQ(LaneOf(5006, 1)->Lane, LaneOf(5006, 21)->Lane);
    EXPECT_NE(LaneOf(5201, 22), nullptr);
    ExpectListsMatchFile();
  }
}

// A preliminary that its few entrants make unnecessary is dropped and its
// final drawn as a single final; once more athletes enter, the preliminary
// is held again and the final waits for its qualifiers.
TEST_F(EntryChangesTest, APreliminaryIsDroppedAndHeldAgainAsItsEntrantsChange) {
  Open();
  DataGuard hold(DataLock);
  auto round = [](int id) {
    const RoundNode& r = *FindRoundById(id);
    return std::tuple(r.Kind, r.Disabled, r.Entrants, r.Places);
  };
  int heats = 0, entrants = 0;
  ASSERT_EQ(RedrawContest(1102, heats, entrants), 0);  // 子 (11) alone
  EXPECT_EQ(round(5101), std::tuple(kPrelim, 1, 0, 8));
  EXPECT_EQ(round(5102), std::tuple(kDirectFinal, 0, 1, 1));
  ASSERT_NE(LaneOf(5102, 11), nullptr);
  ExpectListsMatchFile();

  std::string more;
  for (int id = 41; id <= 48; ++id) more += AthleteSql(id, "跳" + std::to_string(id), 1, 102, 1, {1102});
  ASSERT_TRUE(fixture_.MeetSql(meet_, more));
  ASSERT_EQ(fixture_.Open(meet_), 0);
  ASSERT_EQ(RedrawContest(1102, heats, entrants), 0);
  EXPECT_EQ(entrants, 9);
  EXPECT_EQ(round(5101), std::tuple(kPrelim, 0, 9, 8));
  EXPECT_EQ(round(5102), std::tuple(kFinalAfterPrelim, 0, 0, 6));
  EXPECT_EQ(LaneOf(5102, 11), nullptr);
  ExpectListsMatchFile();
}

// The whole draw is one write: a lane the file refuses leaves every lane
// and round as it was.
TEST_F(EntryChangesTest, AFailedDrawLeavesFilesAndListsAsTheyWere) {
  Open(kLanesSql, "INSERT INTO qrtb397 (qrtb399, qrtb400) VALUES (1201, 22);");
  DataGuard hold(DataLock);
  ASSERT_TRUE(FailOn("INSERT", "qrtb479", "refuse", "NEW.qrtb481 = 5201"));
  const std::string file = FileText();
  const std::string lists = ListsText();
  EXPECT_EQ(DrawAllRounds(4u), 1);
  DropTrigger("refuse");
  EXPECT_EQ(FileText(), file);
  EXPECT_EQ(ListsText(), lists);
}

}  // namespace

}  // namespace korva
