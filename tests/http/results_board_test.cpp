// The public results board and its feeds, and the reports of the reports
// menu, over HTTP: who may ask, what comes, and a round counted by a clerk's
// upload in the feed at the next poll.
#include <gtest/gtest.h>

#include <string>

#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/open_meet.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/report_meet.h"

namespace korva {

namespace {

class ResultsBoardServer : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    // A second grade with a class but no competition group yet.
    OpenScoringMeet(*meet_, std::string(kReportMeetSql) +
                                "INSERT INTO qrtb219 (qrtb220, qrtb221, qrtb222, qrtb223, qrtb225) VALUES "
                                "(2, '二年级', '二年级', '班', 1);\n"
                                "INSERT INTO qrtb234 (qrtb235, qrtb236, qrtb237, qrtb238, qrtb239, qrtb240) VALUES "
                                "(201, 2, 1, '二年级01班', '', '');\n");
    ASSERT_TRUE(meet_->BaseSql("insert into qrtb7 (qrtb8, qrtb9, qrtb10, qrtb14) values (40, 'printer', 'secret6', 6)"));
    admin_ = LoginAdmin();
  }
  // Uploads as the score-entry page does, from index begin to end.
  void Score(std::size_t begin, std::size_t end) {
    std::vector<ReportUpload> uploads = ReportMeetUploads();
    for (std::size_t i = begin; i < end && i < uploads.size(); ++i) {
      const ReportUpload& u = uploads[i];
      HttpResponse reply = Upload(admin_, u.Round, u.Athlete, u.Text, 1, u.Status, u.Record);
      ASSERT_EQ(reply.status, 200);
      ASSERT_NE(reply.body.substr(0, 2), "00") << i;
    }
  }
  static std::string NowId(int number) {
    return "<input name=\"NowID\" id=\"NowID\" type=\"hidden\" value=\"" + std::to_string(number) + "\">\r\n";
  }
};

TEST_F(ResultsBoardServer, ResultFeedHasANewTableAtThePollAfterItsRoundIsCounted) {
  // The feeds make no web session.
  HttpResponse start = Get("/GetPbDate.html?CjNo=0&ClassId=0");
  EXPECT_EQ(start.body, "Start");
  EXPECT_EQ(start.Header("Set-Cookie"), "");
  // A board that has seen more than the queue holds reloads.
  EXPECT_EQ(Get("/GetPbDate.html?CjNo=4&ClassId=0").body, "Refresh");

  Score(0, 10);  // the boys' 100米, counted by its tenth result
  const std::string first = Get("/GetPbDate.html?CjNo=0&ClassId=0").body;
  EXPECT_TRUE(first.starts_with("<input name=\"NowID\" id=\"NowID\" type=\"hidden\" value=\"1\">\r\n"
                                "<div class=\"GSdiv\">"))
      << GbkToUtf8(first);
  EXPECT_NE(first.find("一年级 男子  100米 决赛"), std::string::npos);
  EXPECT_EQ(Get("/GetPbDate.html?CjNo=1&ClassId=0").body, "");
  EXPECT_EQ(Get("/GetPbDate.html?CjNo=0&ClassId=2").body, "Start");

  // Counted again, the only table in the queue comes back under a new
  // number, and a board that showed the old one reloads.
  EXPECT_EQ(Get("/upcj.html?Dstr=1=0=0=-65535=-65535=-65535=3=0", admin_).body.substr(0, 2), "04");
  EXPECT_EQ(Get("/GetPbDate.html?CjNo=1&ClassId=0").body, "Refresh");
  EXPECT_TRUE(Get("/GetPbDate.html?CjNo=0&ClassId=0").body.starts_with(NowId(2)));

  Score(10, 16);  // the boys' 跳远
  const std::string next = Get("/GetPbDate.html?CjNo=2&ClassId=1").body;
  EXPECT_TRUE(next.starts_with(NowId(3)));
  EXPECT_NE(next.find("跳远 决赛"), std::string::npos);
  EXPECT_EQ(next.find("100米"), std::string::npos);

  // A changed result of the counted 100米 takes its table out and counts it
  // again: a board that has seen a number reloads, a fresh one does not.
  HttpResponse changed = Get("/upcj.html?Dstr=1=10=0=1215=-65535=-65535=2=12.95", admin_);
  EXPECT_EQ(changed.body.substr(0, 2), "04") << GbkToUtf8(changed.body);
  EXPECT_EQ(Get("/GetPbDate.html?CjNo=3&ClassId=0").body, "Refresh");
  EXPECT_TRUE(Get("/GetPbDate.html?CjNo=0&ClassId=0").body.starts_with(NowId(5)));
  EXPECT_EQ(Get("/GetPbDate.html?CjNo=5&ClassId=0").body, "");

  // The meet loaded again, as at a restart, numbers its two tables down
  // from the highest number given out, which the file keeps: a board that
  // has seen it sees the next round counted, others reload.
  {
    DataGuard hold(DataLock);
    ASSERT_EQ(OpenCurrentMeet(0), 0);
  }
  for (int seen : {6, 3}) EXPECT_EQ(Get("/GetPbDate.html?CjNo=" + std::to_string(seen) + "&ClassId=0").body, "Refresh");
  EXPECT_EQ(Get("/GetPbDate.html?CjNo=5&ClassId=0").body, "");
  Score(16, 24);  // the boys' 200米
  EXPECT_TRUE(Get("/GetPbDate.html?CjNo=5&ClassId=0").body.starts_with(NowId(6)));
}

TEST_F(ResultsBoardServer, PointsFeedAndReportsOfAScoredMeet) {
  // Before any points the ranks are hidden; the board polled then is not
  // the one served after the counting.
  EXPECT_NE(Get("/GetPbDate2.html?GradeId=0&ClassId=0").body.find("display:none"), std::string::npos);
  Score(0, ReportMeetUploads().size());
  HttpResponse school = Get("/GetPbDate2.html?GradeId=0&ClassId=0");
  EXPECT_EQ(school.Header("Set-Cookie"), "");
  EXPECT_NE(school.body.find("一年级03班</a></td><td>140分</td><td><span>第1名</span>"), std::string::npos)
      << GbkToUtf8(school.body);
  EXPECT_NE(Get("/GetPbDate2.html?GradeId=1&ClassId=0").body.find("风&nbsp;云&nbsp;榜"), std::string::npos);
  // The reports menu is every staff role's, and so are its reports.
  for (SessionCookie who : {admin_, SignInStaff("printer", "secret6")})
    EXPECT_NE(Get("/getgnstr.html?Dstr=90-0-0-0-0", who).body.find("一年级03班</td><td>"), std::string::npos);
  EXPECT_EQ(Get("/getgnstr.html?Dstr=90-0-0-0-0").body.find("总 分 表"), std::string::npos);
}

}  // namespace

}  // namespace korva
