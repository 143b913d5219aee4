// The road of one score over HTTP: uploads, manual places and regrouping
// answer as the score-entry page and the result page expect.
#include <gtest/gtest.h>

#include <string>

#include "database/lookups.h"
#include "engine/score_text.h"
#include "tests/http/server_fixture.h"

namespace korva {

namespace {

class ScoreUploadServer : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    // The boys' 跳远 record of an earlier meet, 4.00, and round 9: the
    // 五项全能 part 跳远 of boys 1-6, which the boys' own 跳远 (round 2)
    // shares that record with.
    OpenScoringMeet(*meet_,
                    "INSERT INTO base.qrtb188 (qrtb190, qrtb191, qrtb192, qrtb193, qrtb196, qrtb208, qrtb209, qrtb210)"
                    " VALUES (0, '一年级', 1, '跳远', 4000, '米', '', 0);"
                    "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452,"
                    " qrtb453, qrtb454, qrtb455, qrtb456, qrtb457, qrtb458) VALUES"
                    " (9, 1104, 3, 0, 2, 3, 10, 6, 3, 902, 0, 0, 0, 0);"
                    "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb486, qrtb487, qrtb488,"
                    " qrtb489) SELECT 900 + qrtb484, 9, 1, qrtb483, qrtb484, 0, 0, 0, 0 FROM qrtb479 WHERE qrtb481 = 2;");
    admin_ = LoginAdmin();
  }
  std::string Upload(int round, int athlete, const std::string& text, int mode = 1, int status = 0) {
    HttpResponse reply = ServerTest::Upload(admin_, round, athlete, text, mode, status, record_);
    EXPECT_EQ(reply.status, 200);
    return reply.body;
  }
  int record_ = -65535;  // the standing record the page sends
};

TEST_F(ScoreUploadServer, UploadsAnswerTheirTwoDigitCodeAndText) {
  EXPECT_EQ(Upload(2, 1, "4.5"), "014.50");
  EXPECT_EQ(Upload(2, 1, "4.50"), "06");
  EXPECT_EQ(Get("/upcj.htmlx?Dstr=2=1=0=0=0=0=1=4.50", admin_).body, "00");
  // A state the page never sends is refused, nothing stored.
  for (int status : {-1, 2})
    EXPECT_EQ(Upload(2, 2, "4.40", 1, status),
              "02错误的成绩数据，请输入类以于“12.65”这样格式的运动员成绩。");
  // Nobody else may upload: the session-expired page, nothing stored.
  EXPECT_EQ(ServerTest::Upload({}, 2, 2, "4.40").body.substr(0, 1), "<");
  {
    DataReadGuard hold(DataLock);
    EXPECT_EQ(FindFirstLaneOfRound(2)[1].Result, kNoResult);
  }
  const char* rest[] = {"4.50", "4.20", "4.00", "3.90", "3.80"};
  std::string last;
  for (int athlete = 2; athlete <= 6; ++athlete) last = Upload(2, athlete, rest[athlete - 2]);
  ASSERT_EQ(last.substr(0, 2), "07");  // athletes 1 and 2 tie for first
  EXPECT_NE(last.find("APPtiJiao"), std::string::npos);

  EXPECT_EQ(Get("/ydhupdatestcj2016.html?str=2--65535--65535--65535-3-3-1-1-2-1-", admin_).body,
            "0名次不能重复，请为每位运动员指定不同的名次，或选择“强制允许并列”后再提交！");
  EXPECT_EQ(Get("/ydhupdatestcj2016.html?str=2--65535--65535--65535-3-3-1-1-2-2-", admin_).body,
            "1决赛已经完成，请查看或打印【成绩表】。");
  DataReadGuard hold(DataLock);
  ASSERT_EQ(Model().PrintQueue.size(), 1u);
  EXPECT_EQ(Model().PrintQueue[0].RoundId, 2);
}

TEST_F(ScoreUploadServer, ThePreliminarysLastResultSeedsItsFinalAndRegroupingReportsEachRound) {
  // Three of the girls' preliminary qualify.
  ASSERT_EQ(Get("/ajaxfun.html?Dstr=11%201201%201%200%200", admin_).body, "1-7");
  for (int i = 0; i < 4; ++i) Get("/ajaxfun.html?Dstr=11%201201%201%200%200", admin_);
  std::string last;
  for (int i = 0; i < 10; ++i) last = Upload(6, 101 + i, "12." + std::to_string(10 + i));
  EXPECT_EQ(last, "04比赛完成，已生成决赛安排，请查看或打印【预赛成绩表】和【决赛检录表】！");
  const std::string final_lanes = Rows("SELECT qrtb484, qrtb483 FROM qrtb479 WHERE qrtb481 = 7 ORDER BY qrtb483");
  EXPECT_EQ(final_lanes, "103|3\n101|4\n102|5");
  // One result in the combined event's part: its own round is not drawn
  // again either.
  Upload(9, 1, "3.50");
  HttpResponse page = Post("/ChongPaiBiSai.html", "str1=7-6-4-", admin_);
  EXPECT_NE(page.body.find("操作结果如下：<br /><p>一年级 女子  100米 决赛 已成功重新分组分道！现为：1组 共3人</p>\r\n"
                           "<p>一年级 女子  100米 预赛 已有比赛成绩，无法重新分组分道，请删除成绩后再试。</p>\r\n"
                           "<p>一年级 男子  五项全能 决赛 已有比赛成绩，无法重新分组分道，请删除成绩后再试。</p>"),
            std::string::npos)
      << GbkToUtf8(page.body);
  // The same qualifiers; the preliminary stays counted and on the board.
  EXPECT_EQ(Rows("SELECT qrtb484, qrtb483 FROM qrtb479 WHERE qrtb481 = 7 ORDER BY qrtb483"), final_lanes);
  EXPECT_GT(MeetInt("SELECT qrtb458 FROM qrtb444 WHERE qrtb445 = 6"), 0);
  EXPECT_NE(Get("/GetPbDate.html?CjNo=0&ClassId=0").body.find("100米 预赛"), std::string::npos);
  EXPECT_EQ(MeetInt("SELECT count(*) FROM qrtb479 WHERE qrtb481 IN (4, 9)"), 8);
  EXPECT_EQ(MeetText("SELECT qrtb485 FROM qrtb479 WHERE qrtb481 = 9 AND qrtb484 = 1"), "3500");
}

TEST_F(ScoreUploadServer, ACombinedEventPartKeepsTheRecordItsStandaloneEventSet) {
  record_ = 4000;
  // After each step: the meet's boys' 跳远 record, on the records page (cell
  // 3) and in the base file, "value|holder|class" ("" none, null not
  // looked at), and the uploaded lane's "flag|points" when given.
  struct Step {
    int round, athlete;
    const char* text;
    int mode;
    const char* record;
    const char* lane = nullptr;
  };
  const char* standalone = "4800|男1|一年级02班";
  const Step steps[] = {
      {2, 1, "4.80", 1, ""}, {2, 2, "4.50", 1, nullptr}, {2, 3, "4.40", 1, nullptr}, {2, 4, "4.30", 1, nullptr},
      {2, 5, "4.20", 1, nullptr}, {2, 6, "4.15", 1, standalone},
      // The part's 4.10 breaks the earlier record with its bonus, not this
      // meet's; nor do its recount and the standalone event's.
      {9, 1, "3.90", 1, standalone}, {9, 2, "4.10", 1, nullptr, "2|300"}, {9, 3, "3.80", 1, nullptr},
      {9, 4, "3.70", 1, nullptr}, {9, 5, "3.60", 1, nullptr}, {9, 6, "3.50", 1, standalone},
      {9, 0, "0", 3, standalone}, {2, 0, "0", 3, standalone},
      // A better part result breaks this meet's record too.
      {9, 3, "4.95", 2, "4950|男3|一年级01班", "2|1200"}, {2, 0, "0", 3, "4950|男3|一年级01班"},
      {9, 3, "3.75", 2, standalone}, {9, 2, "", 2, standalone},
      {2, 1, "3.95", 2, "4500|男2|一年级03班"}, {2, 2, "", 2, ""},
  };
  for (const Step& step : steps) {
    const std::string where = std::to_string(step.round) + "/" + std::to_string(step.athlete) + " " + step.text;
    EXPECT_NE(Upload(step.round, step.athlete, step.text, step.mode).substr(0, 2), "00") << where;
    if (step.lane) {
      EXPECT_EQ(Rows("SELECT qrtb489, qrtb488 FROM qrtb479 WHERE qrtb481 = " + std::to_string(step.round) +
                     " AND qrtb484 = " + std::to_string(step.athlete)),
                step.lane)
          << where;
    }
    if (!step.record) continue;
    const std::string stored = Rows("SELECT qrtb196, qrtb199, qrtb202 FROM base.qrtb188 WHERE qrtb209 <> ''");
    EXPECT_EQ(stored, step.record) << where << ": " << GbkToUtf8(stored);
    const std::string shown = FormatScoreText(stored.empty() ? 4000 : std::stoi(stored), "米");
    EXPECT_NE(Get("/ShowTopScore.html", admin_).body.find("id=\"OldScore3\" value=\"" + shown + "\""),
              std::string::npos)
        << where;
  }
}

}  // namespace

}  // namespace korva
