#include "database/store_groups.h"

#include <gtest/gtest.h>

#include "database/loaders.h"
#include "database/store_test_support.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

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

// Groups without events: grade 1 boys (1) and girls (2).
const char* kEmptyGroupsSql = R"sql(
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb381, qrtb382) VALUES (1, 1, 1, 6, 2), (2, 1, 2, 5, 1);
UPDATE qrtb331 SET qrtb341 = 1;
)sql";

GradeGroupSettings Row(int grade, int boys, int girls, int places, int scheme) {
  return GradeGroupSettings{.GradeId = grade, .Boys = boys, .Girls = girls, .AthletesPerClass = 5,
                            .EntrantsPerEvent = 3, .EventsPerAthlete = 2, .CombinedLimit = 1,
                            .PlacesRanked = places, .SchemeId = scheme};
}

void ReloadGroupLists() {
  DataGuard hold(DataLock);
  LoadGroups();
  LoadGroupEvents();
  LoadContests();
  LoadRounds();
}

const std::initializer_list<const char*> kGroupTables = {"qrtb373", "qrtb467", "qrtb425", "qrtb444", "qrtb479"};

TEST(SaveCompetitionGroups, AddsUpdatesDeletesAndKeepsGroupsWithAthletes) {
  MeetFixture f;
  f.OpenNewMeet(kGroupsSql);
  // Grade 1 keeps its boys only, grade 3 gets girls; grade 2 boys are gone
  // from the form but hold an athlete. A failing last statement first
  // leaves every table as it was.
  const std::vector<GradeGroupSettings> rows = {Row(1, 1, 0, 5, 2), Row(3, 0, 1, 6, 1)};
  std::string before = Dump(kGroupTables), report;
  FailOn("UPDATE OF qrtb388", "qrtb373", "no_bonus");
  EXPECT_EQ(SaveCompetitionGroups(rows, {2, 4, 0, 0, 0, 0}, &report), 1);
  EXPECT_EQ(Dump(kGroupTables), before);
  DropTrigger("no_bonus");
  report.clear();
  EXPECT_EQ(SaveCompetitionGroups(rows, {2, 4, 0, 0, 0, 0}, &report), 2);
  EXPECT_EQ(report, "二年级男子组\n");
  EXPECT_EQ(MeetText("SELECT qrtb377, qrtb378, qrtb379, qrtb380, qrtb381, qrtb382 FROM qrtb373 WHERE qrtb374 = 1"),
            "5|3|2|1|5|2");
  // Places and scheme pass on to the contests, places to the later rounds.
  EXPECT_EQ(MeetText("SELECT qrtb431, qrtb434 FROM qrtb425 WHERE qrtb426 = 10"), "5|2");
  EXPECT_EQ(Rows("SELECT qrtb453 FROM qrtb444 WHERE qrtb446 = 10 ORDER BY qrtb447"), "8\n5");
  // Grade 1 girls went with everything that hung on them; grade 2 boys
  // stayed; every group has the bonuses.
  EXPECT_EQ(MeetText("SELECT (SELECT COUNT(*) FROM qrtb425 WHERE qrtb427 = 2), (SELECT COUNT(*) FROM qrtb444"
                     " WHERE qrtb446 = 11), (SELECT COUNT(*) FROM qrtb479), (SELECT COUNT(*) FROM qrtb467"
                     " WHERE qrtb469 = 2)"),
            "0|0|0|0");
  EXPECT_EQ(Rows("SELECT qrtb375, qrtb376, qrtb381, qrtb383, qrtb386 FROM qrtb373 ORDER BY qrtb375"),
            "1|1|5|2|4\n2|1|8|2|4\n3|2|6|2|4");

  report.clear();
  EXPECT_EQ(SaveCompetitionGroups({Row(1, 1, 1, 5, 2), Row(2, 1, 0, 5, 2), Row(3, 0, 1, 6, 1)},
                                  {2, 4, 0, 0, 0, 0}, &report),
            0);
  EXPECT_EQ(report, "已添加：一年级女子组\n");
}

TEST(CreateGroupContests, MakesContestsAndRoundsAndOpensRegistration) {
  MeetFixture f;
  f.OpenNewMeet(kEmptyGroupsSql);
  std::string report;
  FailOn("UPDATE", "qrtb331", "no_open");
  EXPECT_EQ(CreateGroupContests(&report, {{1, {3, 9}}}), 3);
  EXPECT_EQ(MeetText("SELECT (SELECT COUNT(*) FROM qrtb467), (SELECT COUNT(*) FROM qrtb425),"
                     " (SELECT COUNT(*) FROM qrtb444)"),
            "0|0|0");
  EXPECT_EQ(Model().RegistrationClosed, 1);
  DropTrigger("no_open");
  // 100米 runs preliminaries on venue 1 (8 lanes); 跳远 is a direct final
  // (chosen twice); 三项全能 has three parts; 8×50米迎面接力 is a mixed team,
  // whose rounds the girls' contest holds.
  ASSERT_EQ(CreateGroupContests(&report, {{1, {3, 9, 16, 15, 9}}, {2, {15}}}), 0);
  EXPECT_EQ(Model().RegistrationClosed, 0);
  EXPECT_EQ(MeetInt("SELECT qrtb341 FROM qrtb331"), 0);
  EXPECT_EQ(MeetText("SELECT (SELECT COUNT(*) FROM qrtb467), (SELECT COUNT(*) FROM qrtb425)"), "5|5");
  EXPECT_EQ(MeetText("SELECT qrtb429, qrtb430, qrtb431, qrtb434 FROM qrtb425 WHERE qrtb428 = 3"), "1|8|6|2");
  // Kind, places and part event of every round of group 1, by event.
  EXPECT_EQ(Rows("SELECT c.qrtb428, r.qrtb447, r.qrtb453, r.qrtb454 FROM qrtb444 r JOIN qrtb425 c"
                 " ON c.qrtb426 = r.qrtb446 WHERE c.qrtb427 = 1 ORDER BY c.qrtb428, r.qrtb447, r.qrtb454"),
            "3|1|8|0\n3|2|6|0\n9|3|6|0\n16|3|6|2\n16|3|6|9\n16|3|6|11");

  ReloadGroupLists();
  report.clear();
  EXPECT_EQ(CreateGroupContests(&report, {{1, {1}}}), 3);
  EXPECT_EQ(report, "系统错误，请联系管理员重新建立运动会！");
}

// Rounds per contest as "group|rounds" lines, and the round of each lane.
std::string RoundsPerContest() {
  return Rows("SELECT c.qrtb427, COUNT(r.qrtb445) FROM qrtb425 c LEFT JOIN qrtb444 r ON r.qrtb446 = c.qrtb426"
              " GROUP BY c.qrtb426 ORDER BY c.qrtb427") +
         " lanes:" + Rows("SELECT c.qrtb427 FROM qrtb479 JOIN qrtb444 ON qrtb445 = qrtb481"
                          " JOIN qrtb425 c ON c.qrtb426 = qrtb446");
}

// A mixed team is drawn once: the girls' contest holds its rounds while
// both groups of the grade hold the event, else the one group's contest,
// through every later change of groups and events; drawn lanes stay.
TEST(CreateGroupContests, AMixedTeamHasItsRoundsInOneContestOfTheGrade) {
  MeetFixture f;
  int meet = f.OpenNewMeet(std::string(kEmptyGroupsSql) +
                           "INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb381) VALUES (3, 2, 1, 6);");
  std::string report;
  ASSERT_EQ(CreateGroupContests(&report, {{1, {15}}, {2, {15}}, {3, {15}}}), 0);
  EXPECT_EQ(RoundsPerContest(), "1|0\n2|1\n3|1 lanes:");
  // Grade 2 gains girls after a boys' team was drawn: their contest takes
  // the rounds over.
  ASSERT_TRUE(f.MeetSql(meet,
                        "INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb381) VALUES (4, 2, 2, 6);"
                        "INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb413, qrtb414, qrtb415) VALUES (1, '王五', 2, 5, 1);"
                        "INSERT INTO qrtb397 (qrtb399, qrtb400) SELECT qrtb426, 1 FROM qrtb425 WHERE qrtb427 = 3;"
                        "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484) SELECT 1, qrtb445, 1, 1, 1"
                        " FROM qrtb444 JOIN qrtb425 ON qrtb426 = qrtb446 WHERE qrtb427 = 3;"));
  ReloadGroupLists();
  ASSERT_EQ(ApplyGroupEventSelection({{3, {15}}, {4, {15}}}, &report), 0);
  EXPECT_EQ(RoundsPerContest(), "1|0\n2|1\n3|0\n4|1 lanes:4");
  // Cleared for both, the boys' contest keeps its entrant and gets the
  // rounds back; the girls' contest goes.
  ReloadGroupLists();
  EXPECT_EQ(ApplyGroupEventSelection({{3, {}}, {4, {}}}, &report), 2);
  EXPECT_EQ(RoundsPerContest(), "1|0\n2|1\n3|1 lanes:3");
  // Grade 1 loses its girls' group: the boys' contest takes the rounds.
  ReloadGroupLists();
  ASSERT_EQ(SaveCompetitionGroups({Row(1, 1, 0, 6, 2), Row(2, 1, 0, 6, 2)}, {}, &report), 0);
  EXPECT_EQ(RoundsPerContest(), "1|1\n3|1 lanes:3");
}

TEST(ApplyGroupEventSelection, AddsNewEventsAndRemovesClearedOnesWithoutEntrants) {
  MeetFixture f;
  int meet = f.OpenNewMeet(kEmptyGroupsSql);
  std::string report;
  ASSERT_EQ(CreateGroupContests(&report, {{1, {3, 9, 14}}, {2, {9}}}), 0);
  // An entrant in 跳远; a drawn lane (without entrant) in the relay.
  ASSERT_TRUE(f.MeetSql(meet,
                        "INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb413, qrtb414, qrtb415) VALUES (1, '王五', 1, 1, 1);"
                        "INSERT INTO qrtb397 (qrtb399, qrtb400) SELECT qrtb426, 1 FROM qrtb425"
                        " WHERE qrtb427 = 1 AND qrtb428 = 9;"
                        "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484) SELECT 1, qrtb445, 1, 1, 7"
                        " FROM qrtb444 JOIN qrtb425 ON qrtb426 = qrtb446 WHERE qrtb428 = 14 LIMIT 1;"));
  ReloadGroupLists();

  report.clear();
  EXPECT_EQ(ApplyGroupEventSelection({{1, {3, 1}}, {2, {9}}}, &report), 2);
  EXPECT_EQ(report, "[一年级男子组-跳远]已有运动员报名，无法删除！\n");
  EXPECT_EQ(Rows("SELECT qrtb469, qrtb470 FROM qrtb467 ORDER BY qrtb469, qrtb470"), "1|1\n1|3\n1|9\n2|9");
  EXPECT_EQ(Rows("SELECT qrtb427, qrtb428 FROM qrtb425 ORDER BY qrtb427, qrtb428"), "1|1\n1|3\n1|9\n2|9");
  EXPECT_EQ(MeetText("SELECT (SELECT COUNT(*) FROM qrtb479), (SELECT COUNT(*) FROM qrtb444"
                     " WHERE qrtb446 NOT IN (SELECT qrtb426 FROM qrtb425))"),
            "0|0");

  ReloadGroupLists();
  std::string before = Dump({"qrtb467", "qrtb425", "qrtb444"});
  FailOn("INSERT", "qrtb444", "no_rounds");
  EXPECT_EQ(ApplyGroupEventSelection({{1, {3, 1, 9, 2}}}, &report), 3);
  EXPECT_EQ(Dump({"qrtb467", "qrtb425", "qrtb444"}), before);
}

TEST(BuildGroupEventsForm, OneTablePerGroupWithItsChosenEvents) {
  MeetFixture f;
  f.OpenNewMeet(std::string(kEmptyGroupsSql) +
                "INSERT INTO qrtb467 (qrtb469, qrtb470) VALUES (1, 3), (1, 15);"
                "UPDATE qrtb306 SET qrtb308 = '<b>跳远' WHERE qrtb307 = 9;");
  auto escape = [](std::string_view text) {
    std::string out;
    for (char c : text) out += c == '<' ? std::string("&lt;") : std::string(1, c);
    return out;
  };
  std::string form = BuildGroupEventsForm(escape);
  for (const char* part : {
           "<input type=\"hidden\" name=\"jszid\" value=\"1\" />",
           "id=\"BsLb1\" readonly=\"readonly\" size=\"90\" value=\"100米;8×50米迎面接力;\"",
           "name=\"bsidz1\" value=\"3\" checked=\"checked\" class=\"setupbs\" onclick=\"setupbs(1,1)\"",
           "name=\"bsidz2\" value=\"3\" class=\"setupbs\" onclick=\"setupbs(2,2)\"",
           "name=\"bsidz1\" value=\"15\" checked=\"checked\" class=\"setupHunTuanbs\" onclick=\"setupHunTuanbs(1,15,1)\"",
           "onclick=\"setupHunTuanbs(2,15,-1)\"", "<table name=\"girljsz\"", "&lt;b>跳远",
           "value=\"\" onfocus=\"HideMatchSelect(2)\"", "<table name=\"allbslb\" id=\"allbslb1\" width=\"100%\">",
           "<table name=\"allbslb\" id=\"allbslb2\" width=\"100%\" style=\"display:none\">"})
    EXPECT_NE(form.find(part), std::string::npos) << part;
  EXPECT_EQ(form.find("<b>"), std::string::npos);
}

}  // namespace

}  // namespace korva
