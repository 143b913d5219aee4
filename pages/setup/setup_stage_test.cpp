#include "database/setup_stage.h"
#include "pages/setup/setup_stage_page.h"

#include <gtest/gtest.h>

#include <string>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/model.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

// Grade 1 with a boys' (1) and a girls' (2) group, and only class 1 left.
constexpr const char* kTwoGroups =
    "delete from qrtb234 where qrtb235<>1;"
    "insert into qrtb373 (qrtb374,qrtb375,qrtb376,qrtb377,qrtb378,qrtb379,qrtb380,qrtb381,qrtb382,"
    "qrtb383,qrtb386) values (1,1,1,4,2,1,3,6,1,1,2),(2,1,2,4,2,1,3,6,1,1,2);";

// Both groups hold 50米; contests 1 and 2 with a direct final each.
constexpr const char* kContests =
    "insert into qrtb425 (qrtb426,qrtb427,qrtb428,qrtb429,qrtb430,qrtb431,qrtb436)"
    " values (1,1,1,0,0,6,0),(2,2,1,0,0,6,0);";

int Stage() {
  DataGuard hold(DataLock);
  return GetSetupStage();
}

// The early steps are walked on the administrator's home page (HTTP test);
// here the stages reached as the lists empty, and the page that
// "/SetupMeet.html" sends the administrator to for each.
TEST(SetupStage, FollowsTheSetUpSteps) {
  MeetFixture f;
  EXPECT_EQ(Stage(), kStageNoMeet);
  // A preliminary that the draw dropped needs no slot, but the order book waits for it.
  int id = f.OpenNewMeet(std::string(kTwoGroups) + kContests +
                         "insert into qrtb467 (qrtb469,qrtb470) values (1,1),(2,1);"
                         "insert into qrtb444 (qrtb445,qrtb446,qrtb447,qrtb448,qrtb449,qrtb450)"
                         " values (1,1,3,0,1,1),(2,2,3,0,1,2),(3,1,1,1,0,0);");
  EXPECT_EQ(Stage(), kStageComplete);
  DataGuard hold(DataLock);
  EXPECT_FALSE(AllRoundsScheduled());
  for (RoundNode& round : Model().RoundList)
    if (round.Disabled) round.Session = round.Order = 3;
  EXPECT_TRUE(AllRoundsScheduled());
  Model().RoundList.clear();
  EXPECT_EQ(GetSetupStage(), kStageComplete);
  EXPECT_FALSE(AllRoundsScheduled());
  Model().ContestList.clear();
  EXPECT_EQ(GetSetupStage(), kStageNoSchemeOrContest);
  EXPECT_STREQ(SetupStagePagePath(kStageNoSchemeOrContest), "/SetupGradeMatch.html");
  Model().ScoringSchemeList.clear();
  EXPECT_STREQ(SetupStagePagePath(kStageNoSchemeOrContest), "/ShowScore.html");
  ASSERT_EQ(f.Open(id), 0);
  Model().EventList.clear();
  EXPECT_EQ(GetSetupStage(), kStageNoEvents);
  EXPECT_STREQ(SetupStagePagePath(kStageNoEvents), "/ShowMatch.html");
  ASSERT_EQ(f.Open(id), 0);
  Model().GroupEventList.clear();
  EXPECT_EQ(GetSetupStage(), kStageNoGroupEventList);
  EXPECT_STREQ(SetupStagePagePath(kStageNoGroupEventList), "/SetupGradeMatch.html");
  Model().ClassList.clear();
  Model().GroupEventList.resize(1);
  EXPECT_EQ(GetSetupStage(), kStageNoClasses);
  EXPECT_STREQ(SetupStagePagePath(kStageNoClasses), "/SetupSchool.html");
  // Group rows in the file but none loaded count as no groups.
  Model().GroupList.clear();
  EXPECT_EQ(GetSetupStage(), kStageNoGroups);
}

// Class 1 of grade 1 with every quota filled: four boys, each in 50米
// (contest 1), the 4×100米 relay (2, team of 4) and the mixed relay (3, 8
// places for the grade); four girls, each in 50米 (4) and the mixed relay (5).
// The boys' group also holds 60米 (6) and the combined event (7), which
// nobody has entered.
constexpr const char* kFullRegistration =
    "insert into qrtb467 (qrtb469,qrtb470) values (1,1),(1,2),(1,14),(1,15),(1,16),(2,1),(2,15);"
    "insert into qrtb425 (qrtb426,qrtb427,qrtb428,qrtb429,qrtb430,qrtb431,qrtb436) values"
    " (1,1,1,0,0,6,0),(2,1,14,0,0,6,0),(3,1,15,0,0,6,0),(4,2,1,0,0,6,0),(5,2,15,0,0,6,0),"
    " (6,1,2,0,0,6,0),(7,1,16,0,0,6,0);"
    "insert into qrtb409 (qrtb410,qrtb411,qrtb412,qrtb413,qrtb414,qrtb415,qrtb416) values"
    " ('甲',1,0,1,1,1,0),('乙',2,0,1,1,1,0),('丙',3,0,1,1,1,0),('丁',4,0,1,1,1,0),"
    " ('戊',5,0,1,1,2,0),('己',6,0,1,1,2,0),('庚',7,0,1,1,2,0),('辛',8,0,1,1,2,0);"
    "insert into qrtb397 (qrtb399,qrtb400) values"
    " (1,1),(2,1),(3,1),(1,2),(2,2),(3,2),(1,3),(2,3),(3,3),(1,4),(2,4),(3,4),"
    " (4,5),(5,5),(4,6),(5,6),(4,7),(5,7),(4,8),(5,8);";

constexpr const char* kAthlete9 = "insert into qrtb409 (qrtb410,qrtb411,qrtb412,qrtb413,qrtb414,qrtb415,qrtb416)";

TEST(RegistrationCheck, FullOnlyWhenEveryQuotaIsFilled) {
  struct Case {
    const char* what;
    std::string change;  // applied to the full registration
    int full;
  };
  const Case cases[] = {
      {"every quota filled", "", 1},
      {"one athlete short", "delete from qrtb409 where qrtb411=8; delete from qrtb397 where qrtb400=8;", 0},
      {"one individual entry short", "delete from qrtb397 where qrtb400=2 and qrtb399=1;", 0},
      {"one team entry short", "delete from qrtb397 where qrtb400=3 and qrtb399=2;", 0},
      // Eight mixed places for the grade, counted once: one girl fewer is
      // short, and an extra boy in the relay makes up for her.
      {"one mixed entry short", "delete from qrtb397 where qrtb400=7 and qrtb399=5;", 0},
      {"mixed entry made up by a boy",
       "delete from qrtb397 where qrtb400=7 and qrtb399=5;" + std::string(kAthlete9) +
           " values ('壬',9,0,1,1,1,0); insert into qrtb397 (qrtb399,qrtb400) values (1,9),(3,9);",
       1},
      // Without the girls' group the boys alone owe the eight mixed places.
      {"boys alone short of mixed entries",
       "delete from qrtb373 where qrtb374=2; delete from qrtb467 where qrtb469=2;"
       "delete from qrtb397 where qrtb399 in (4,5); delete from qrtb409 where qrtb415=2;",
       0},
      // A combined entrant needs three entries, the combined event included,
      // whatever qrtb379 says.
      {"combined entrant with three entries", "insert into qrtb397 (qrtb399,qrtb400) values (7,1),(6,1);", 1},
      {"combined entrant with two entries", "insert into qrtb397 (qrtb399,qrtb400) values (7,1);", 0},
      {"registration closed", "delete from qrtb397; update qrtb331 set qrtb341=1;", 1},
  };
  for (const Case& c : cases) {
    MeetFixture f;
    f.OpenNewMeet(std::string(kTwoGroups) + kFullRegistration + c.change);
    DataGuard hold(DataLock);
    EXPECT_EQ(CheckModelConsistency(), c.full != 0) << c.what;
  }
}

TEST(RegistrationCheck, DataErrorsAnswerCompleteAndNoGroupEventsShort) {
  MeetFixture f;
  f.OpenNewMeet(std::string(kTwoGroups) + kFullRegistration + "delete from qrtb397 where qrtb400=2;");
  DataGuard hold(DataLock);  // short, so only an error can answer 1
  Model().GroupEventList.front().EventIds.push_back(999);
  EXPECT_TRUE(CheckModelConsistency());
  EXPECT_EQ(LastDataErrorCode(), 36550);
  Model().GroupEventList.erase(Model().GroupEventList.begin());
  EXPECT_TRUE(CheckModelConsistency());
  EXPECT_EQ(LastDataErrorCode(), 37550);
  Model().GroupEventList.clear();  // open without any group events
  EXPECT_FALSE(CheckModelConsistency());
}

}  // namespace

}  // namespace korva
