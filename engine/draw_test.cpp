#include "engine/draw.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>
#include <vector>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "database/store_lanes.h"
#include "engine/draw_steps.h"
#include "engine/draw_test_meet.h"
#include "tests/testing/meet_fixture.h"

namespace {

// What the file holds of the lanes and rounds (the working key is not
// stored), in list order.
using LaneRow = std::tuple<int, int, int, int, int, int, ScoreValue, int>;
using RoundRow = std::tuple<int, int, int, int, int>;

std::vector<LaneRow> LaneRows(int round_id = 0) {
  std::vector<LaneRow> rows;
  for (const LaneNode& n : Model().LaneList)
    if (round_id == 0 || n.RoundId == round_id)
      rows.emplace_back(n.Id, n.RoundId, n.Heat, n.Lane, n.AthleteId, n.ClassId, n.Result, n.Status);
  return rows;
}

std::vector<RoundRow> RoundRows() {
  std::vector<RoundRow> rows;
  for (const RoundNode& r : Model().RoundList) rows.emplace_back(r.Id, r.Kind, r.Disabled, r.Entrants, r.Places);
  return rows;
}

// The lists equal what a fresh load of the file gives.
void ExpectListsMatchFile() {
  const auto lanes = LaneRows();
  const auto rounds = RoundRows();
  ASSERT_EQ(LoadRounds(), 0);
  ASSERT_EQ(LoadLanes(), 0);
  EXPECT_EQ(RoundRows(), rounds);
  EXPECT_EQ(LaneRows(), lanes);
}

class DrawTest : public ::testing::Test {
 protected:
  // Builds the meet of the shape in a meet file and opens it.
  int OpenShape(const DrawShape& shape) {
    const std::string folder = Model().DataFolder;
    BuildDrawMeet(shape);
    Model().DataFolder = folder;
    FixtureMeetSettings settings;
    settings.AdmitOneLess = shape.AdmitOneLess;
    const std::string sql = SqlOfDrawMeet();
    FreeLaneMemoryList();
    return fixture_.OpenNewMeet(sql, settings);
  }

  // Adds an athlete of class 1 entered in the contest to the file and
  // reopens the meet, as a late registration does.
  void AddLateAthlete(int meet_id, int athlete_id, int sex, int contest_id) {
    const std::string id = std::to_string(athlete_id);
    const std::string sql = "INSERT INTO qrtb409 VALUES ('迟到" + id + "', " + id + ", 0, 1, 1, " +
                            std::to_string(sex) + ", 0); INSERT INTO qrtb397 VALUES (" +
                            std::to_string(contest_id) + ", " + id + ");";
    ASSERT_TRUE(fixture_.MeetSql(meet_id, sql));
    ASSERT_EQ(fixture_.Open(meet_id), 0);
  }

  MeetFixture fixture_;
  DataGuard hold_{DataLock};
};

// Drawn meets of every shape are written whole: the file gives back the
// same rounds and lanes, and the draw's promises hold after the trip.
TEST_F(DrawTest, EveryRoundIsWrittenAsDrawn) {
  std::mt19937 gen(99);
  for (int meet = 0; meet < 16; ++meet) {
    const DrawShape shape = RandomDrawShape(gen);
    SCOPED_TRACE(DescribeShape(shape));
    OpenShape(shape);
    ASSERT_EQ(DrawAllRounds(static_cast<unsigned>(meet)), 0);
    ExpectListsMatchFile();
    CheckDrawnMeet(shape);
    if (HasFailure()) break;
  }
}

RoundRow RowOf(int round_id) {
  const RoundNode& r = *FindRoundById(round_id);
  return {r.Id, r.Kind, r.Disabled, r.Entrants, r.Places};
}

// A late entrant is drawn by drawing its contest again, unless the contest
// has results: those are never thrown away.
TEST_F(DrawTest, LateEntrantsAreDrawnWhereNoResultIsLost) {
  for (bool with_result : {false, true}) {
    const int meet = OpenShape({.Boys = {3, 2}, .Girls = {1, 1}});
    ASSERT_EQ(DrawAllRounds(1u), 0);
    if (with_result) {
      ASSERT_TRUE(fixture_.MeetSql(meet, "UPDATE qrtb479 SET qrtb485 = 1234 WHERE qrtb481 = 1003"));
    }
    AddLateAthlete(meet, 500, 1, 100);
    EXPECT_EQ(IsAthleteUndrawn(100, 500), 1);
    const auto boys = LaneRows(1003), girls = LaneRows(2003);
    ASSERT_EQ(RedrawUndrawnContests(2u), 0);
    EXPECT_EQ(IsAthleteUndrawn(100, 500), with_result ? 1 : 0);
    EXPECT_EQ(FindRoundById(1003)->Entrants, with_result ? 5 : 6);
    if (with_result) {
      EXPECT_EQ(LaneRows(1003), boys);
    }
    EXPECT_EQ(LaneRows(2003), girls);  // the other contest is not drawn again
    ExpectListsMatchFile();
  }
}

// A preliminary dropped for few entrants makes its final a single final;
// once more athletes enter, the redraw holds the preliminary again and the
// final waits for its qualifiers.
TEST_F(DrawTest, AFinalReturnsToWaitingWhenThePreliminaryIsNeededAgain) {
  const int meet = OpenShape({.VenueSize = 8, .HasPrelim = 1, .Qualifiers = 8, .Places = 6, .Boys = {2, 1},
                              .Girls = {1, 1}});
  ASSERT_EQ(DrawAllRounds(3u), 0);
  EXPECT_EQ(RowOf(1001), RoundRow(1001, kPrelim, 1, 0, 0));
  EXPECT_EQ(RowOf(1002), RoundRow(1002, kDirectFinal, 0, 3, 2));
  ExpectListsMatchFile();

  for (int id = 600; id < 608; ++id) AddLateAthlete(meet, id, 1, 100);
  int heats = 0, entrants = 0;
  ASSERT_EQ(RedrawContest(100, heats, entrants), 0);
  EXPECT_EQ(RowOf(1001), RoundRow(1001, kPrelim, 0, 11, 8));
  EXPECT_EQ(RowOf(1002), RoundRow(1002, kFinalAfterPrelim, 0, 0, 6));
  EXPECT_TRUE(LaneRows(1002).empty());
  EXPECT_EQ(heats, 2);
  EXPECT_EQ(entrants, 11);
  EXPECT_TRUE(LaneMemoryList.empty());
  ExpectListsMatchFile();
}

TEST_F(DrawTest, AFailedWriteLeavesFileAndListsAsTheyWere) {
  const int meet = OpenShape({.Boys = {4, 4}, .Girls = {3, 3}});
  ASSERT_TRUE(fixture_.MeetSql(meet,
                               "CREATE TRIGGER refuse AFTER INSERT ON qrtb479 WHEN NEW.qrtb481 = 2003"
                               " BEGIN SELECT RAISE(ABORT, 'refused'); END;"));
  ASSERT_EQ(fixture_.Open(meet), 0);
  EXPECT_EQ(DrawAllRounds(4u), 1);
  EXPECT_TRUE(Model().LaneList.empty());
  EXPECT_EQ(FindRoundById(1003)->Entrants, 0);
  ExpectListsMatchFile();
}

TEST_F(DrawTest, ARoundDrawnAgainTakesTheNextFreeIds) {
  OpenShape({.Boys = {2}, .Girls = {3}});
  ASSERT_EQ(DrawAllRounds(5u), 0);
  ASSERT_EQ(DeleteRoundLanes(1003), 0);
  int next_id = RemoveRoundLanes(1003);
  EXPECT_EQ(next_id, 6);  // the girls hold 3 to 5
  int heats = 0, entrants = 0;
  ASSERT_EQ(DrawRound(*FindRoundById(1003), next_id, heats, entrants), 0);
  EXPECT_EQ(next_id, 8);
  EXPECT_EQ(heats, 1);
  EXPECT_EQ(entrants, 2);
  ExpectListsMatchFile();
  EXPECT_EQ(RemoveRoundLanes(2003), 8);
  EXPECT_EQ(RemoveRoundLanes(1003), 1);
}

}  // namespace
