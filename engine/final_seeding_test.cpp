#include "engine/final_seeding.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "database/lookups.h"
#include "engine/draw.h"
#include "engine/scoring_test_support.h"

namespace korva {

namespace {

TEST(FinalSeeding, LanesFromTheCentreOut) {
  EXPECT_EQ(CentreOutLaneOrder(8), (std::vector<int>{4, 5, 3, 6, 2, 7, 1, 8}));
  EXPECT_EQ(CentreOutLaneOrder(6), (std::vector<int>{3, 4, 2, 5, 1, 6}));
  EXPECT_EQ(CentreOutLaneOrder(5), (std::vector<int>{3, 4, 2, 5, 1}));
  EXPECT_EQ(CentreOutLaneOrder(1), (std::vector<int>{1}));
  EXPECT_EQ(CentreOutLaneOrder(0), (std::vector<int>{1}));
}

// Athlete, heat and lane of a round's lanes, from the file (LaneList must
// agree).
std::vector<std::tuple<int, int, int>> StartList(int round) {
  DataGuard hold(DataLock);
  std::vector<std::tuple<int, int, int>> list;
  std::string stored;
  for (const LaneNode& lane : LanesOfRound(round)) {
    list.emplace_back(lane.AthleteId, lane.Heat, lane.Lane);
    stored += (stored.empty() ? "" : "\n") + std::to_string(lane.AthleteId) + "|" + std::to_string(lane.Heat) +
              "|" + std::to_string(lane.Lane);
  }
  EXPECT_EQ(stored, Rows("SELECT qrtb484, qrtb482, qrtb483 FROM qrtb479 WHERE qrtb481 = " + std::to_string(round) +
                         " ORDER BY qrtb482, qrtb483, qrtb480"));
  return list;
}

class Preliminary : public ::testing::Test {
 protected:
  void SetUp() override { OpenScoringMeet(fixture_); }
  // Girls 101..110 run 12.00, 12.10 ... 12.70, 12.70 (a tie at the cut), 13.00.
  UploadReply RunPreliminary() {
    const char* texts[] = {"12.00", "12.10", "12.20", "12.30", "12.40", "12.50", "12.60", "12.70", "12.70", "13.00"};
    UploadReply reply;
    for (int i = 0; i < 10; ++i) reply = Upload(6, 101 + i, texts[i]);
    return reply;
  }
  MeetFixture fixture_;
};

TEST_F(Preliminary, QualifiersIncludingATieAtTheCutAreSeededCentreOut) {
  UploadReply reply = RunPreliminary();
  EXPECT_EQ(reply.code, kReplyCounted);
  EXPECT_EQ(reply.text, "比赛完成，已生成决赛安排，请查看或打印【预赛成绩表】和【决赛检录表】！");
  // Nine qualifiers over two heats: the i-th best to heat i % 2 + 1 on lane
  // 4 5 3 6 2 ... [i / 2], listed by heat and lane.
  EXPECT_EQ(StartList(7), (std::vector<std::tuple<int, int, int>>{
                              {109, 1, 2}, {105, 1, 3}, {101, 1, 4}, {103, 1, 5}, {107, 1, 6},
                              {106, 2, 3}, {102, 2, 4}, {104, 2, 5}, {108, 2, 6}}));
  EXPECT_EQ(FindRoundById(7)->Entrants, 9);
  EXPECT_EQ(MeetInt("SELECT qrtb452 FROM qrtb444 WHERE qrtb445 = 7"), 9);
  // The preliminary's own lanes keep what the upload stored.
  EXPECT_EQ(RoundPlacings(6)[0], Placing(101, 0, 0, 0));
  EXPECT_GT(FindRoundById(6)->CompletionStamp, 0);
}

TEST(FinalSeeding, EveryMemberOfAQualifiedClassTeamRunsInTheFinal) {
  MeetFixture fixture;
  // The relay with a preliminary (round 5, two qualifiers) and a final (9).
  OpenScoringMeet(fixture,
                  "UPDATE qrtb425 SET qrtb429 = 1, qrtb430 = 2 WHERE qrtb426 = 1105;"
                  "UPDATE qrtb444 SET qrtb447 = 1, qrtb453 = 2 WHERE qrtb445 = 5;"
                  "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb452, qrtb453) VALUES (9, 1105, 2, 0, 0, 6);");
  Upload(5, 13, "50.00");
  Upload(5, 17, "49.00");
  EXPECT_EQ(Upload(5, 21, "51.00").code, kReplyCounted);
  std::vector<std::tuple<int, int, int>> expected;
  for (int member = 17; member <= 20; ++member) expected.emplace_back(member, 1, 4);
  for (int member = 13; member <= 16; ++member) expected.emplace_back(member, 1, 5);
  EXPECT_EQ(StartList(9), expected);
  EXPECT_EQ(FindRoundById(9)->Entrants, 2);
}

TEST_F(Preliminary, AnExistingFinalIsReplacedOnlyAfterTheWarningAndNeverOnceItHasResults) {
  RunPreliminary();
  const std::string seeded = Dump({"qrtb479", "qrtb444"});
  UploadReply warning = Upload(6, 110, "11.90");
  EXPECT_EQ(warning.code, kReplyAsk);
  EXPECT_EQ(warning.question, UploadQuestion::kFinalExists);
  EXPECT_EQ(Dump({"qrtb479", "qrtb444"}), seeded);

  EXPECT_EQ(Upload(6, 110, "11.90", 0, kUploadConfirmed).code, kReplyCounted);
  // Now eight qualify in one heat, the new best in the centre.
  EXPECT_EQ(StartList(7), (std::vector<std::tuple<int, int, int>>{
                              {106, 1, 1}, {104, 1, 2}, {102, 1, 3}, {110, 1, 4}, {101, 1, 5},
                              {103, 1, 6}, {105, 1, 7}, {107, 1, 8}}));
  EXPECT_EQ(Model().PrintQueue.size(), 1u);

  ASSERT_EQ(Upload(7, 110, "11.80").code, kReplySaved);
  const std::string final_started = Dump({"qrtb479", "qrtb444"});
  for (int mode : {1, 2, 3}) {
    UploadReply refusal = Upload(6, 101, "11.00", 0, mode);
    EXPECT_EQ(refusal.code, kReplyAsk);
    EXPECT_EQ(refusal.question, UploadQuestion::kFinalHasResults);
  }
  EXPECT_EQ(Dump({"qrtb479", "qrtb444"}), final_started);
}

TEST_F(Preliminary, RegroupingSeedsAFinalAgainAndRefusesWhatItMayNotTouch) {
  RunPreliminary();
  Upload(1, 1, "12.00");
  DataGuard hold(DataLock);
  // The nine the preliminary's tie at the cut brought stay in the final.
  const std::vector<RegroupedRound> done = RegroupRounds({7, 1, 99});
  ASSERT_EQ(done.size(), 2u);
  EXPECT_EQ(std::tie(done[0].Title, done[0].Outcome, done[0].Heats, done[0].Entrants),
            std::tuple("一年级 女子  100米 决赛", RegroupOutcome::kRegrouped, 2, 9));
  EXPECT_EQ(std::tie(done[1].Title, done[1].Outcome), std::tuple("一年级 男子  100米 决赛", RegroupOutcome::kHasResults));
  EXPECT_EQ(StartList(7).size(), 9u);
  EXPECT_GT(FindRoundById(6)->CompletionStamp, 0);
}

}  // namespace

}  // namespace korva
