#include "database/store_groups.h"

#include <gtest/gtest.h>

#include "database/loaders.h"
#include "database/store_test_support.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

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
  EXPECT_EQ(LoadGroups() + LoadGroupEvents() + LoadContests() + LoadRounds(), 0);
}

const std::initializer_list<const char*> kGroupTables = {"qrtb373", "qrtb467", "qrtb425", "qrtb444", "qrtb479"};

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

}  // namespace

}  // namespace korva
