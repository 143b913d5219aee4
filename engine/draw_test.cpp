#include "engine/draw.h"

#include <gtest/gtest.h>

#include <random>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "engine/draw_steps.h"
#include "engine/draw_test_meet.h"
#include "tests/testing/meet_fixture.h"

namespace {

// The lanes as the file holds them: the working key is not stored.
std::vector<LaneNode> StoredLanes(std::vector<LaneNode> lanes) {
  for (LaneNode& n : lanes) n.Key = 0;
  return lanes;
}

void ExpectSameLanes(const std::vector<LaneNode>& a, const std::vector<LaneNode>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    SCOPED_TRACE("lane " + std::to_string(i));
    EXPECT_EQ(a[i].Id, b[i].Id);
    EXPECT_EQ(a[i].RoundId, b[i].RoundId);
    EXPECT_EQ(a[i].Heat, b[i].Heat);
    EXPECT_EQ(a[i].Lane, b[i].Lane);
    EXPECT_EQ(a[i].AthleteId, b[i].AthleteId);
    EXPECT_EQ(a[i].ClassId, b[i].ClassId);
    EXPECT_EQ(a[i].Result, b[i].Result);
    EXPECT_EQ(a[i].Status, b[i].Status);
  }
}

void ExpectSameRounds(const std::vector<RoundNode>& a, const std::vector<RoundNode>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    SCOPED_TRACE("round " + std::to_string(a[i].Id));
    EXPECT_EQ(a[i].Id, b[i].Id);
    EXPECT_EQ(a[i].Kind, b[i].Kind);
    EXPECT_EQ(a[i].Disabled, b[i].Disabled);
    EXPECT_EQ(a[i].Entrants, b[i].Entrants);
    EXPECT_EQ(a[i].Places, b[i].Places);
  }
}

// The lists equal what a fresh load of the file gives.
void ExpectListsMatchFile() {
  const std::vector<LaneNode> lanes = StoredLanes(Model().LaneList);
  const std::vector<RoundNode> rounds = Model().RoundList;
  ASSERT_EQ(LoadRounds(), 0);
  ASSERT_EQ(LoadLanes(), 0);
  ExpectSameRounds(rounds, Model().RoundList);
  ExpectSameLanes(lanes, Model().LaneList);
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
    ASSERT_TRUE(fixture_.MeetSql(meet_id, "INSERT INTO qrtb409 VALUES ('迟到" + id + "', " + id + ", 0, 1, 1, " +
                                              std::to_string(sex) + ", 0); INSERT INTO qrtb397 VALUES (" +
                                              std::to_string(contest_id) + ", " + id + ");"));
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

TEST_F(DrawTest, ALateEntrantIsDrawnByRedrawingItsContest) {
  DrawShape shape;
  shape.Boys = {3, 2};
  shape.Girls = {1, 1};
  const int meet = OpenShape(shape);
  ASSERT_EQ(DrawAllRounds(1u), 0);
  AddLateAthlete(meet, 500, 1, 100);
  EXPECT_EQ(IsAthleteUndrawn(100, 500), 1);
  const std::vector<LaneNode> girls_before = [] {
    std::vector<LaneNode> v;
    for (const LaneNode& n : Model().LaneList)
      if (n.RoundId == 2003) v.push_back(n);
    return v;
  }();

  ASSERT_EQ(RedrawUndrawnContests(2u), 0);
  EXPECT_EQ(IsAthleteUndrawn(100, 500), 0);
  EXPECT_EQ(FindRoundById(1003)->Entrants, 6);
  ExpectListsMatchFile();
  // The other contest was not drawn again.
  std::vector<LaneNode> girls_after;
  for (const LaneNode& n : Model().LaneList)
    if (n.RoundId == 2003) girls_after.push_back(n);
  ExpectSameLanes(StoredLanes(girls_before), girls_after);
}

TEST_F(DrawTest, AContestWithResultsIsNotDrawnAgain) {
  DrawShape shape;
  shape.Boys = {3, 2};
  shape.Girls = {1, 1};
  const int meet = OpenShape(shape);
  ASSERT_EQ(DrawAllRounds(1u), 0);
  ASSERT_TRUE(fixture_.MeetSql(meet, "UPDATE qrtb479 SET qrtb485 = 1234 WHERE qrtb481 = 1003 AND qrtb482 = 1"));
  AddLateAthlete(meet, 500, 1, 100);
  const std::vector<LaneNode> before = Model().LaneList;

  ASSERT_EQ(RedrawUndrawnContests(2u), 0);
  EXPECT_EQ(IsAthleteUndrawn(100, 500), 1);
  ExpectSameLanes(before, Model().LaneList);
  ExpectListsMatchFile();
  int results = 0;
  for (const LaneNode& n : Model().LaneList) results += n.Result == 1234;
  EXPECT_GT(results, 0);
}

// A preliminary dropped for few entrants makes its final a single final;
// once more athletes enter, the redraw holds the preliminary again and the
// final waits for its qualifiers.
TEST_F(DrawTest, AFinalReturnsToWaitingWhenThePreliminaryIsNeededAgain) {
  DrawShape shape;
  shape.HasPrelim = 1;
  shape.Qualifiers = 8;
  shape.Places = 6;
  shape.VenueSize = 8;
  shape.Boys = {2, 1};
  shape.Girls = {1, 1};
  const int meet = OpenShape(shape);
  ASSERT_EQ(DrawAllRounds(3u), 0);
  EXPECT_EQ(FindRoundById(1001)->Disabled, 1);
  EXPECT_EQ(FindRoundById(1002)->Kind, kDirectFinal);
  EXPECT_EQ(FindRoundById(1002)->Entrants, 3);
  EXPECT_EQ(FindRoundById(1002)->Places, 2);
  ExpectListsMatchFile();

  for (int id = 600; id < 608; ++id) AddLateAthlete(meet, id, 1, 100);
  int heats = 0, entrants = 0;
  ASSERT_EQ(RedrawContest(100, heats, entrants), 0);
  const RoundNode* prelim = FindRoundById(1001);
  const RoundNode* final = FindRoundById(1002);
  EXPECT_EQ(prelim->Disabled, 0);
  EXPECT_EQ(prelim->Entrants, 11);
  EXPECT_EQ(prelim->Places, 8);
  EXPECT_EQ(final->Kind, kFinalAfterPrelim);
  EXPECT_EQ(final->Entrants, 0);
  EXPECT_EQ(final->Places, 6);
  EXPECT_EQ(FindFirstLaneOfRound(1002), nullptr);
  EXPECT_EQ(heats, 2);
  EXPECT_EQ(entrants, 11);
  EXPECT_TRUE(LaneMemoryList.empty());
  ExpectListsMatchFile();
}

TEST_F(DrawTest, AFailedWriteLeavesFileAndListsAsTheyWere) {
  DrawShape shape;
  shape.Boys = {4, 4};
  shape.Girls = {3, 3};
  const int meet = OpenShape(shape);
  ASSERT_TRUE(fixture_.MeetSql(meet,
                               "CREATE TRIGGER refuse AFTER INSERT ON qrtb479 WHEN NEW.qrtb481 = 2003"
                               " BEGIN SELECT RAISE(ABORT, 'refused'); END;"));
  ASSERT_EQ(fixture_.Open(meet), 0);
  EXPECT_EQ(DrawAllRounds(4u), 1);
  EXPECT_TRUE(Model().LaneList.empty());
  EXPECT_EQ(FindRoundById(1003)->Entrants, 0);
  ExpectListsMatchFile();
}

TEST_F(DrawTest, RemoveRoundLanesGivesTheNextFreeId) {
  DrawShape shape;
  shape.Boys = {2};
  shape.Girls = {3};
  OpenShape(shape);
  ASSERT_EQ(DrawAllRounds(5u), 0);
  EXPECT_EQ(RemoveRoundLanes(2003), 3);  // the boys hold ids 1 and 2
  EXPECT_EQ(RemoveRoundLanes(1003), 1);
}

}  // namespace
