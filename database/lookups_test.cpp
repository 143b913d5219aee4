#include "database/lookups.h"

#include <gtest/gtest.h>

#include <vector>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

const char* kMeetSql = R"sql(
UPDATE qrtb234 SET qrtb239 = '100', qrtb240 = '0200' WHERE qrtb235 = 1;
UPDATE qrtb234 SET qrtb239 = '0', qrtb240 = '' WHERE qrtb235 = 2;
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb381, qrtb382) VALUES (1, 1, 1, 6, 1), (2, 1, 2, 6, 1), (3, 2, 1, 6, 1);
INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429) VALUES
    (10, 1, 1, 1), (11, 2, 1, 1), (12, 3, 1, 0), (13, 1, 16, 0), (14, 1, 9, 0);
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb454) VALUES
    (1, 10, 1, 0), (2, 10, 2, 0), (3, 13, 3, 2), (4, 14, 3, 0), (5, 11, 1, 0);
INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb413, qrtb414, qrtb415) VALUES (1, '甲', 1, 1, 1), (2, '乙', 1, 1, 2), (3, '丙', 1, 2, 1);
INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486) VALUES
    (1, 1, 1, 1, 1, NULL, 1), (2, 1, 1, 2, 3, 1250, 0), (3, 4, 1, 1, 1, 3200, 0), (4, 2, 1, 1, 3, NULL, 0);
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

// The id a look-up found, 0 for none.
template <typename Node>
int IdOf(const Node* node) {
  return node ? node->Id : 0;
}

TEST_F(Lookups, MissesThatAreDataErrorsLogTheirCodes) {
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(IdOf(FindGroupById(2)), 2); }), 0);
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(IdOf(FindGroupById(9)), 0); }), 123511);
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(IdOf(FindContestById(12)), 12); }), 0);
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(IdOf(FindContestById(99)), 0); }), 12550);
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(FindVenueById(3)->Name, "跨栏道"); }), 0);
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(IdOf(FindVenueById(99)), 0); }), 114);
  // The other sex of the same grade; a group without one is no data error.
  EXPECT_EQ(IdOf(FindOppositeSexGroup(1)), 2);
  EXPECT_EQ(IdOf(FindOppositeSexGroup(2)), 1);
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(IdOf(FindOppositeSexGroup(3)), 0); }), 0);
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(IdOf(FindOppositeSexGroup(9)), 0); }), 123511);
  EXPECT_EQ(IdOf(FindOppositeSexContest(1, 1)), 11);
  EXPECT_EQ(IdOf(FindOppositeSexContest(1, 16)), 0);
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(IdOf(FindOppositeSexContest(9, 1)), 0); }), 123511);
  // A combined-event part round belongs to its part event.
  EXPECT_EQ(IdOf(FindEventOfRound(*FindRoundById(3))), 2);
  EXPECT_EQ(IdOf(FindEventOfRound(*FindRoundById(4))), 9);
  EXPECT_EQ(CodeOf([] { EXPECT_EQ(IdOf(FindEventOfRound(RoundNode{.ContestId = 99})), 0); }), 12550);
}

// The indexes answer as a walk of the lists would, after the lists were
// changed in place under the same length, moved, or had a round change kind.
TEST_F(Lookups, IndexedLookupsFollowChangedLists) {
  auto answers = [] {
    return std::vector<int>{IdOf(FindAthleteById(3)), IdOf(FindRoundById(5)), IdOf(FindContestById(14)),
                            IdOf(FindRoundByContestAndKind(10, kFinalAfterPrelim)),
                            IdOf(FindRoundByContestAndKind(13, kFinalAfterPrelim)),
                            static_cast<int>(LanesOfRound(1).size()), static_cast<int>(LanesOfRound(2).size()),
                            IdOf(FindFirstLaneOfRound(4)), static_cast<int>(LanesOfRound(3).size())};
  };
  EXPECT_EQ(answers(), (std::vector<int>{3, 5, 14, 2, 0, 2, 1, 3, 0}));
  MeetModel& m = Model();
  std::swap(m.AthleteList[0], m.AthleteList[2]);
  std::swap(m.RoundList[0], m.RoundList[4]);
  std::swap(m.ContestList[0], m.ContestList[4]);
  std::swap(m.LaneList[0], m.LaneList[3]);  // rounds 4, 1, 1, 2
  std::swap(m.LaneList[2], m.LaneList[3]);
  FindRoundById(3)->Kind = kFinalAfterPrelim;
  EXPECT_EQ(answers(), (std::vector<int>{3, 5, 14, 2, 3, 2, 1, 3, 0}));
  m.LaneList.push_back(LaneNode{.Id = 9, .RoundId = 3});
  m.AthleteList.erase(m.AthleteList.begin());  // athlete 3, swapped first
  EXPECT_EQ(answers(), (std::vector<int>{0, 5, 14, 2, 3, 2, 1, 3, 1}));
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
}

}  // namespace

}  // namespace korva
