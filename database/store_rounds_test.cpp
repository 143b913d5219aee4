#include "database/store_rounds.h"

#include <gtest/gtest.h>

#include "database/data_error.h"
#include "database/lookups.h"
#include "database/store_test_support.h"
#include "tests/testing/meet_fixture.h"

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

int Order(int round_id) {
  int stored = MeetInt("SELECT qrtb450 FROM qrtb444 WHERE qrtb445 = " + std::to_string(round_id));
  EXPECT_EQ(FindRoundById(round_id)->Order, stored);
  return stored;
}

int Duration(int round_id) {
  int stored = MeetInt("SELECT qrtb451 FROM qrtb444 WHERE qrtb445 = " + std::to_string(round_id));
  EXPECT_EQ(FindRoundById(round_id)->Duration, stored);
  return stored;
}

TEST(ArrangeRounds, PlacesRoundsAfterTheLastOrderOfTheSession) {
  MeetFixture f;
  f.OpenNewMeet(kScheduleSql);
  FindRoundById(6)->Duration = 7;  // estimated by the schedule page
  FindRoundById(7)->Duration = 9;
  ASSERT_EQ(ArrangeRounds({{0, 6}, {1, 7}}, 2, 1), 0);
  EXPECT_EQ(Order(6), 6);
  EXPECT_EQ(Order(7), 8);
  EXPECT_EQ(Duration(6), 7);
  EXPECT_EQ(MeetInt("SELECT qrtb449 FROM qrtb444 WHERE qrtb445 = 7"), 2);
  EXPECT_EQ(FindRoundById(7)->Session, 2);

  ASSERT_EQ(ArrangeRounds({{0, 6}}, 2, 2), 0);
  EXPECT_EQ(Order(6), 0);
  EXPECT_EQ(Duration(6), 0);
  EXPECT_EQ(FindRoundById(6)->Session, 0);

  // An empty session starts at order 1.
  ASSERT_EQ(ArrangeRounds({{0, 6}}, 3, 1), 0);
  EXPECT_EQ(Order(6), 1);
}

TEST(ArrangeRounds, MovesSwapWithTheNearestRoundOfTheSameVenue) {
  MeetFixture f;
  f.OpenNewMeet(kScheduleSql);
  // Hurdles (track 3) up: the nearest lower track round is 100米 (track 1).
  ASSERT_EQ(ArrangeRounds({{0, 3}}, 2, 3), 0);
  EXPECT_EQ(Order(3), 1);
  EXPECT_EQ(Order(1), 3);
  EXPECT_EQ(Order(2), 2);
  // 跳远 down: the next round at venue 4 is 立定跳远.
  ASSERT_EQ(ArrangeRounds({{0, 2}}, 2, 4), 0);
  EXPECT_EQ(Order(2), 4);
  EXPECT_EQ(Order(4), 2);
  // 200米 up swaps with 100米; 立定跳远 has no lower venue-4 round, which ends
  // the operation before 跳远 moves.
  ASSERT_EQ(ArrangeRounds({{0, 5}, {1, 4}, {2, 2}}, 2, 3), 0);
  EXPECT_EQ(Order(5), 3);
  EXPECT_EQ(Order(1), 5);
  EXPECT_EQ(Order(4), 2);
  EXPECT_EQ(Order(2), 4);
}

TEST(ArrangeRounds, DurationsStepByOneMinuteNotBelowOne) {
  MeetFixture f;
  f.OpenNewMeet(kScheduleSql);
  ASSERT_EQ(ArrangeRounds({{0, 1}, {1, 2}}, 2, 5), 0);
  EXPECT_EQ(Duration(1), 6);
  EXPECT_EQ(Duration(2), 6);
  FindRoundById(3)->Duration = 1;
  ASSERT_EQ(ArrangeRounds({{0, 3}, {1, 4}}, 2, 6), 0);
  EXPECT_EQ(Duration(3), 1);
  EXPECT_EQ(Duration(4), 4);
}

TEST(ArrangeRounds, AMissingRoundOrADatabaseErrorChangesNothing) {
  MeetFixture f;
  f.OpenNewMeet(kScheduleSql);
  std::string before = TableDump("qrtb444");
  EXPECT_EQ(ArrangeRounds({{0, 1}, {1, 99}}, 2, 5), 1);
  EXPECT_EQ(TableDump("qrtb444"), before);
  EXPECT_EQ(FindRoundById(1)->Duration, 5);

  FailOn("UPDATE OF qrtb450", "qrtb444", "no_order");
  EXPECT_EQ(ArrangeRounds({{0, 6}, {1, 7}}, 2, 1), 1);
  EXPECT_EQ(LastDataErrorCode(), 660);
  EXPECT_EQ(TableDump("qrtb444"), before);
  EXPECT_EQ(FindRoundById(6)->Session, 0);
  EXPECT_EQ(FindRoundById(1)->Order, 1);
}

TEST(RoundWrites, SettingsRoundsAndCountersReachTheFile) {
  MeetFixture f;
  f.OpenNewMeet(kScheduleSql);
  ContestNode c = *FindContestById(1);
  c.HasPrelim = 1;
  c.Qualifiers = 8;
  c.Places = 6;
  c.SchemeId = 2;
  ASSERT_EQ(SaveContestSettings(c), 0);
  EXPECT_EQ(MeetInt("SELECT qrtb429 * 1000 + qrtb430 * 100 + qrtb431 * 10 + qrtb436 FROM qrtb425 WHERE qrtb426 = 1"),
            1862);

  RoundNode r = *FindRoundById(6);
  r.Kind = 2;
  r.Disabled = 1;
  r.Entrants = 12;
  r.Places = 8;
  ASSERT_EQ(SaveRound(r), 0);
  EXPECT_EQ(MeetInt("SELECT qrtb447 * 1000 + qrtb448 * 100 + qrtb452 FROM qrtb444 WHERE qrtb445 = 6"), 2112);

  r.Id = 50;
  r.PartEventId = 9;
  ASSERT_EQ(InsertRound(r), 0);
  EXPECT_EQ(MeetInt("SELECT qrtb454 + qrtb453 FROM qrtb444 WHERE qrtb445 = 50"), 17);
  EXPECT_EQ(InsertRound(r), 1);
  EXPECT_EQ(LastDataErrorCode(), 159);

  r.CertificatePrints = 1;
  r.CheckInPrints = 2;
  r.ResultPrints = 3;
  r.CompletionStamp = 5201030;
  ASSERT_EQ(SaveRoundCounters(r), 0);
  EXPECT_EQ(MeetText("SELECT qrtb455 || qrtb456 || qrtb457 || '/' || qrtb458 FROM qrtb444 WHERE qrtb445 = 50"),
            "123/5201030");
  FailOn("UPDATE", "qrtb444", "no_update");
  EXPECT_EQ(SaveRoundCounters(r), 1);
  EXPECT_EQ(LastDataErrorCode(), 41533);
  EXPECT_EQ(SaveRound(r), 1);
  EXPECT_EQ(LastDataErrorCode(), 4533);
}

TEST(EstimateRoundMinutes, HeatsOrAthletesTimesTheEventsMinutes) {
  VenueNode track;
  track.Size = 8;
  GroupNode group;
  group.EntrantsPerEvent = 2;
  group.PlacesRanked = 6;
  EventNode sprint;
  sprint.MatchTime = 3;
  EventNode jump = sprint;
  jump.BiSaiType = 2;
  jump.MatchTime = 2;
  EventNode relay = sprint;
  relay.TuanTiType = 2;

  // A field event: minutes per athlete times every entrant.
  EXPECT_EQ(EstimateRoundMinutes(track, group, jump, 6, kDirectFinal), 2 * 2 * 6);
  // 12 sprinters in 8 lanes: 2 heats.
  EXPECT_EQ(EstimateRoundMinutes(track, group, sprint, 6, kDirectFinal), 3 * 2);
  EXPECT_EQ(EstimateRoundMinutes(track, group, sprint, 4, kPrelim), 3 * 1);
  // 6 class teams in 8 lanes: 1 heat.
  EXPECT_EQ(EstimateRoundMinutes(track, group, relay, 6, kDirectFinal), 3);
  // A final after preliminaries: max(lanes, places) athletes, min(classes,
  // places) teams.
  EXPECT_EQ(EstimateRoundMinutes(track, group, sprint, 6, kFinalAfterPrelim), 3);
  group.PlacesRanked = 10;
  EXPECT_EQ(EstimateRoundMinutes(track, group, sprint, 6, kFinalAfterPrelim), 6);
  EXPECT_EQ(EstimateRoundMinutes(track, group, relay, 12, kFinalAfterPrelim), 6);
  // A venue of size 0 counts as one lane.
  track.Size = 0;
  EXPECT_EQ(EstimateRoundMinutes(track, group, sprint, 6, kDirectFinal), 3 * 12);
  EXPECT_EQ(EstimateRoundMinutes(track, group, relay, 6, kFinalAfterPrelim), 3 * 6);
}

}  // namespace
