#include "database/store_rounds.h"

#include <gtest/gtest.h>

#include "database/data_error.h"
#include "database/lookups.h"
#include "database/store_test_support.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

// Session 2 holds, by order: 1 100米 (venue 1), 2 跳远 (venue 4), 3 50米跨栏
// (venue 3), 4 立定跳远 (venue 4), 5 200米 (venue 2). Rounds 6 and 7 are
// not scheduled yet.
const char* kScheduleSql = R"sql(
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb381) VALUES (1, 1, 1, 6);
INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428) VALUES (1, 1, 3), (2, 1, 7), (3, 1, 9), (4, 1, 4), (5, 1, 10);
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb449, qrtb450, qrtb451) VALUES
    (1, 1, 3, 2, 1, 5), (2, 3, 3, 2, 2, 5), (3, 2, 3, 2, 3, 5), (4, 5, 3, 2, 4, 5),
    (5, 4, 3, 2, 5, 5), (6, 1, 1, 0, 0, 0), (7, 4, 1, 0, 0, 0);
)sql";

class Rounds : public ::testing::Test {
 protected:
  void SetUp() override { fixture_.OpenNewMeet(kScheduleSql); }
  MeetFixture fixture_;
};

TEST(EstimateRoundMinutes, HeatsOrAthletesTimesTheEventsMinutes) {
  VenueNode track{.Size = 8};
  GroupNode group{.EntrantsPerEvent = 2, .PlacesRanked = 6};
  EventNode sprint{.MatchTime = 3};
  EventNode jump{.BiSaiType = 2, .MatchTime = 2};
  EventNode relay{.TuanTiType = 2, .MatchTime = 3};

  // A field event: minutes per athlete times every entrant.
  EXPECT_EQ(EstimateRoundMinutes(track, group, jump, 6, kDirectFinal), 2 * 2 * 6);
  // 12 sprinters in 8 lanes: 2 heats; 8 sprinters: 1 heat.
  EXPECT_EQ(EstimateRoundMinutes(track, group, sprint, 6, kDirectFinal), 3 * 2);
  EXPECT_EQ(EstimateRoundMinutes(track, group, sprint, 4, kPrelim), 3 * 1);
  EXPECT_EQ(EstimateRoundMinutes(track, group, relay, 6, kDirectFinal), 3);
  // A final after preliminaries: max(lanes, places) athletes, min(classes,
  // places) teams.
  EXPECT_EQ(EstimateRoundMinutes(track, group, sprint, 6, kFinalAfterPrelim), 3);
  group.PlacesRanked = 10;
  EXPECT_EQ(EstimateRoundMinutes(track, group, sprint, 6, kFinalAfterPrelim), 6);
  EXPECT_EQ(EstimateRoundMinutes(track, group, relay, 12, kFinalAfterPrelim), 6);
  // A venue of size 0 counts as one lane instead of dividing by zero.
  track.Size = 0;
  EXPECT_EQ(EstimateRoundMinutes(track, group, sprint, 6, kDirectFinal), 3 * 12);
  EXPECT_EQ(EstimateRoundMinutes(track, group, relay, 6, kFinalAfterPrelim), 3 * 6);
}

}  // namespace

}  // namespace korva
