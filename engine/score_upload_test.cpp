#include "engine/score_upload.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/lookups.h"
#include "engine/scoring_test_support.h"

namespace korva {

namespace {

struct Result {
  int athlete;
  std::string text;
  int status = 0;
};

// A whole round: its results, uploaded one by one (the last one counts the
// round), and every lane's place, points and flag worked out by hand from
// the scheme (9 7 6 5 4 3 2 1, or 20 .. 1 for round 8) and the bonuses
// (2 for equalling the record, 3 for breaking it).
struct WholeRound {
  const char* name;
  std::string extra_sql;
  int round;
  int record;
  std::vector<Result> results;
  std::vector<Placing> expected;
};

std::vector<WholeRound> WholeRounds() {
  std::vector<WholeRound> rounds = {
      {"shared places, an equalled record, a foul, places beyond the six", "", 1, 1200,
       {{1, "12.00"}, {2, "12.50"}, {3, "12.50"}, {4, "12.80"}, {5, "13"}, {6, "13.00"}, {7, "13.00"},
        {8, "", 1}, {9, "13.50"}, {10, "14.00"}},
       {{1, 1, 1100, 1}, {2, 2, 650, 0}, {3, 2, 650, 0}, {4, 4, 500, 0}, {5, 5, 300, 0}, {6, 5, 300, 0},
        {7, 5, 300, 0}, {8, 0, 0, 0}, {9, 0, 0, 0}, {10, 0, 0, 0}}},
      {"double points, a broken and an equalled record, then the check stops", "", 3, 2500,
       {{1, "24.90"}, {2, "25.00"}, {3, "25.10"}, {4, "25.20"}, {5, "25.30"}, {6, "25.40"}, {7, "25.50"},
        {8, "24.00", 1}},
       {{1, 1, 2100, 2}, {2, 2, 1600, 1}, {3, 3, 1200, 0}, {4, 4, 1000, 0}, {5, 5, 800, 0}, {6, 6, 600, 0},
        {7, 0, 0, 0}, {8, 0, 0, 0}}},
      {"a class team counts once and every member shares its place", "", 5, kNoResult,
       {{13, "50.00"}, {17, "49.00"}, {21, "51.00"}}, {}},
      {"no ties allowed and none within the places", "", 2, kNoResult,
       {{1, "4.50"}, {2, "4.40"}, {3, "4.30"}, {4, "3.90"}, {5, "3.9"}, {6, "", 1}},
       {{1, 1, 900, 0}, {2, 2, 700, 0}, {3, 3, 600, 0}, {4, 0, 0, 0}, {5, 0, 0, 0}, {6, 0, 0, 0}}},
      {"a relay of double points: the two sharing first place score twice the mean of places 1 and 2",
       "UPDATE qrtb306 SET qrtb319 = 2 WHERE qrtb307 = 905;", 5, kNoResult,
       {{13, "50.00"}, {17, "50.00"}, {21, "51.00"}}, {}},
      {"twenty places with three sharing place 19: places past 20 score nothing",
       "UPDATE qrtb306 SET qrtb316 = 1 WHERE qrtb307 = 902;", 8, kNoResult, {}, {}},
  };
  WholeRound& relay = rounds[2];
  for (int member = 13; member <= 24; ++member) {
    const int lane = (member - 13) / 4;
    relay.expected.push_back({member, lane == 1 ? 1 : lane == 0 ? 2 : 3, lane == 1 ? 900 : lane == 0 ? 700 : 600, 0});
  }
  WholeRound& shared = rounds[4];
  for (int member = 13; member <= 24; ++member) {
    const bool third = member >= 21;
    shared.expected.push_back({member, third ? 3 : 1, third ? 1200 : 1600, 0});
  }
  WholeRound& twenty = rounds[5];
  for (int i = 1; i <= 21; ++i) {
    const int metres = i <= 18 ? 600 - 10 * i : 400;  // 5.90 .. 4.20, then 4.00 three times
    twenty.results.push_back({100 + i, std::to_string(metres / 100) + "." + std::to_string(metres % 100 / 10) + "0"});
    twenty.expected.push_back({100 + i, i <= 18 ? i : 19, i <= 18 ? (21 - i) * 100 : 100, 0});
  }
  return rounds;
}

TEST(ScoreUpload, WholeRoundsGetTheirHandComputedPlacesAndPoints) {
  for (const WholeRound& round : WholeRounds()) {
    SCOPED_TRACE(round.name);
    MeetFixture fixture;
    OpenScoringMeet(fixture, round.extra_sql);
    for (std::size_t i = 0; i < round.results.size(); ++i) {
      const Result& r = round.results[i];
      UploadReply reply = Upload(round.round, r.athlete, r.text, r.status, 1, round.record);
      if (i + 1 < round.results.size()) {
        EXPECT_NE(reply.code, kReplyCounted) << r.athlete;
        EXPECT_NE(reply.code, kReplyFailed) << r.athlete;
      } else {
        EXPECT_EQ(reply.code, kReplyCounted) << reply.text;
        EXPECT_EQ(reply.text, "比赛已完成，请查看或打印成绩表！");
      }
    }
    EXPECT_EQ(RoundPlacings(round.round), round.expected);
    EXPECT_GT(FindRoundById(round.round)->CompletionStamp, 0);
  }
}

class Uploads : public ::testing::Test {
 protected:
  void SetUp() override { OpenScoringMeet(fixture_); }
  // Every result of round 1 but athlete 10's.
  void AllButTheLast() {
    const char* texts[] = {"12.00", "12.50", "12.50", "12.80", "13", "13.00", "13.00", "13.10", "13.50"};
    for (int athlete = 1; athlete <= 9; ++athlete) Upload(1, athlete, texts[athlete - 1]);
  }
  MeetFixture fixture_;
};

TEST_F(Uploads, RepliesFollowTheHeatsAndTheRecord) {
  struct Step {
    int athlete;
    std::string text;
    int status, mode, record, code;
    std::string reply;
  };
  const std::vector<Step> steps = {
      {1, "12.5", 0, 1, 1205, kReplySavedEqualled, "12.05"},
      {1, "12.05", 0, 1, 1205, kReplyUnchanged, ""},
      {1, "12.04", 0, 1, 1205, kReplySavedBroken, "12.04"},
      {2, "12x", 0, 1, 1205, kReplyBadScore, "错误的成绩数据，请输入类以于“12.65”这样格式的运动员成绩。"},
      {2, std::string(50, '1'), 0, 1, 1205, kReplyBadScore, "错误的成绩数据，请输入类以于“12.65”这样格式的运动员成绩。"},
      {99, "12.00", 0, 1, 1205, kReplyFailed, ""},
      {2, "", 0, 1, kNoResult, kReplyUnchanged, ""},  // no result stays no result
      {2, "", 1, 1, kNoResult, kReplySaved, ""},      // a foul without a result
  };
  for (const Step& s : steps) {
    UploadReply reply = Upload(1, s.athlete, s.text, s.status, s.mode, s.record);
    EXPECT_EQ(std::tie(reply.code, reply.text), std::tie(s.code, s.reply)) << s.athlete << " " << s.text;
  }
  // A clear: no score text at all.
  EXPECT_EQ(Upload(1, 1, "").code, kReplySaved);
  DataGuard hold(DataLock);
  EXPECT_EQ(FindFirstLaneOfRound(1)->Result, kNoResult);
  EXPECT_EQ(MeetText("SELECT qrtb485 FROM qrtb479 WHERE qrtb480 = 101"), "NULL");
}

TEST_F(Uploads, TheLastResultOfAHeatAndOfTheRound) {
  for (int athlete = 1; athlete <= 7; ++athlete) EXPECT_EQ(Upload(1, athlete, "13." + std::to_string(athlete)).code, kReplySaved);
  EXPECT_EQ(Upload(1, 8, "14").code, kReplyHeatComplete);
  EXPECT_EQ(Upload(1, 9, "14.10").code, kReplySaved);
  UploadReply last = Upload(1, 10, "14.20");
  EXPECT_EQ(last.code, kReplyCounted);
}

TEST_F(Uploads, ACountedRoundWarnsThenCountsAgainOnConfirmationOrRecount) {
  AllButTheLast();
  ASSERT_EQ(Upload(1, 10, "14.00").code, kReplyCounted);
  const std::string counted = Dump({"qrtb479", "qrtb444"});

  UploadReply warning = Upload(1, 10, "11.00");
  EXPECT_EQ(std::tie(warning.code, warning.question), std::tuple(kReplyAsk, UploadQuestion::kCounted));
  EXPECT_EQ(Dump({"qrtb479", "qrtb444"}), counted);

  ASSERT_EQ(Upload(1, 10, "11.00", 0, kUploadConfirmed).code, kReplyCounted);
  std::vector<Placing> placings = RoundPlacings(1);
  EXPECT_EQ(placings[9], Placing(10, 1, 900, 0));
  EXPECT_EQ(placings[0], Placing(1, 2, 700, 0));

  // A recount rebuilds the same places.
  const std::vector<Placing> before = placings;
  ASSERT_EQ(Upload(1, 0, "0", 0, kUploadRecount).code, kReplyCounted);
  EXPECT_EQ(RoundPlacings(1), before);

  // Clearing a result makes the round incomplete again: its places go.
  EXPECT_EQ(Upload(1, 10, "", 0, kUploadConfirmed).code, kReplyUncounted);
  EXPECT_EQ(RoundPlacings(1)[0], Placing(1, 0, 0, 0));
  EXPECT_EQ(FindRoundById(1)->CompletionStamp, 0);
  EXPECT_EQ(MeetInt("SELECT qrtb458 FROM qrtb444 WHERE qrtb445 = 1"), 0);
}

TEST_F(Uploads, AFailedWriteWhileCountingLeavesTheRoundAsItWas) {
  AllButTheLast();
  // Counting writes places, the record, then the round's stamp: each failure
  // undoes everything, the uploaded score included.
  for (const auto& [op, table] : {std::pair{"UPDATE", "qrtb444"}, {"INSERT", "base.qrtb188"}}) {
    SCOPED_TRACE(table);
    const std::string file = Dump({"qrtb479", "qrtb444", "base.qrtb188"});
    const std::vector<LaneNode> lanes = Model().LaneList;
    const std::vector<RoundNode> rounds = Model().RoundList;
    FailOn(op, table, "forced");
    EXPECT_EQ(Upload(1, 10, "11.90", 0, 1, 1200).code, kReplyFailed);
    DropTrigger("forced");
    EXPECT_EQ(Dump({"qrtb479", "qrtb444", "base.qrtb188"}), file);
    EXPECT_EQ(RoundPlacings(1)[0], Placing(1, 0, 0, 0));
    EXPECT_EQ(Model().LaneList.size(), lanes.size());
    EXPECT_EQ(FindFirstLaneOfRound(1)[9].Result, kNoResult);
    EXPECT_EQ(FindRoundById(1)->CompletionStamp, 0);
    EXPECT_TRUE(Model().PrintQueue.empty());
    EXPECT_TRUE(Model().RecordList.empty());
  }
  EXPECT_EQ(Upload(1, 10, "11.90", 0, 1, 1200).code, kReplyCounted);
  EXPECT_EQ(Model().PrintQueue.size(), 1u);
  EXPECT_EQ(Model().RecordList.size(), 1u);

  // A recount that fails once it has taken the round out of the queue and
  // deleted its record puts both back.
  const std::vector<ResultPrintItem> queue = Model().PrintQueue;
  const std::string counted = Dump({"qrtb479", "qrtb444", "base.qrtb188"});
  FailOn("INSERT", "base.qrtb188", "forced");
  EXPECT_EQ(Upload(1, 9, "11.80", 0, kUploadConfirmed, 1200).code, kReplyFailed);
  DropTrigger("forced");
  EXPECT_EQ(Dump({"qrtb479", "qrtb444", "base.qrtb188"}), counted);
  EXPECT_EQ(Model().PrintQueue, queue);
  EXPECT_EQ(Model().RecordList.front().Value, 1190);
}

}  // namespace

}  // namespace korva
