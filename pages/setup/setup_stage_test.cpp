#include "pages/setup/setup_stage.h"

#include <gtest/gtest.h>

#include <string>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/model.h"
#include "database/lookups.h"
#include "database/store_groups.h"
#include "tests/testing/meet_fixture.h"

namespace {

// Grade 1 with a boys' (1) and a girls' (2) group, and only class 1 left.
constexpr const char* kTwoGroups =
    "delete from qrtb234 where qrtb235<>1;"
    "insert into qrtb373 (qrtb374,qrtb375,qrtb376,qrtb377,qrtb378,qrtb379,qrtb380,qrtb381,qrtb382,"
    "qrtb383,qrtb386) values (1,1,1,4,2,1,3,6,1,1,2),(2,1,2,4,2,1,3,6,1,1,2);";

// Both groups hold 50米; contest 1 with a scheduled direct final.
constexpr const char* kScheduledEvents =
    "insert into qrtb467 (qrtb469,qrtb470) values (1,1),(2,1);"
    "insert into qrtb425 (qrtb426,qrtb427,qrtb428,qrtb429,qrtb430,qrtb431,qrtb436)"
    " values (1,1,1,0,0,6,0),(2,2,1,0,0,6,0);"
    "insert into qrtb444 (qrtb445,qrtb446,qrtb447,qrtb448,qrtb449,qrtb450,qrtb451)"
    " values (1,1,3,0,1,1,10),(2,2,3,0,1,2,10);";

int Stage() {
  DataGuard hold(DataLock);
  return GetSetupStage();
}

TEST(SetupStage, FollowsTheSetUpSteps) {
  MeetFixture f;
  EXPECT_EQ(Stage(), kStageNoMeet);

  int id = f.OpenNewMeet();
  EXPECT_EQ(Stage(), kStageNoGroups);

  ASSERT_TRUE(f.MeetSql(id, kTwoGroups));
  ASSERT_EQ(f.Open(id), 0);
  EXPECT_EQ(Stage(), kStageNoGroupEvents);

  // The boys' group has its events, the girls' group not yet.
  ASSERT_TRUE(f.MeetSql(id, "insert into qrtb467 (qrtb469,qrtb470) values (1,1);"));
  ASSERT_EQ(f.Open(id), 0);
  EXPECT_EQ(Stage(), kStageNoGroupEvents);

  ASSERT_TRUE(f.MeetSql(id,
                        "insert into qrtb467 (qrtb469,qrtb470) values (2,1);"
                        "insert into qrtb425 (qrtb426,qrtb427,qrtb428,qrtb429,qrtb430,qrtb431,qrtb436)"
                        " values (1,1,1,0,0,6,0),(2,2,1,0,0,6,0);"
                        "insert into qrtb444 (qrtb445,qrtb446,qrtb447,qrtb448,qrtb449,qrtb450)"
                        " values (1,1,3,0,1,1),(2,2,3,0,0,0);"));
  ASSERT_EQ(f.Open(id), 0);
  EXPECT_EQ(Stage(), kStageUnscheduled);

  ASSERT_TRUE(f.MeetSql(id, "update qrtb444 set qrtb449=1, qrtb450=2 where qrtb445=2;"));
  ASSERT_EQ(f.Open(id), 0);
  EXPECT_EQ(Stage(), kStageComplete);
}

TEST(SetupStage, GroupRowsWithoutLoadedGroupsCountAsNoGroups) {
  MeetFixture f;
  f.OpenNewMeet(std::string(kTwoGroups) + kScheduledEvents);
  DataGuard hold(DataLock);
  Model().GroupList.clear();
  EXPECT_EQ(GetSetupStage(), kStageNoGroups);
}

TEST(SetupStage, DisabledPreliminaryNeedsNoSlotButBlocksTheOrderBook) {
  MeetFixture f;
  f.OpenNewMeet(std::string(kTwoGroups) + kScheduledEvents +
                "insert into qrtb444 (qrtb445,qrtb446,qrtb447,qrtb448,qrtb449,qrtb450)"
                " values (3,1,1,1,0,0);");
  DataGuard hold(DataLock);
  EXPECT_EQ(GetSetupStage(), kStageComplete);
  EXPECT_EQ(AllRoundsScheduled(), 0);

  for (RoundNode& round : Model().RoundList)
    if (round.Disabled) round.Session = round.Order = 3;
  EXPECT_EQ(AllRoundsScheduled(), 1);
}

TEST(SetupStage, LaterStages) {
  MeetFixture f;
  int id = f.OpenNewMeet(std::string(kTwoGroups) + kScheduledEvents);
  DataGuard hold(DataLock);

  Model().RoundList.clear();
  EXPECT_EQ(GetSetupStage(), kStageComplete);
  EXPECT_EQ(AllRoundsScheduled(), 0);

  Model().ContestList.clear();
  EXPECT_EQ(GetSetupStage(), kStageNoSchemeOrContest);
  ASSERT_EQ(f.Open(id), 0);
  Model().EventList.clear();
  EXPECT_EQ(GetSetupStage(), kStageNoEvents);

  ASSERT_EQ(f.Open(id), 0);
  Model().GroupEventList.clear();
  EXPECT_EQ(GetSetupStage(), kStageNoGroupEventList);

  ASSERT_TRUE(f.MeetSql(id, "delete from qrtb234;"));
  ASSERT_EQ(f.Open(id), 0);
  EXPECT_EQ(GetSetupStage(), kStageNoClasses);
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

class Registration : public ::testing::Test {
 protected:
  void SetUp() override { id_ = f_.OpenNewMeet(std::string(kTwoGroups) + kFullRegistration); }
  int Check(const std::string& change = {}) {
    if (!change.empty()) {
      EXPECT_TRUE(f_.MeetSql(id_, change));
      EXPECT_EQ(f_.Open(id_), 0);
    }
    DataGuard hold(DataLock);
    return CheckModelConsistency();
  }
  MeetFixture f_;
  int id_ = 0;
};

TEST_F(Registration, FullWhenEveryQuotaIsFilled) { EXPECT_EQ(Check(), 1); }

TEST_F(Registration, OneAthleteShort) {
  EXPECT_EQ(Check("delete from qrtb409 where qrtb411=8; delete from qrtb397 where qrtb400=8;"), 0);
}

TEST_F(Registration, OneIndividualEntryShort) {
  EXPECT_EQ(Check("delete from qrtb397 where qrtb400=2 and qrtb399=1;"), 0);
}

TEST_F(Registration, OneTeamEntryShort) {
  EXPECT_EQ(Check("delete from qrtb397 where qrtb400=3 and qrtb399=2;"), 0);
}

TEST_F(Registration, MixedTeamCountedOncePerGrade) {
  // Eight places for the grade: one girl fewer in the mixed relay is short,
  // and an extra boy in it makes up for her.
  EXPECT_EQ(Check("delete from qrtb397 where qrtb400=7 and qrtb399=5;"), 0);
  EXPECT_EQ(Check("insert into qrtb409 (qrtb410,qrtb411,qrtb412,qrtb413,qrtb414,qrtb415,qrtb416)"
                  " values ('壬',9,0,1,1,1,0);"
                  "insert into qrtb397 (qrtb399,qrtb400) values (1,9),(3,9);"),
            1);
}

TEST_F(Registration, MixedTeamOfAGradeWithOneGroup) {
  // Without the girls' group the boys alone owe the eight mixed places.
  EXPECT_EQ(Check("delete from qrtb373 where qrtb374=2; delete from qrtb467 where qrtb469=2;"
                  "delete from qrtb397 where qrtb399 in (4,5); delete from qrtb409 where qrtb415=2;"),
            0);
  EXPECT_EQ(Check("insert into qrtb409 (qrtb410,qrtb411,qrtb412,qrtb413,qrtb414,qrtb415,qrtb416) values"
                  " ('壬',9,0,1,1,1,0),('癸',10,0,1,1,1,0),('子',11,0,1,1,1,0),('丑',12,0,1,1,1,0);"
                  "insert into qrtb397 (qrtb399,qrtb400) values (1,9),(3,9),(1,10),(3,10),(1,11),(3,11),"
                  "(1,12),(3,12);"),
            1);
}

TEST_F(Registration, CombinedEventEntrantsFollowTheirOwnLimit) {
  // Three entries, the combined event included, whatever qrtb379 says.
  EXPECT_EQ(Check("insert into qrtb397 (qrtb399,qrtb400) values (7,1),(6,1);"), 1);
  EXPECT_EQ(Check("delete from qrtb397 where qrtb400=1 and qrtb399=6;"), 0);
}

TEST_F(Registration, ClosedRegistrationCountsAsFull) {
  EXPECT_EQ(Check("delete from qrtb397; update qrtb331 set qrtb341=1;"), 1);
}

TEST_F(Registration, DataErrorsAnswerComplete) {
  Check("delete from qrtb397 where qrtb400=2;");  // short, so only an error can answer 1
  DataGuard hold(DataLock);
  Model().GroupEventList.front().EventIds.push_back(999);
  EXPECT_EQ(CheckModelConsistency(), 1);
  EXPECT_EQ(LastDataErrorCode(), 36550);
  Model().GroupEventList.erase(Model().GroupEventList.begin());
  EXPECT_EQ(CheckModelConsistency(), 1);
  EXPECT_EQ(LastDataErrorCode(), 37550);
}

TEST(RegistrationCheck, OpenWithoutGroupEventsIsNotFull) {
  MeetFixture f;
  f.OpenNewMeet(kTwoGroups);
  DataGuard hold(DataLock);
  Model().GroupEventList.clear();
  EXPECT_EQ(CheckModelConsistency(), 0);
}

TEST(GroupPredicates, CombinedEventAndRegisteredAthletes) {
  MeetFixture f;
  f.OpenNewMeet(std::string(kTwoGroups) + kFullRegistration +
                "delete from qrtb409 where qrtb415=2;");
  DataGuard hold(DataLock);
  EXPECT_EQ(GroupHasCombinedEvent(1), 1);
  EXPECT_EQ(GroupHasCombinedEvent(2), 0);
  EXPECT_EQ(GradeSexHasAthletes(1, 1), 1);
  EXPECT_EQ(GradeSexHasAthletes(1, 2), 0);
  EXPECT_EQ(GradeSexHasAthletes(2, 1), 0);
}

}  // namespace
