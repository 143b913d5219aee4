// The score-entry page's uploads as the page sends them: the paths read,
// the questions and the tie form shown, the places set by hand.
#include "pages/meet/result_uploads.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/lookups.h"
#include "engine/scoring_test_support.h"

namespace korva {

namespace {

// Sends the places of a final: "str=" (different places) or "ctr=" (shared).
std::string Places(const std::string& query) {
  DataGuard hold(DataLock);
  return AnswerManualPlaces("/ydhupdatestcj2016.html?" + query);
}

// One upload as the page sends it: the reply code and its text.
UploadReply PageUpload(int round, int athlete, const std::string& text, int status = 0, int mode = 1,
                       const std::string& record = "-65535") {
  DataGuard hold(DataLock);
  const std::string answer = AnswerScoreUpload("/upcj.html?Dstr=" + std::to_string(round) + "=" +
                                               std::to_string(athlete) + "=" + std::to_string(status) + "=" + record +
                                               "=-65535=-65535=" + std::to_string(mode) + "=" + text);
  return {.code = std::stoi(answer.substr(0, 2)), .text = answer.substr(2)};
}

TEST(ScoreUploadPath, OnlyAWellFormedPathIsStored) {
  MeetFixture fixture;
  OpenScoringMeet(fixture);
  DataGuard hold(DataLock);
  struct Case {
    const char* path;
    std::string answer;
  };
  const Case cases[] = {
      {"/upcj.html?Dstr=0=1=0=0=0=0=1=12", "00"},      // no round
      {"/upcj.html?Dstr=1=1=0=0=0=1", "00"},           // six numbers
      {"/upcj.html", "00"},
      {"/upcj.htmlx?Dstr=1=1=0=0=0=0=1=12", "00"},
      {"/upcj.html?Dstr=1=1=0=0=0=0=4=12", "00"},      // mode 4
      {"/upcj.html?Dstr=1=1=0=-65535=0=0=1=12.5", "0112.05"},
      {"/upcj.html?Dstr=1=2=0=+1205=0=0=1=12.05", "0812.05"},  // a sign, as a "%d" scan reads it
      {"/upcj.html?Dstr=1=1=0=-65535=0=0=1", "01"},   // seven numbers clear the result
  };
  for (const Case& c : cases) EXPECT_EQ(AnswerScoreUpload(c.path), c.answer) << c.path;
}

constexpr const char* kDone = "1决赛已经完成，请查看或打印【成绩表】。";

class TiedLongJump : public ::testing::Test {
 protected:
  // Boys' long jump (no ties, three places): 1 and 2 tie for first. The tie
  // form and the counted round's warning are clicked through in Chromium.
  void SetUp() override {
    OpenScoringMeet(fixture_);
    const char* texts[] = {"4.50", "4.50", "4.20", "4.00", "3.90", "3.80"};
    for (int athlete = 1; athlete <= 6; ++athlete) PageUpload(2, athlete, texts[athlete - 1]);
  }
  MeetFixture fixture_;
};

TEST_F(TiedLongJump, PlacesByHandDistinctOrShared) {
  struct Case {
    std::string query, reply;
    std::vector<Placing> first_three;
  };
  const std::vector<Case> cases = {
      // The same place twice without sharing, seven numbers, an odd count,
      // a place of 100, no key: refused, nothing changes.
      {"str=2--65535--65535--65535-3-3-1-1-2-1-", "0名次不能重复，请为每位运动员指定不同的名次，或选择“强制允许并列”后再提交！",
       {{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}}},
      {"str=2--65535--65535--65535-3-3-", "0", {{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}}},
      {"str=2--65535--65535--65535-3-3-1-100-", "0", {{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}}},
      {"str=2--65535--65535--65535-3-3-1-2-2-1-", kDone, {{1, 2, 700, 0}, {2, 1, 900, 0}, {3, 3, 600, 0}}},
      // Shared: places 1 and 2 are shared; with a record of 4.50 equalled
      // each gets its bonus of 2 as well.
      {"ctr=2-4500-0-0-3-3-1-1-2-1-", kDone, {{1, 1, 1000, 1}, {2, 1, 1000, 1}, {3, 3, 600, 0}}},
      // Place 20 is taken but scores nothing.
      {"str=2--65535--65535--65535-3-20-1-1-2-2-", kDone, {{1, 1, 900, 0}, {2, 2, 700, 0}, {3, 20, 0, 0}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Places(c.query), c.reply) << c.query;
    std::vector<Placing> placings = RoundPlacings(2);
    placings.resize(3);
    EXPECT_EQ(placings, c.first_three) << c.query;
  }
  EXPECT_GT(FindRoundById(2)->CompletionStamp, 0);
  // Placed again, the round still waits once in the print queue.
  ASSERT_EQ(Model().PrintQueue.size(), 1u);
  EXPECT_EQ(Model().PrintQueue[0].RoundId, 2);
}

TEST(ManualPlaces, ATiedFinalOfMoreThanTenAthletesIsPlacedWhole) {
  MeetFixture fixture;
  OpenScoringMeet(fixture);
  // Girls' long jump, twenty places (scheme 2: place n scores 21 - n):
  // girls 101-112 all jump 5.00, 113-121 4.90 down to 4.10.
  UploadReply reply;
  for (int i = 1; i <= 21; ++i)
    reply = PageUpload(8, 100 + i, i <= 12 ? "5.00" : "4." + std::to_string(90 - (i - 13) * 10));
  ASSERT_EQ(reply.code, kReplyAsk);
  EXPECT_NE(reply.text.find("id=\"BinLieMax\" value=\"12\""), std::string::npos);
  EXPECT_NE(reply.text.find("value=\"113-13-114-14-115-15-116-16-117-17-118-18-119-19-120-20-\""), std::string::npos);
  std::string query = "str=8--65535--65535--65535-113-13-114-14-115-15-116-16-117-17-118-18-119-19-120-20-";
  for (int i = 1; i <= 12; ++i) query += std::to_string(100 + i) + "-" + std::to_string(13 - i) + "-";
  EXPECT_EQ(Places(query), kDone);
  std::vector<Placing> expected;
  for (int i = 1; i <= 21; ++i) {
    const int place = i <= 12 ? 13 - i : i <= 20 ? i : 0;
    expected.push_back({100 + i, place, place == 0 ? 0 : (21 - place) * 100, 0});
  }
  EXPECT_EQ(RoundPlacings(8), expected);
}

TEST(ManualPlaces, FourteenTiedRowsAreTakenForATypingMistake) {
  MeetFixture fixture;
  OpenScoringMeet(fixture);
  UploadReply reply;
  for (int i = 1; i <= 21; ++i) reply = PageUpload(8, 100 + i, i <= 14 ? "5.00" : "4.00");
  EXPECT_EQ(reply.code, kReplyAsk);
  EXPECT_EQ(reply.text.find("<img src=\"error2.jpg\" />当前比赛项目不允许并列，但是系统检测到该比赛成绩并列的成绩太多"), 0u);
  EXPECT_NE(reply.text.find("CloseDiv9"), std::string::npos);
  EXPECT_EQ(reply.text.find("APImc"), std::string::npos);
}

}  // namespace

}  // namespace korva
