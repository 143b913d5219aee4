// The road of one score over HTTP: uploads, manual places and regrouping
// answer as the score-entry page and the result page expect.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/lookups.h"
#include "database/model.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/scoring_meet.h"

namespace korva {

namespace {

class ScoreUploadServer : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    OpenScoringMeet(*meet_);
    admin_ = LoginAdmin();
  }
  std::string Upload(int round, int athlete, const std::string& text, int mode = 1,
                     std::optional<SessionCookie> session = std::nullopt) {
    HttpResponse reply = Get("/upcj.html?Dstr=" + std::to_string(round) + "=" + std::to_string(athlete) +
                                 "=0=-65535=-65535=-65535=" + std::to_string(mode) + "=" + text,
                             session.value_or(admin_));
    EXPECT_EQ(reply.status, 200);
    return reply.body;
  }
  SessionCookie admin_;
};

TEST_F(ScoreUploadServer, UploadsAnswerTheirTwoDigitCodeAndText) {
  EXPECT_EQ(Upload(2, 1, "4.5"), "014.50");
  EXPECT_EQ(Upload(2, 1, "4.50"), "06");
  EXPECT_EQ(Get("/upcj.htmlx?Dstr=2=1=0=0=0=0=1=4.50", admin_).body, "00");
  // Nobody else may upload: the session-expired page, nothing stored.
  EXPECT_EQ(Upload(2, 2, "4.40", 1, SessionCookie{}).substr(0, 1), "<");
  {
    DataReadGuard hold(DataLock);
    EXPECT_EQ(FindFirstLaneOfRound(2)[1].Result, kNoResult);
  }
  const char* rest[] = {"4.50", "4.20", "4.00", "3.90", "3.80"};
  std::string last;
  for (int athlete = 2; athlete <= 6; ++athlete) last = Upload(2, athlete, rest[athlete - 2]);
  ASSERT_EQ(last.substr(0, 2), "07");  // athletes 1 and 2 tie for first
  EXPECT_NE(last.find("APPtiJiao"), std::string::npos);

  EXPECT_EQ(Get("/ydhupdatestcj2016.html?str=2--65535--65535--65535-3-3-1-1-2-1-", admin_).body, "0");
  EXPECT_EQ(Get("/ydhupdatestcj2016.html?str=2--65535--65535--65535-3-3-1-1-2-2-", admin_).body,
            "1决赛已经完成，请查看或打印【成绩表】。");
  DataReadGuard hold(DataLock);
  ASSERT_EQ(Model().PrintQueue.size(), 1u);
  EXPECT_EQ(Model().PrintQueue[0].RoundId, 2);
}

TEST_F(ScoreUploadServer, ThePreliminarysLastResultSeedsItsFinalAndRegroupingReportsEachRound) {
  std::string last;
  for (int i = 0; i < 10; ++i) last = Upload(6, 101 + i, "12." + std::to_string(10 + i));
  EXPECT_EQ(last, "04比赛完成，已生成决赛安排，请查看或打印【预赛成绩表】和【决赛检录表】！");
  HttpResponse page = Post("/ChongPaiBiSai.html", "str1=7-6-", admin_);
  EXPECT_NE(page.body.find("操作结果如下：<br /><p>一年级 女子  100米 决赛 已成功重新分组分道！现为：1组 共8人</p>\r\n"
                           "<p>一年级 女子  100米 预赛 已有比赛成绩，无法重新分组分道，请删除成绩后再试。</p>"),
            std::string::npos)
      << GbkToUtf8(page.body);
}

}  // namespace

}  // namespace korva
