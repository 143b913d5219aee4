// The print centre over HTTP: the sheets in the print frame with their
// print counters, and the certificate layout of each account through
// "/MUpJzDt.html" and "/view.css".
#include <string>
#include <thread>
#include <vector>

#include "database/lookups.h"
#include "database/store_rounds.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/print_meet.h"

namespace korva {

namespace {

class PrintCentreServer : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    OpenPrintMeet(*meet_);
    printer_ = SignInStaff("printer", "print123");
  }
  // The round's print counters: certificates, check-in sheets, result sheets,
  // as stored in the file once the counts are written (as the closing of
  // the meet writes them) and as held in RoundList (which must agree).
  std::string Counters(int round_id) {
    DataGuard hold(DataLock);
    FlushRoundCounters();
    const RoundNode& round = *FindRoundById(round_id);
    const std::string held = std::to_string(round.CertificatePrints) + "-" + std::to_string(round.CheckInPrints) +
                             "-" + std::to_string(round.ResultPrints);
    EXPECT_EQ(MeetCounters(round_id), held);
    return held;
  }
  std::string MeetCounters(int round_id) {
    Statement st(MeetConnection(), "SELECT qrtb455 || '-' || qrtb456 || '-' || qrtb457 FROM qrtb444 WHERE qrtb445 = ?");
    st.Bind(round_id);
    return st.Next() ? st.ReadTextField(0) : "";
  }
  // The print-queue entry's counters: result sheets, certificates.
  std::string QueueCounters(int round_id) {
    DataReadGuard hold(DataLock);
    for (const ResultPrintItem& item : Model().PrintQueue)
      if (item.RoundId == round_id) return std::to_string(item.ResultPrints) + "-" + std::to_string(item.CertificatePrints);
    return "none";
  }
  SessionCookie printer_;
};

TEST_F(PrintCentreServer, EachSheetCountsOncePerPrintOnTheRoundAndFromTheListOnItsEntry) {
  std::string sheet = Get("/ViewTable.html?str=3-2-0-1", printer_).body;
  EXPECT_NE(sheet.find("竞  赛  成  绩  表"), std::string::npos);
  EXPECT_NE(sheet.find("<script type=\"text/javascript\">\r\n\tparent.printhtml(0);\r\n</script>\r\n"), std::string::npos);
  EXPECT_EQ(Counters(2), "0-0-1");
  EXPECT_EQ(QueueCounters(2), "1-0");
  EXPECT_NE(Get("/Print2.html", printer_).body.find("<div id=\"PrNm2\">已打印</div>"), std::string::npos);
  // From the score-entry page (flag 0): the round only.
  Get("/ViewTable.html?str=3-2-0-0", printer_);
  EXPECT_EQ(Counters(2), "0-0-2");
  EXPECT_EQ(QueueCounters(2), "1-0");

  sheet = Get("/ViewTable.html?str=4-2-0-1", printer_).body;
  EXPECT_EQ(CountOf(sheet, "class=\"zj16kdiv\""), 6);
  EXPECT_EQ(Counters(2), "1-0-2");
  EXPECT_EQ(QueueCounters(2), "1-1");

  sheet = Get("/ViewTable.html?str=1-2-0-1", printer_).body;
  EXPECT_NE(sheet.find("径 赛 检 录 表"), std::string::npos);
  Get("/ViewTable.html?str=1-2-0-1", printer_);
  EXPECT_EQ(Counters(2), "1-2-2");
  // The other round's sheet: a preliminary's final, counted on the final.
  sheet = Get("/ViewTable.html?str=2-1-0-1", printer_).body;
  EXPECT_NE(sheet.find("100米 决赛 第一组(共一组)"), std::string::npos);
  EXPECT_EQ(Counters(2), "1-3-2");
  EXPECT_EQ(Counters(1), "0-0-0");
  // The half-day session's sheets count nothing.
  sheet = Get("/printzx.html?str=1-2-3", printer_).body;
  EXPECT_NE(sheet.find("100米 决赛"), std::string::npos);
  EXPECT_NE(sheet.find("parent.printhtml(0);"), std::string::npos);
  EXPECT_EQ(Counters(2), "1-3-2");
  EXPECT_EQ(Counters(6), "0-0-0");
  // A count the file refuses waits for the next write.
  FailOn("UPDATE", "qrtb444", "no_update");
  EXPECT_NE(Get("/ViewTable.html?str=3-2-0-1", printer_).body.find("竞  赛  成  绩  表"), std::string::npos);
  {
    DataGuard hold(DataLock);
    FlushRoundCounters();
    EXPECT_EQ(MeetCounters(2), "1-3-2");
    DropTrigger("no_update");
  }
  EXPECT_EQ(Counters(2), "1-3-3");
}

// Views count side by side under the shared lock; a view once the counts
// wait a second writes them all, and a reopened meet has every one.
TEST_F(PrintCentreServer, ViewsSideBySideLoseNoCountAndReachTheFile) {
  std::vector<std::thread> viewers;
  for (int t = 0; t < 8; ++t)
    viewers.emplace_back([&] {
      for (int v = 0; v < 5; ++v) {
        Get("/ViewTable.html?str=1-2-0-0", printer_);
        Get("/ViewTable.html?str=3-2-0-1", printer_);
      }
    });
  for (std::thread& viewer : viewers) viewer.join();
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  Get("/ViewTable.html?str=1-2-0-0", printer_);
  {
    DataReadGuard hold(DataLock);
    const std::string in_file = MeetCounters(2);  // "0-sheets-results", this view's count maybe not yet
    EXPECT_TRUE(in_file == "0-40-40" || in_file == "0-41-40") << in_file;
  }
  ASSERT_EQ(meet_->Open(), 0);
  EXPECT_EQ(Counters(2), "0-41-40");
  EXPECT_EQ(QueueCounters(2), "40-0");
  // A sheet is kept between views only while nothing changes the meet.
  const std::string sheet = Get("/ViewTable.html?str=1-2-0-0", printer_).body;
  EXPECT_EQ(Get("/ViewTable.html?str=1-2-0-0", printer_).body, sheet);
  {
    DataGuard hold(DataLock);
    for (AthleteNode& athlete : Model().AthleteList) athlete.Name = "改了名";
  }
  EXPECT_NE(Get("/ViewTable.html?str=1-2-0-0", printer_).body.find("改了名"), std::string::npos);
}

TEST_F(PrintCentreServer, ARoundNotCountedYetPrintsNoDataAndStillCounts) {
  std::string sheet = Get("/ViewTable.html?str=3-4-0-0", printer_).body;
  EXPECT_NE(sheet.find("<body>\n无数据！<script"), std::string::npos);
  sheet = Get("/ViewTable.html?str=4-4-0-0", printer_).body;
  EXPECT_EQ(sheet.find("zj16kdiv"), std::string::npos);
  EXPECT_EQ(Counters(4), "1-0-1");
  // Its check-in sheet is there all the same.
  EXPECT_NE(Get("/ViewTable.html?str=1-4-0-0", printer_).body.find("田 赛 检 录 表"), std::string::npos);
}

TEST_F(PrintCentreServer, BadSheetRequestsAreAnsweredEmpty) {
  for (const char* bad : {"/ViewTable.html?str=0-2-0-1", "/ViewTable.html?str=7-2-0-1", "/ViewTable.html?str=3-2-0",
                          "/ViewTable.html?str=3-99-0-1", "/ViewTable.html", "/ViewTable.html?str=2-3-0-1",
                          "/ViewTable.html?str=-1-2-0-0", "/printzx.html?str=1-1", "/printzx.html?s=",
                          "/printzx.html?str=x", "/GetGsbStr.html?str=1-2", "/GetGsbStr.html?x=1-2-1",
                          "/GetGsbStr.html?str=a-1-1", "/GetGsbStr.html?str=99999999999-1-1"}) {
    HttpResponse reply = Get(bad, printer_);
    EXPECT_EQ(reply.status, 200) << bad;
    EXPECT_EQ(reply.body, Has(bad, "GetGsbStr") ? "用户提交的请求有错误！" : "") << bad;
  }
  EXPECT_EQ(Counters(3), "0-0-0");
}

TEST_F(PrintCentreServer, EachAccountMovesItsOwnCertificateLinesAndGetsThemInItsStyleSheet) {
  const struct {
    const char* field;
    const char* reply;
  } saves[] = {{"2-1-18", "0"}, {"3-1-250", "0"}, {"3-2-200", "0"}, {"3-2-998", "0"}, {"3-1-999", "1"},
               {"11-1-5", "1"}, {"0-1-5", "1"}, {"3-3-5", "1"},     {"3-1", "1"},     {"3-1-0", "1"},
               {"a-1-5", "1"}};
  auto style_link = [&](SessionCookie session) {
    const std::string frame = Get("/ViewTable.html?str=6-0-0-0", session).body;
    const std::size_t at = frame.find("view.css?U=");
    return frame.substr(at, frame.find('"', at) - at);
  };
  const std::string before = style_link(printer_);
  for (const auto& s : saves)
    EXPECT_EQ(Get(std::string("/MUpJzDt.html?zjdt=") + s.field, printer_).body, s.reply) << s.field;
  // The print frame names the changed sheet anew, so no browser prints with
  // the one it kept.
  EXPECT_NE(style_link(printer_), before);
  EXPECT_EQ(style_link(printer_), style_link(printer_));
  const std::string mine = Get("/view.css?U=printer", printer_).body;
  EXPECT_NE(mine.find(".jzline2 { overflow: visible; height: 15px; width: 15px; font-family: \"微软雅黑\",\"黑体\"; "
                      "font-size: 29px; margin-top: 18px; margin-left:133px; }"),
            std::string::npos);
  EXPECT_NE(mine.find("font-size: 29px; margin-top:250px; margin-left:998px; }"), std::string::npos);
  // Another print administrator, and a browser signed in as nobody, get
  // the defaults.
  const std::string other = Get("/view.css", SignInStaff("printer2", "print123")).body;
  EXPECT_NE(other.find("margin-top: 33px; margin-left:133px; }"), std::string::npos);
  EXPECT_EQ(other.find("margin-top:250px"), std::string::npos);
  EXPECT_EQ(Get("/view.css").body, other);
  // Only staff may move lines.
  EXPECT_EQ(Get("/MUpJzDt.html?zjdt=2-1-40").body.find("0"), std::string::npos);
}

// The layout preview (5) and the test certificate (6): a school that has not
// given its name sees a sample school's lines, never the default name; a
// school that has sees its own, as text.
TEST_F(PrintCentreServer, SampleCertificatesShowTheSchoolOnceItIsNamed) {
  auto pads = [](int n) {
    std::string out;
    while (n-- > 0) out += "&nbsp;";
    return out;
  };
  const std::string sample_line = "<nobr>在" + pads(8) + "育才小学 春季田径运动会" + pads(8) + "中</nobr>";
  const struct {
    const char* organiser;
    const char* sheet;
    std::string meet_line, organiser_line;
  } rows[] = {
      {"QV网络", "5", sample_line, "<nobr>育才小学</nobr>"},
      {"QV网络", "6", sample_line, "<nobr>育才小学</nobr>"},
      {"实验<小学>", "5", "<nobr>在" + pads(9) + "实验&lt;小学&gt; 测试运动会" + pads(9) + "中</nobr>",
       "<nobr>实验&lt;小学&gt;</nobr>"},
      {"实验<小学>", "6", "<nobr>在 实验&lt;小学&gt;测试运动会 中</nobr>", "<nobr>实验&lt;小学&gt;</nobr>"},
  };
  for (const auto& row : rows) {
    {
      DataGuard hold(DataLock);
      Model().OrganiserName = row.organiser;
    }
    const std::string page = Get(std::string("/ViewTable.html?str=") + row.sheet + "-0-0-0", printer_).body;
    EXPECT_TRUE(Has(page, row.meet_line)) << row.organiser << " " << row.sheet;
    EXPECT_TRUE(Has(page, row.organiser_line)) << row.organiser << " " << row.sheet;
    EXPECT_FALSE(Has(page, "<nobr>QV网络")) << row.organiser << " " << row.sheet;
  }
  DataGuard hold(DataLock);
  Model().OrganiserName = kDefaultOrganiserName;
}

}  // namespace

}  // namespace korva
