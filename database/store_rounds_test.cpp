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

// "session|order|duration" of a round in the file; RoundList must agree.
std::string Slot(int round_id) {
  const RoundNode* r = FindRoundById(round_id);
  std::string listed = std::to_string(r->Session) + "|" + std::to_string(r->Order) + "|" +
                       std::to_string(r->Duration);
  std::string stored =
      MeetText("SELECT qrtb449, qrtb450, qrtb451 FROM qrtb444 WHERE qrtb445 = " + std::to_string(round_id));
  EXPECT_EQ(listed, stored) << "round " << round_id;
  return stored;
}

TEST_F(Rounds, PlacingFollowsTheSessionsLastOrderAndUnschedulingClears) {
  FindRoundById(6)->Duration = 7;  // estimated by the schedule page
  FindRoundById(7)->Duration = 9;
  ASSERT_EQ(ArrangeRounds({{0, 6}, {1, 7}}, 2, 1), 0);
  EXPECT_EQ(Slot(6), "2|6|7");
  EXPECT_EQ(Slot(7), "2|8|9");  // position 1 of the second entry: 6 + 1 + 1
  ASSERT_EQ(ArrangeRounds({{0, 6}}, 2, 2), 0);
  EXPECT_EQ(Slot(6), "0|0|0");
  ASSERT_EQ(ArrangeRounds({{0, 6}}, 3, 1), 0);  // an empty session starts at 1
  EXPECT_EQ(Slot(6), "3|1|0");
}

TEST_F(Rounds, MovesSwapWithTheNearestRoundOfTheSameVenue) {
  // Hurdles (track 3) up: the nearest lower track round is 100米 (track 1).
  ASSERT_EQ(ArrangeRounds({{0, 3}}, 2, 3), 0);
  EXPECT_EQ(Slot(3) + " " + Slot(1) + " " + Slot(2), "2|1|5 2|3|5 2|2|5");
  // 跳远 down: the next round at venue 4 is 立定跳远.
  ASSERT_EQ(ArrangeRounds({{0, 2}}, 2, 4), 0);
  EXPECT_EQ(Slot(2) + " " + Slot(4), "2|4|5 2|2|5");
  // 200米 up swaps with 100米; 立定跳远 has no lower venue-4 round, which ends
  // the operation, successfully, before 跳远 moves.
  ASSERT_EQ(ArrangeRounds({{0, 5}, {1, 4}, {2, 2}}, 2, 3), 0);
  EXPECT_EQ(Slot(5) + " " + Slot(1) + " " + Slot(4) + " " + Slot(2), "2|3|5 2|5|5 2|2|5 2|4|5");
}

TEST_F(Rounds, DurationsStepByOneMinuteNotBelowOne) {
  FindRoundById(3)->Duration = 1;
  ASSERT_EQ(ArrangeRounds({{0, 1}, {1, 2}}, 2, 5), 0);
  ASSERT_EQ(ArrangeRounds({{0, 3}, {1, 4}}, 2, 6), 0);
  EXPECT_EQ(Slot(1) + " " + Slot(2) + " " + Slot(3) + " " + Slot(4), "2|1|6 2|2|6 2|3|1 2|4|4");
}

TEST_F(Rounds, AMissingRoundOrADatabaseErrorChangesNothing) {
  std::string before = Dump({"qrtb444"});
  EXPECT_EQ(ArrangeRounds({{0, 1}, {1, 99}}, 2, 5), 1);
  EXPECT_EQ(Dump({"qrtb444"}), before);
  EXPECT_EQ(FindRoundById(1)->Duration, 5);
  FailOn("UPDATE OF qrtb450", "qrtb444", "no_order");
  EXPECT_EQ(ArrangeRounds({{0, 6}, {1, 7}}, 2, 1), 1);
  EXPECT_EQ(LastDataErrorCode(), 660);
  EXPECT_EQ(Dump({"qrtb444"}), before);
  EXPECT_EQ(FindRoundById(6)->Session, 0);
}

TEST_F(Rounds, SettingsRoundsAndCountersReachTheFile) {
  ASSERT_EQ(SaveContestSettings(ContestNode{.Id = 1, .HasPrelim = 1, .Qualifiers = 8, .Places = 6, .SchemeId = 2}), 0);
  EXPECT_EQ(MeetText("SELECT qrtb429, qrtb430, qrtb431, qrtb436 FROM qrtb425 WHERE qrtb426 = 1"), "1|8|6|2");
  RoundNode r{.Id = 6, .ContestId = 1, .Kind = 2, .Disabled = 1, .Order = 3, .Duration = 4, .Session = 5,
              .Entrants = 12, .Places = 8, .PartEventId = 9, .CertificatePrints = 1, .CheckInPrints = 2,
              .ResultPrints = 3, .CompletionStamp = 5201030};
  const std::string columns = "SELECT qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453,"
                              " qrtb454, qrtb455, qrtb456, qrtb457, qrtb458 FROM qrtb444 WHERE qrtb445 = ";
  ASSERT_EQ(SaveRound(r), 0);
  EXPECT_EQ(MeetText(columns + "6"), "1|2|1|5|3|4|12|8|NULL|NULL|NULL|NULL|NULL");  // only its own columns
  r.Id = 50;
  ASSERT_EQ(InsertRound(r), 0);
  EXPECT_EQ(MeetText(columns + "50"), "1|2|1|5|3|4|12|8|9|NULL|NULL|NULL|NULL");
  EXPECT_EQ(InsertRound(r), 1);
  EXPECT_EQ(LastDataErrorCode(), 159);
  ASSERT_EQ(SaveRoundCounters(r), 0);
  EXPECT_EQ(MeetText(columns + "50"), "1|2|1|5|3|4|12|8|9|1|2|3|5201030");
  FailOn("UPDATE", "qrtb444", "no_update");
  EXPECT_EQ(SaveRoundCounters(r), 1);
  EXPECT_EQ(LastDataErrorCode(), 41533);
  EXPECT_EQ(SaveRound(r), 1);
  EXPECT_EQ(LastDataErrorCode(), 4533);
}

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

// A round goes with its lanes, or not at all.
TEST_F(Rounds, DeletingARoundTakesItsLanesOrNothing) {
  {
    DataGuard hold(DataLock);
    ASSERT_TRUE(MeetConnection().ExecScript(
        "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484) VALUES (1, 6, 1, 1, 1), (2, 6, 1, 2, 2),"
        " (3, 7, 1, 1, 1)"));
  }
  const std::string before = Dump({"qrtb444", "qrtb479"});
  FailOn("DELETE", "qrtb479", "refuse");
  EXPECT_EQ(DeleteRound(6), 1);
  EXPECT_EQ(LastDataErrorCode(), 1622);
  DropTrigger("refuse");
  EXPECT_EQ(Dump({"qrtb444", "qrtb479"}), before);
  ASSERT_EQ(DeleteRound(6), 0);
  EXPECT_EQ(MeetInt("SELECT COUNT(*) FROM qrtb444 WHERE qrtb445 = 6"), 0);
  EXPECT_EQ(MeetText("SELECT qrtb480 FROM qrtb479"), "3");
}

}  // namespace

}  // namespace korva
