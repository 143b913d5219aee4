#include "database/store_groups.h"

#include <gtest/gtest.h>

#include "database/loaders.h"
#include "database/open_meet.h"
#include "database/store_test_support.h"
#include "tests/testing/meet_fixture.h"

namespace {

// Grade 1 boys (1) and girls (2), grade 2 boys (3). Group 2 holds event 3
// with a preliminary, a final and lanes; an athlete of grade 2 boys exists.
const char* kGroupsSql = R"sql(
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380, qrtb381, qrtb382)
    VALUES (1, 1, 1, 6, 2, 2, 3, 8, 1), (2, 1, 2, 6, 2, 2, 3, 8, 1), (3, 2, 1, 6, 2, 2, 3, 8, 1);
INSERT INTO qrtb467 (qrtb469, qrtb470) VALUES (1, 3), (2, 3);
INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436)
    VALUES (10, 1, 3, 1, 8, 8, 1, 0), (11, 2, 3, 1, 8, 8, 1, 0);
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb453) VALUES
    (1, 10, 1, 8), (2, 10, 2, 8), (3, 11, 1, 8), (4, 11, 2, 8);
INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484) VALUES (1, 3, 1, 1, 0);
INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb413, qrtb414, qrtb415) VALUES (1, '李四', 2, 5, 1);
)sql";

GradeGroupSettings Row(int grade, int boys, int girls, int places, int scheme) {
  GradeGroupSettings row;
  row.GradeId = grade;
  row.Boys = boys;
  row.Girls = girls;
  row.AthletesPerClass = 5;
  row.EntrantsPerEvent = 3;
  row.EventsPerAthlete = 2;
  row.CombinedLimit = 1;
  row.PlacesRanked = places;
  row.SchemeId = scheme;
  return row;
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) out += c == '<' ? std::string("&lt;") : std::string(1, c);
  return out;
}

void ReloadGroupLists() {
  DataGuard hold(DataLock);
  LoadGroups();
  LoadGroupEvents();
  LoadContests();
  LoadRounds();
}

TEST(SaveCompetitionGroups, AddsUpdatesDeletesAndKeepsGroupsWithAthletes) {
  MeetFixture f;
  f.OpenNewMeet(kGroupsSql);
  std::string report;
  // Grade 1 keeps its boys only, grade 3 gets girls; grade 2 boys are gone
  // from the form but hold an athlete.
  int result = SaveCompetitionGroups({Row(1, 1, 0, 5, 2), Row(3, 0, 1, 6, 1)}, {2, 4, 0, 0, 0, 0},
                                     &report);
  EXPECT_EQ(result, 2);
  EXPECT_EQ(report, "二年级男子组\n");
  EXPECT_EQ(MeetInt("SELECT qrtb377 * 1000 + qrtb381 * 10 + qrtb382 FROM qrtb373 WHERE qrtb374 = 1"), 5052);
  EXPECT_EQ(MeetInt("SELECT qrtb431 * 10 + qrtb434 FROM qrtb425 WHERE qrtb426 = 10"), 52);
  EXPECT_EQ(MeetInt("SELECT qrtb453 FROM qrtb444 WHERE qrtb445 = 2"), 5);
  EXPECT_EQ(MeetInt("SELECT qrtb453 FROM qrtb444 WHERE qrtb445 = 1"), 8);
  // Grade 1 girls went with everything that hung on them.
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb373 WHERE qrtb374 = 2"), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb425 WHERE qrtb427 = 2"), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb444 WHERE qrtb446 = 11"), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb479"), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb467 WHERE qrtb469 = 2"), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb373 WHERE qrtb375 = 2"), 1);
  EXPECT_EQ(MeetInt("SELECT qrtb381 FROM qrtb373 WHERE qrtb375 = 3 AND qrtb376 = 2"), 6);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb373 WHERE qrtb383 = 2 AND qrtb386 = 4"), 3);

  report.clear();
  EXPECT_EQ(SaveCompetitionGroups({Row(1, 1, 1, 5, 2), Row(2, 1, 0, 5, 2), Row(3, 0, 1, 6, 1)},
                                   {2, 4, 0, 0, 0, 0}, &report),
            0);
  EXPECT_EQ(report, "已添加：一年级女子组\n");
}

TEST(SaveCompetitionGroups, FailureOfTheLastStatementChangesNothing) {
  MeetFixture f;
  f.OpenNewMeet(kGroupsSql);
  std::string before = TableDump("qrtb373") + TableDump("qrtb425") + TableDump("qrtb444") +
                       TableDump("qrtb479") + TableDump("qrtb467");
  FailOn("UPDATE OF qrtb388", "qrtb373", "no_bonus");
  std::string report;
  EXPECT_EQ(SaveCompetitionGroups({Row(1, 1, 0, 5, 2)}, {2, 4, 0, 0, 0, 0}, &report), 1);
  EXPECT_EQ(TableDump("qrtb373") + TableDump("qrtb425") + TableDump("qrtb444") +
                TableDump("qrtb479") + TableDump("qrtb467"),
            before);
}

// Groups without events: grade 1 boys (1) and girls (2).
const char* kEmptyGroupsSql = R"sql(
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb381, qrtb382)
    VALUES (1, 1, 1, 6, 2), (2, 1, 2, 5, 1);
UPDATE qrtb331 SET qrtb341 = 1;
)sql";

TEST(CreateGroupContests, MakesContestsAndRoundsAndOpensRegistration) {
  MeetFixture f;
  f.OpenNewMeet(kEmptyGroupsSql);
  ASSERT_EQ(Model().RegistrationClosed, 1);
  std::string report;
  // 100米 runs preliminaries on venue 1 (8 lanes); 跳远 is a direct final;
  // 三项全能 has three parts; 8×50米迎面接力 is a mixed team.
  ASSERT_EQ(CreateGroupContests(&report, {{1, {3, 9, 16, 15, 9}}, {2, {15}}}), 0);
  EXPECT_EQ(Model().RegistrationClosed, 0);
  EXPECT_EQ(MeetInt("SELECT qrtb341 FROM qrtb331"), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb467"), 5);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb425"), 5);
  EXPECT_EQ(MeetInt("SELECT qrtb429 * 10000 + qrtb430 * 100 + qrtb431 FROM qrtb425 WHERE qrtb428 = 3"),
            10806);
  EXPECT_EQ(MeetInt("SELECT qrtb434 FROM qrtb425 WHERE qrtb428 = 3"), 2);
  int sprint = MeetInt("SELECT qrtb426 FROM qrtb425 WHERE qrtb428 = 3");
  std::string s = std::to_string(sprint);
  EXPECT_EQ(MeetInt("SELECT qrtb453 FROM qrtb444 WHERE qrtb447 = 1 AND qrtb446 = " + s), 8);
  EXPECT_EQ(MeetInt("SELECT qrtb453 FROM qrtb444 WHERE qrtb447 = 2 AND qrtb446 = " + s), 6);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb444 r JOIN qrtb425 c ON c.qrtb426 = r.qrtb446"
                    " WHERE c.qrtb428 = 16 AND r.qrtb447 = 3 AND r.qrtb454 IN (2, 9, 11)"),
            3);
  EXPECT_EQ(MeetInt("SELECT qrtb447 FROM qrtb444 r JOIN qrtb425 c ON c.qrtb426 = r.qrtb446"
                    " WHERE c.qrtb428 = 9"),
            3);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb444"), 2 + 1 + 3 + 1 + 1);

  ReloadGroupLists();
  report.clear();
  EXPECT_EQ(CreateGroupContests(&report, {{1, {1}}}), 3);
  EXPECT_EQ(report, "系统错误，请联系管理员重新建立运动会！");
}

TEST(CreateGroupContests, FailureOfTheLastStatementLeavesNothing) {
  MeetFixture f;
  f.OpenNewMeet(kEmptyGroupsSql);
  FailOn("UPDATE", "qrtb331", "no_open");
  std::string report;
  EXPECT_EQ(CreateGroupContests(&report, {{1, {3, 9}}}), 3);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb467") + MeetInt("SELECT COUNT(*) FROM qrtb425") +
                MeetInt("SELECT COUNT(*) FROM qrtb444"),
            0);
  EXPECT_EQ(Model().RegistrationClosed, 1);
}

TEST(ApplyGroupEventSelection, AddsNewEventsAndRemovesClearedOnesWithoutEntrants) {
  MeetFixture f;
  f.OpenNewMeet(kEmptyGroupsSql);
  std::string report;
  ASSERT_EQ(CreateGroupContests(&report, {{1, {3, 9, 14}}, {2, {9}}}), 0);
  int jump = MeetInt("SELECT qrtb426 FROM qrtb425 WHERE qrtb427 = 1 AND qrtb428 = 9");
  int relay = MeetInt("SELECT qrtb426 FROM qrtb425 WHERE qrtb427 = 1 AND qrtb428 = 14");
  int relay_round = MeetInt("SELECT qrtb445 FROM qrtb444 WHERE qrtb446 = " + std::to_string(relay));
  ASSERT_TRUE(f.MeetSql(Model().CurrentMeetId,
                        "INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb413, qrtb414, qrtb415)"
                        " VALUES (1, '王五', 1, 1, 1);"
                        "INSERT INTO qrtb397 (qrtb399, qrtb400) VALUES (" +
                            std::to_string(jump) + ", 1);"
                            "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484)"
                            " VALUES (1, " + std::to_string(relay_round) + ", 1, 1, 7);"));
  ReloadGroupLists();

  report.clear();
  EXPECT_EQ(ApplyGroupEventSelection({{1, {3, 1}}, {2, {9}}}, &report), 2);
  EXPECT_EQ(report, "[一年级男子组-跳远]已有运动员报名，无法删除！\n");
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb425 WHERE qrtb427 = 1 AND qrtb428 = 9"), 1);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb467 WHERE qrtb469 = 1 AND qrtb470 = 9"), 1);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb425 WHERE qrtb426 = " + std::to_string(relay)), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb444 WHERE qrtb446 = " + std::to_string(relay)), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb479"), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb467 WHERE qrtb469 = 1 AND qrtb470 = 14"), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb425 WHERE qrtb427 = 1 AND qrtb428 = 1"), 1);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb467 WHERE qrtb469 = 2"), 1);

  ReloadGroupLists();
  std::string before = TableDump("qrtb467") + TableDump("qrtb425") + TableDump("qrtb444");
  FailOn("INSERT", "qrtb444", "no_rounds");
  EXPECT_EQ(ApplyGroupEventSelection({{1, {3, 1, 9, 2}}}, &report), 3);
  EXPECT_EQ(TableDump("qrtb467") + TableDump("qrtb425") + TableDump("qrtb444"), before);
}

TEST(BuildGroupEventsForm, OneTablePerGroupWithItsChosenEvents) {
  MeetFixture f;
  f.OpenNewMeet(std::string(kEmptyGroupsSql) +
                "INSERT INTO qrtb467 (qrtb469, qrtb470) VALUES (1, 3), (1, 15);"
                "UPDATE qrtb306 SET qrtb308 = '<b>跳远' WHERE qrtb307 = 9;");
  std::string form = BuildGroupEventsForm(Escaped);
  EXPECT_NE(form.find("<input type=\"hidden\" name=\"jszid\" value=\"1\" />"), std::string::npos);
  EXPECT_NE(form.find("id=\"BsLb1\" readonly=\"readonly\" size=\"90\" value=\"100米;8×50米迎面接力;\""),
            std::string::npos);
  EXPECT_NE(form.find("name=\"bsidz1\" value=\"3\" checked=\"checked\" class=\"setupbs\" onclick=\"setupbs(1,1)\""),
            std::string::npos);
  EXPECT_NE(form.find("name=\"bsidz2\" value=\"3\" class=\"setupbs\" onclick=\"setupbs(2,2)\""),
            std::string::npos);
  EXPECT_NE(form.find("name=\"bsidz1\" value=\"15\" checked=\"checked\" class=\"setupHunTuanbs\""
                      " onclick=\"setupHunTuanbs(1,15,1)\""),
            std::string::npos);
  EXPECT_NE(form.find("onclick=\"setupHunTuanbs(2,15,-1)\""), std::string::npos);
  EXPECT_NE(form.find("<table name=\"girljsz\""), std::string::npos);
  EXPECT_EQ(form.find("<b>"), std::string::npos);
  EXPECT_NE(form.find("&lt;b>跳远"), std::string::npos);
}

}  // namespace
