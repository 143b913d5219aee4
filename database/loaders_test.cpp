#include "database/loaders.h"

#include <gtest/gtest.h>

#include <vector>

#include "database/connections.h"
#include "database/data_lock.h"
#include "tests/testing/meet_fixture.h"

namespace {

// A small meet: two grades' groups, contests of an individual, a team and a
// combined event, rounds out of id order, athletes with entries and lanes.
const char* kMeetSql = R"sql(
INSERT INTO qrtb234 (qrtb235, qrtb236, qrtb237, qrtb238, qrtb239, qrtb240)
    VALUES (25, 1, 5, '105班', '120', '');
UPDATE qrtb7 SET qrtb12 = '王老师', qrtb11 = '赵教练', qrtb10 = '1234' WHERE qrtb16 = 2;
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380, qrtb381,
                     qrtb382, qrtb383, qrtb384, qrtb385, qrtb386, qrtb387, qrtb388) VALUES
    (1, 2, 2, 6, 2, 2, 3, 6, 1, 1, 0, 0, 3, 0, 0),
    (2, 1, 1, 6, 2, 2, 3, 8, 2, 2, 0, 0, 4, 0, 0),
    (3, 2, 1, 6, 2, 2, 3, 6, 1, 0, 0, 0, 0, 0, 0),
    (4, 99, 1, 6, 2, 2, 3, 6, 1, 0, 0, 0, 0, 0, 0);
INSERT INTO qrtb467 (qrtb469, qrtb470) VALUES (2, 14), (2, 1), (2, 16), (3, 9);
INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436) VALUES
    (10, 3, 1, 1, 8, 6, 1, 0),
    (11, 2, 1, 1, 8, 8, 2, 1),
    (12, 2, 14, 0, 0, 8, 2, 0),
    (13, 2, 16, 0, 0, 8, 2, 0),
    (14, 1, 9, 0, 0, 6, 1, 0);
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452,
                     qrtb453, qrtb454, qrtb455, qrtb456, qrtb457, qrtb458) VALUES
    (1, 12, 3, 0, 1, 1, 5, 4, 8, 0, 0, 0, 0, 0),
    (2, 11, 2, 0, 2, 1, 5, 8, 8, 0, 1, 2, 3, 5201030),
    (3, 11, 1, 0, 1, 2, 5, 16, 8, 0, 0, 0, 0, 0),
    (4, 10, 1, 0, 1, 3, 5, 16, 8, 0, 0, 0, 0, 0),
    (5, 14, 3, 0, 1, 4, 5, 9, 6, 0, NULL, NULL, NULL, NULL),
    (6, 13, 3, 0, 1, 5, 5, 9, 6, 2, 0, 0, 0, 0),
    (7, 13, 3, 0, 1, 6, 5, 9, 6, 9, 0, 0, 0, 0),
    (8, 99, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb412, qrtb413, qrtb414, qrtb415, qrtb416) VALUES
    (1, '张三', 12, 1, 1, 1, 0),
    (2, '李四', NULL, 1, 1, 1, 0),
    (3, '王芳', 3, 1, 1, 2, 0),
    (4, '赵六', 7, 1, 2, 1, 0),
    (5, '钱七', 2, 1, 1, 1, 0);
INSERT INTO qrtb397 (qrtb399, qrtb400) VALUES (13, 1), (11, 1), (12, 1), (11, 4), (12, 5);
INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486, qrtb487,
                     qrtb488, qrtb489) VALUES
    (1, 3, 2, 1, 4, 1250, 0, 999, 0, 0),
    (2, 3, 1, 2, 1, NULL, 1, NULL, NULL, NULL),
    (3, 3, 1, 1, 5, 1310, 0, 3, 600, 2),
    (4, 1, 1, 3, 5, NULL, 0, 0, 0, 0),
    (5, 1, 1, 3, 1, NULL, 0, 0, 0, 0),
    (6, 1, 1, 2, 77, NULL, 0, 0, 0, 0),
    (7, 1, 1, 3, 4, NULL, 0, 0, 0, 0);
INSERT INTO qrtb498 (qrtb500) VALUES (5);
INSERT INTO qrtb518 (qrtb519, qrtb520, qrtb521, qrtb522, qrtb523) VALUES
    (1, 1, 4, '5月1日8时0分', '秩序册(202451800).doc'),
    (2, 2, 0, '5月2日9时5分', 'b.doc');
UPDATE qrtb292 SET qrtb125 = 6, qrtb133 = '2 3 4 5 6 7 ' WHERE qrtb124 = 1;
UPDATE qrtb292 SET qrtb125 = 5, qrtb133 = '1 2 3 4 5 6 ' WHERE qrtb124 = 2;
UPDATE qrtb292 SET qrtb125 = 60, qrtb133 = NULL WHERE qrtb124 = 3;
)sql";

class Loaders : public ::testing::Test {
 protected:
  void SetUp() override {
    FixtureMeetSettings s;
    s.BibWidth = 4;
    fixture_.OpenNewMeet(kMeetSql, s);
  }
  MeetFixture fixture_;
  DataGuard hold_{DataLock};
};

template <typename List, typename Field>
std::vector<int> Ids(const List& list, Field field) {
  std::vector<int> ids;
  for (const auto& n : list) ids.push_back(n.*field);
  return ids;
}

TEST_F(Loaders, ClassesByGradeAndNumberWithOrWithoutAccount) {
  const auto& list = Model().ClassList;
  ASSERT_EQ(list.size(), 25u);
  std::vector<int> ids = Ids(list, &ClassNode::ClassId);
  EXPECT_EQ(std::vector<int>(ids.begin(), ids.begin() + 6), (std::vector<int>{1, 2, 3, 4, 25, 5}));
  const ClassNode& added = list[4];  // no class-teacher account
  EXPECT_EQ(added.ClassName, "105班");
  EXPECT_EQ(added.GradeName, "一年级");
  EXPECT_EQ(added.GradeShortName, "1");
  EXPECT_EQ(added.BoyStartNumber, "120");
  EXPECT_EQ(added.GirlStartNumber, "");
  EXPECT_EQ(added.Password, "");
  EXPECT_EQ(added.LeaderName, "");
  const ClassNode& second = list[1];
  EXPECT_EQ(second.LeaderName, "王老师");
  EXPECT_EQ(second.CoachName, "赵教练");
  EXPECT_EQ(second.Password, "1234");
  EXPECT_EQ(list[0].Password, "9352");  // default class password of a new meet
}

TEST_F(Loaders, EventsWithCombinedParts) {
  const auto& list = Model().EventList;
  ASSERT_FALSE(list.empty());
  for (std::size_t i = 1; i < list.size(); ++i) EXPECT_LT(list[i - 1].Id, list[i].Id);
  const EventNode* combined = nullptr;
  for (const auto& e : list)
    if (e.BiSaiType == 3) combined = &e;
  ASSERT_NE(combined, nullptr);
  EXPECT_EQ(combined->Parts, (std::vector<int>{2, 9, 11}));
  EXPECT_EQ(list[0].Name, "50米");
  EXPECT_EQ(list[0].Unit, "秒");
  EXPECT_TRUE(list[0].Parts.empty());
}

TEST_F(Loaders, VenueLanesInUse) {
  const auto& list = Model().VenueList;
  ASSERT_GE(list.size(), 4u);
  // Lanes text agrees with the size: its lanes are used.
  EXPECT_EQ(list[0].Size, 6);
  EXPECT_EQ(std::vector<int>(list[0].LanesInUse.begin(), list[0].LanesInUse.begin() + 7),
            (std::vector<int>{2, 3, 4, 5, 6, 7, 0}));
  // Six lanes listed for a size of five: lanes 1 to 5.
  EXPECT_EQ(std::vector<int>(list[1].LanesInUse.begin(), list[1].LanesInUse.begin() + 6),
            (std::vector<int>{1, 2, 3, 4, 5, 0}));
  // A size above the slots fills every slot without overrunning.
  EXPECT_EQ(list[2].LanesInUse.back(), 50);
  // A field venue: 1 to 50 whatever its size.
  EXPECT_EQ(list[3].Size, 13);
  EXPECT_EQ(list[3].LanesInUse[0], 1);
  EXPECT_EQ(list[3].LanesInUse[49], 50);
  EXPECT_EQ(list[3].Unit, "人");
  EXPECT_EQ(list[0].Name, "直线跑道");
}

TEST_F(Loaders, SchemesAndGroups) {
  const auto& schemes = Model().ScoringSchemeList;
  ASSERT_EQ(schemes.size(), 2u);
  EXPECT_EQ(schemes[0].PlacesScored, 8);
  EXPECT_EQ(schemes[0].Points[0], 9);
  EXPECT_EQ(schemes[0].Points[7], 1);
  EXPECT_EQ(schemes[0].Points[19], 0);

  // By grade, then sex; a group whose grade is gone is not listed.
  const auto& groups = Model().GroupList;
  EXPECT_EQ(Ids(groups, &GroupNode::Id), (std::vector<int>{2, 3, 1}));
  const GroupNode& g = groups[0];
  EXPECT_EQ(g.GradeName, "一年级");
  EXPECT_EQ(g.PlacesRanked, 8);
  EXPECT_EQ(g.SchemeId, 2);
  EXPECT_EQ(g.Bonus, (std::array<int, 3>{0, 2, 4}));
  EXPECT_EQ(groups[2].Sex, 2);

  const auto& group_events = Model().GroupEventList;
  ASSERT_EQ(group_events.size(), 3u);
  EXPECT_EQ(group_events[0].GroupId, 2);
  EXPECT_EQ(group_events[0].EventIds, (std::vector<int>{1, 14, 16}));
  EXPECT_EQ(group_events[1].EventIds, (std::vector<int>{9}));
  EXPECT_TRUE(group_events[2].EventIds.empty());
}

TEST_F(Loaders, ContestsAndRoundsInTheirOrders) {
  EXPECT_EQ(Ids(Model().ContestList, &ContestNode::Id), (std::vector<int>{11, 10, 14, 12, 13}));
  const ContestNode& c = Model().ContestList[0];
  EXPECT_EQ(c.HasPrelim, 1);
  EXPECT_EQ(c.Qualifiers, 8);
  EXPECT_EQ(c.SchemeId, 1);
  // Team type, round kind, event, grade, sex, id; a round of a missing
  // contest is not listed.
  EXPECT_EQ(Ids(Model().RoundList, &RoundNode::Id), (std::vector<int>{3, 4, 2, 5, 6, 7, 1}));
  const RoundNode& r = Model().RoundList[2];
  EXPECT_EQ(r.Kind, 2);
  EXPECT_EQ(r.Session, 2);
  EXPECT_EQ(r.CertificatePrints, 1);
  EXPECT_EQ(r.CheckInPrints, 2);
  EXPECT_EQ(r.ResultPrints, 3);
  EXPECT_EQ(r.CompletionStamp, 5201030);
  EXPECT_EQ(Model().RoundList[3].CompletionStamp, 0);  // NULL counters read as 0
  EXPECT_EQ(Model().RoundList[4].PartEventId, 2);
}

TEST_F(Loaders, AthletesWithBibTextsAndEntries) {
  const auto& list = Model().AthleteList;
  // Grade, class, sex, bib (none first), id.
  EXPECT_EQ(Ids(list, &AthleteNode::Id), (std::vector<int>{2, 5, 1, 3, 4}));
  EXPECT_EQ(Ids(list, &AthleteNode::Ordinal), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(list[0].Bib, 0);
  EXPECT_EQ(list[0].BibText, "");
  EXPECT_EQ(list[1].BibText, "0002");
  EXPECT_EQ(list[2].Name, "张三");
  EXPECT_EQ(list[2].ContestIds, (std::vector<int>{13, 11, 12}));  // as written
  EXPECT_TRUE(list[0].ContestIds.empty());
}

TEST_F(Loaders, LanesByRoundHeatLaneWithClassIdsAndNullRules) {
  const auto& list = Model().LaneList;
  // A team's members share heat and lane and stay together in row order.
  EXPECT_EQ(Ids(list, &LaneNode::Id), (std::vector<int>{6, 4, 5, 7, 3, 2, 1}));
  EXPECT_EQ(Ids(list, &LaneNode::ClassId), (std::vector<int>{0, 1, 1, 2, 1, 1, 2}));
  const LaneNode& no_result = list[5];
  EXPECT_EQ(no_result.Result, kNoResult);
  EXPECT_EQ(no_result.Status, 1);
  EXPECT_EQ(no_result.Place, 0);
  EXPECT_EQ(no_result.Points, 0);
  EXPECT_EQ(no_result.RecordFlag, 0);
  const LaneNode& placed = list[4];
  EXPECT_EQ(placed.Result, 1310);
  EXPECT_EQ(placed.Place, 3);
  EXPECT_EQ(placed.Points, 600);
  EXPECT_EQ(placed.RecordFlag, 2);
  EXPECT_EQ(placed.Key, 0);
  EXPECT_EQ(list[6].Place, 999);
  ASSERT_EQ(Model().AthleteAuxList.size(), 1u);
  EXPECT_EQ(Model().AthleteAuxList[0].AthleteId, 5);
}

TEST_F(Loaders, DocumentsNewestFirst) {
  const auto& list = Model().DocumentList;
  EXPECT_EQ(Ids(list, &DocumentNode::Id), (std::vector<int>{2, 1}));
  EXPECT_EQ(list[1].FilePath, "秩序册(202451800).doc");
  EXPECT_EQ(list[1].TimeText, "5月1日8时0分");
  EXPECT_EQ(list[1].Downloads, 4);
}

TEST_F(Loaders, RecordsNewestFirstWithMissingValuesAsNoResult) {
  ASSERT_TRUE(fixture_.BaseSql(
      "INSERT INTO qrtb188 (qrtb189, qrtb190, qrtb191, qrtb192, qrtb193, qrtb194, qrtb195,"
      " qrtb196, qrtb197, qrtb198, qrtb199, qrtb202, qrtb205, qrtb208, qrtb209, qrtb210) VALUES"
      " (1, 1, '一年级', 1, '50米', 1, 1, 812, 3, 4, '张三', '101班', '2023年5月1日', '秒', '旧运动会', 2),"
      " (2, 1, '二年级', 2, '跳远', 0, 0, NULL, NULL, NULL, '', '', '', '米', '', 3);"));
  ASSERT_EQ(LoadRecords(), 0);
  const auto& list = Model().RecordList;
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].Id, 2);
  EXPECT_EQ(list[0].Value, kNoResult);
  EXPECT_EQ(list[0].Value2, kNoResult);
  EXPECT_EQ(list[0].Value3, kNoResult);
  EXPECT_EQ(list[0].RoundKind, 3);
  const RecordNode& r = list[1];
  EXPECT_EQ(r.Value, 812);
  EXPECT_EQ(r.Value2, 3);
  EXPECT_EQ(r.Value3, 4);
  EXPECT_EQ(r.GroupName, "一年级");
  EXPECT_EQ(r.EventName, "50米");
  EXPECT_EQ(r.HolderName, "张三");
  EXPECT_EQ(r.ClassName, "101班");
  EXPECT_EQ(r.DateText, "2023年5月1日");
  EXPECT_EQ(r.UnitText, "秒");
  EXPECT_EQ(r.MeetName, "旧运动会");
}

TEST_F(Loaders, ReloadAfterAChangeAndAFailedLoadLeavesTheListEmpty) {
  ASSERT_TRUE(MeetConnection().ExecScript("UPDATE qrtb409 SET qrtb412 = 15 WHERE qrtb411 = 2"));
  ASSERT_EQ(LoadAthletes(), 0);
  // Athlete 2 now has the highest bib of its class and sex.
  EXPECT_EQ(Ids(Model().AthleteList, &AthleteNode::Id), (std::vector<int>{5, 1, 2, 3, 4}));
  EXPECT_EQ(Model().AthleteList[2].BibText, "0015");
  ASSERT_TRUE(MeetConnection().ExecScript("DROP TABLE qrtb518"));
  EXPECT_NE(LoadDocuments(), 0);
  EXPECT_TRUE(Model().DocumentList.empty());
}

TEST_F(Loaders, GradeOptionsAndFreeingTheLists) {
  std::vector<GradeOption> grades = LoadGradeOptions();
  ASSERT_EQ(grades.size(), 6u);
  EXPECT_EQ(grades[0].GradeId, 1);
  EXPECT_EQ(grades[5].GradeName, "六年级");
  FreeAthleteList();
  EXPECT_TRUE(Model().AthleteList.empty());
  EXPECT_FALSE(Model().LaneList.empty());
  FreeAllLists();
  EXPECT_TRUE(Model().LaneList.empty());
  EXPECT_TRUE(Model().ClassList.empty());
  EXPECT_TRUE(Model().RecordList.empty());
}

TEST(BibText, WidthThreeOrFourDigits) {
  EXPECT_EQ(FormatBibText(7, 3), "007");
  EXPECT_EQ(FormatBibText(1234, 3), "1234");
  EXPECT_EQ(FormatBibText(7, 4), "0007");
  EXPECT_EQ(FormatBibText(7, 8), "0007");  // any width but 3 prints four digits
  EXPECT_EQ(FormatBibText(0, 3), "");
}

}  // namespace
