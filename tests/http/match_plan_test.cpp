// The schedule page "/MatchPlan.html" over loopback: how the dispatcher
// answers its form and a page that can't be built.
#include <gtest/gtest.h>

#include <string>

#include "database/data_lock.h"
#include "database/model.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/schedule_meet.h"
#include "tests/testing/text_count.h"

namespace korva {

namespace {


class MatchPlanHttpTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    meet_->OpenNewMeet(ScheduleMeetSql());
    admin_ = LoginAdmin();
  }
  SessionCookie admin_;
};

TEST_F(MatchPlanHttpTest, ThePostReturnsToTheSameSessionAndSelection) {
  HttpResponse placed = Post("/MatchPlan.html", "Isday=2&IsYard=2&CaoZuo=1&dablist=5&dablist=6", admin_);
  EXPECT_EQ(placed.status, 200);
  EXPECT_TRUE(Has(placed.body, "window.location.href='/MatchPlan.html?DayID=2&MatchType=2&YapSel=-5-6-';"))
      << placed.body;
}

TEST_F(MatchPlanHttpTest, RefusedPostsAnswerTheResultPage) {
  for (const char* body : {"Isday=1&IsYard=1&CaoZuo=2&yablist=77", "IsYard=1&CaoZuo=1&dablist=1"}) {
    HttpResponse refused = Post("/MatchPlan.html", body, admin_);
    EXPECT_EQ(refused.status, 200);
    EXPECT_TRUE(Has(refused.body, "Sorry:操作失败，原因是：<br>网页提交的数据有错误！")) << refused.body;
    EXPECT_TRUE(Has(refused.body, "<a href=\"MatchPlan.html\">点此继续设置日程安排！</a>"));
  }
}

TEST_F(MatchPlanHttpTest, InconsistentMeetAnswersTheResultPageAndNoRequestText) {
  {
    DataGuard hold(DataLock);
    std::erase_if(Model().VenueList, [](const VenueNode& v) { return v.Id == 4; });
  }
  HttpResponse reply = Get("/MatchPlan.html?DayID=1&MatchType=1&YapSel=-<script>alert(1)</script>-", admin_);
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.head.rfind("HTTP/1.1 200 OK", 0), 0u);
  EXPECT_TRUE(Has(reply.body, "数据有错误，建议管理员重新建立运动会！")) << reply.body;
  EXPECT_FALSE(Has(reply.head + reply.body, "YapSel"));
  EXPECT_FALSE(Has(reply.body, "<script>alert"));
}

}  // namespace

}  // namespace korva
