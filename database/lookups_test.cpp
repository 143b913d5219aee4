#include "database/lookups.h"

#include <gtest/gtest.h>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "tests/testing/meet_fixture.h"

namespace {

const char* kMeetSql = R"sql(
UPDATE qrtb234 SET qrtb239 = '100', qrtb240 = '0200' WHERE qrtb235 = 1;
UPDATE qrtb234 SET qrtb239 = '0', qrtb240 = '' WHERE qrtb235 = 2;
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb381, qrtb382) VALUES
    (1, 1, 1, 6, 1), (2, 1, 2, 6, 1), (3, 2, 1, 6, 1);
INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429) VALUES
    (10, 1, 1, 1), (11, 2, 1, 1), (12, 3, 1, 0), (13, 1, 16, 0), (14, 1, 9, 0);
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb454) VALUES
    (1, 10, 1, 0), (2, 10, 2, 0), (3, 13, 3, 2), (4, 14, 3, 0), (5, 11, 1, 0);
INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb413, qrtb414, qrtb415) VALUES
    (1, '甲', 1, 1, 1), (2, '乙', 1, 1, 2), (3, '丙', 1, 2, 1);
INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486) VALUES
    (1, 1, 1, 1, 1, NULL, 1), (2, 1, 1, 2, 3, 1250, 0), (3, 4, 1, 1, 1, 3200, 0),
    (4, 2, 1, 1, 3, NULL, 0);
)sql";

class Lookups : public ::testing::Test {
 protected:
  void SetUp() override { fixture_.OpenNewMeet(kMeetSql); }
  // The data-error code logged by call, 0 when none.
  template <typename F>
  int CodeOf(F call) {
    ShowDataErrorCode(0);
    call();
    return LastDataErrorCode();
  }
  MeetFixture fixture_;
  DataGuard hold_{DataLock};
};

TEST_F(Lookups, ClassesAndAthletes) {
  ASSERT_NE(FindClassNode(5, 2), nullptr);
  EXPECT_EQ(FindClassNode(5, 2)->ClassName, "201班");
  EXPECT_EQ(FindClassNode(5, 1), nullptr);
  EXPECT_EQ(FindAthleteById(2)->Name, "乙");
  EXPECT_EQ(FindAthleteById(9), nullptr);
  EXPECT_EQ(FindFirstAthleteOfClass(1)->Id, 1);
  EXPECT_EQ(FindFirstAthleteOfClassAndSex(1, 2)->Id, 2);
  EXPECT_EQ(FindFirstAthleteOfClassAndSex(2, 2), nullptr);
  EXPECT_EQ(FindFirstAthleteOfClass(7), nullptr);
}

TEST_F(Lookups, GroupsWithTheirCodes) {
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(FindGroupById(2)->Sex, 2); }), 0);
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(FindGroupById(9), nullptr); }), 123511);
  EXPECT_EQ(FindGroupByGradeAndSex(2, 1)->Id, 3);
  EXPECT_EQ(FindGroupByGradeAndSex(2, 2), nullptr);
  EXPECT_EQ(FindOppositeSexGroup(1)->Id, 2);
  EXPECT_EQ(FindOppositeSexGroup(2)->Id, 1);
  // A group without a partner of the other sex is no data error.
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(FindOppositeSexGroup(3), nullptr); }), 0);
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(FindOppositeSexGroup(9), nullptr); }), 123511);
  EXPECT_EQ(FindOppositeSexContest(1, 1)->Id, 11);
  EXPECT_EQ(FindOppositeSexContest(1, 16), nullptr);
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(FindOppositeSexContest(9, 1), nullptr); }), 123511);
}

TEST_F(Lookups, ContestsEventsRoundsAndLanes) {
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(FindContestById(12)->GroupId, 3); }), 0);
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(FindContestById(99), nullptr); }), 12550);
  EXPECT_EQ(FindContestByGroupAndEvent(1, 16)->Id, 13);
  EXPECT_EQ(FindContestByGroupAndEvent(2, 16), nullptr);
  EXPECT_EQ(FindEventById(9)->Name, "跳远");
  EXPECT_EQ(FindEventById(999), nullptr);
  EXPECT_EQ(FindRoundById(4)->ContestId, 14);
  EXPECT_EQ(FindRoundById(99), nullptr);
  EXPECT_EQ(FindRoundByContestAndKind(10, 2)->Id, 2);
  EXPECT_EQ(FindRoundByContestAndKind(10, 3), nullptr);
  EXPECT_EQ(FindFirstLaneOfRound(1)->Id, 1);
  EXPECT_EQ(FindFirstLaneOfRound(3), nullptr);

  // A combined-event part round belongs to its part event.
  EXPECT_EQ(FindEventOfRound(*FindRoundById(3))->Id, 2);
  EXPECT_EQ(FindEventOfRound(*FindRoundById(4))->Id, 9);
  RoundNode orphan;
  orphan.ContestId = 99;
  EXPECT_EQ(CodeOf([&] { EXPECT_EQ(FindEventOfRound(orphan), nullptr); }), 12550);
}

TEST_F(Lookups, VenuesAndSchemes) {
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(FindVenueById(3)->Name, "跨栏道"); }), 0);
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(FindVenueById(99), nullptr); }), 114);
  EXPECT_EQ(FindScoringScheme(2)->Name, "前六名计分");
  EXPECT_EQ(FindScoringScheme(9), nullptr);
}

TEST_F(Lookups, ResultInEventCountsValuesNotStatuses) {
  EXPECT_EQ(AthleteHasResultInEvent(3, 1), 1);  // 1250 in the 50米 preliminary
  EXPECT_EQ(AthleteHasResultInEvent(1, 1), 0);  // a foul without a value
  EXPECT_EQ(AthleteHasResultInEvent(1, 9), 1);
  EXPECT_EQ(AthleteHasResultInEvent(2, 1), 0);
  // A lane whose round's contest is gone.
  Model().ContestList.erase(Model().ContestList.begin());  // contest 10 (event id 1 first)
  ASSERT_EQ(FindContestByGroupAndEvent(1, 1), nullptr);
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(AthleteHasResultInEvent(3, 1), 0); }), 12550);
}

TEST_F(Lookups, NameAndStartNumberClashes) {
  EXPECT_EQ(FindClassNameClash(2, "101班"), 1);
  EXPECT_EQ(FindClassNameClash(1, "101班"), 0);  // its own name
  EXPECT_EQ(FindClassNameClash(2, "新名字"), 0);
  EXPECT_EQ(FindStartNumberClash("100", "", 3), 1);
  EXPECT_EQ(FindStartNumberClash("", "200", 3), 2);  // "0200" is the same number
  EXPECT_EQ(FindStartNumberClash("300", "100", 3), 2);
  EXPECT_EQ(FindStartNumberClash("100", "200", 1), 0);  // its own numbers
  EXPECT_EQ(FindStartNumberClash("0", "", 3), 0);      // unset numbers never clash
  EXPECT_EQ(FindStartNumberClash("", "", 3), 0);
}

}  // namespace
