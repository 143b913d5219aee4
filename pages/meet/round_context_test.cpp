#include "pages/meet/round_context.h"

#include <gtest/gtest.h>

#include <vector>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

// Contest 13 is the combined event 16 (三项全能) whose round 3 is its 60米
// part.
const char* kMeetSql = R"sql(
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb381, qrtb382) VALUES (1, 1, 1, 6, 1), (2, 1, 2, 6, 1);
INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428) VALUES (10, 1, 9), (13, 2, 16);
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb454) VALUES (1, 10, 3, 0), (3, 13, 3, 2);
INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb413, qrtb414, qrtb415) VALUES (1, '甲', 1, 2, 1), (2, '乙', 2, 2, 1);
)sql";

template <typename List>
void EraseId(List& list, int id) {
  std::erase_if(list, [id](const auto& node) { return node.Id == id; });
}

class RoundContextTest : public ::testing::Test {
 protected:
  void SetUp() override { fixture_.OpenNewMeet(kMeetSql); }
  MeetFixture fixture_;
  DataGuard hold_{DataLock};
};

// The loader joins every round with its contest, group and event, so a
// missing part is a list that changed under the round: the nodes are taken
// out of the loaded lists here.
TEST_F(RoundContextTest, AnyMissingPartAnswersOneAndOnlyAMissingContestIsADataError) {
  struct Case {
    const char* missing;
    int round_id;
    void (*take_out)();
    int logged;
  } cases[] = {
      {"round", 2, [] {}, 0},
      {"contest", 1, [] { EraseId(Model().ContestList, 10); }, 12550},
      {"event", 1, [] { EraseId(Model().EventList, 9); }, 0},
      {"part event", 3, [] { EraseId(Model().EventList, 2); }, 0},
      {"group", 1, [] { EraseId(Model().GroupList, 1); }, 0},
  };
  for (const Case& c : cases) {
    MeetModel loaded = Model();
    c.take_out();
    ShowDataErrorCode(0);
    RoundContext context;
    EXPECT_EQ(ResolveRoundContext(c.round_id, context), 1) << c.missing;
    EXPECT_EQ(LastDataErrorCode(), c.logged) << c.missing;
    Model() = loaded;
  }
}

TEST_F(RoundContextTest, AthleteComesWithTheClassOfHisGrade) {
  AthleteContext context;
  ASSERT_EQ(FindAthleteAndClass(1, context), 0);
  EXPECT_EQ(context.Athlete->Name, "甲");
  EXPECT_EQ(context.Class->ClassName, "102班");
  // Class id 2 belongs to grade 1, not to athlete 2's grade 2.
  EXPECT_EQ(FindAthleteAndClass(2, context), 1);
  EXPECT_EQ(FindAthleteAndClass(3, context), 1);
  EXPECT_EQ(context.Athlete, nullptr);
}

}  // namespace

}  // namespace korva
