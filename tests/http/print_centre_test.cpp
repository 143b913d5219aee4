// The print centre over HTTP: its tab pages and lists, the sheets in the
// print frame with their print counters, and the certificate layout of each
// account through "/MUpJzDt.html" and "/view.css".
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "database/store_rounds.h"
#include "database/model.h"
#include "database/sqlite_db.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/print_meet.h"
#include "tests/testing/text_count.h"

namespace korva {

namespace {

// Twelve more counted direct finals (rounds 20-31 of 1500米 boys, one lane
// each), newer than every round of the meet.
std::string TwelveMoreFinals() {
  std::string sql;
  for (int r = 20; r <= 31; ++r) {
    const std::string id = std::to_string(r);
    sql += "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453,"
           " qrtb454, qrtb455, qrtb456, qrtb457, qrtb458) VALUES (" + id + ", 1104, 3, 0, 4, " + id +
           ", 10, 1, 8, 0, 0, 0, 0, " + std::to_string(5220800 + r) + ");"
           "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486, qrtb487, qrtb488,"
           " qrtb489) VALUES (" + std::to_string(4000 + r) + ", " + id + ", 1, 1, 1, 30000, 0, 1, 900, 0);";
  }
  return sql;
}

class PrintCentreServer : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    OpenPrintMeet(*meet_, extra_sql_);
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
  std::string extra_sql_;
  SessionCookie printer_;
};

class PagedPrintCentreServer : public PrintCentreServer {
 protected:
  void SetUp() override {
    extra_sql_ = TwelveMoreFinals();
    PrintCentreServer::SetUp();
  }
};

TEST_F(PrintCentreServer, APrintAdministratorsHomeIsTheCertificateListInItsOwnFrame) {
  HttpResponse home = Get("/Admin.html", printer_);
  EXPECT_EQ(home.status, 200);
  EXPECT_NE(home.body.find("打印管理员：printer"), std::string::npos);
  EXPECT_NE(home.body.find("<div class=\"TabDivHui\"><a href=\"Print3.html\">奖状打印</a></div>"), std::string::npos);
  EXPECT_NE(home.body.find("name=\"QvPtFmOne\""), std::string::npos);
  for (const char* page : {"/Admin.html", "/Print1.html", "/Print2.html", "/Print3.html", "/Print4.html", "/Print5.html"})
    EXPECT_EQ(Get(page, printer_).body.find("<%="), std::string::npos) << page;
  // The administrator gets the same pages in the administration frame.
  const SessionCookie admin = LoginAdmin();
  const std::string print3 = Get("/Print3.html", admin).body;
  EXPECT_NE(print3.find("<a href=\"Adft.html\">"), std::string::npos);
  EXPECT_NE(print3.find("可打印奖状的比赛"), std::string::npos);
  // Nobody else.
  EXPECT_EQ(Get("/Print2.html").body.find("成绩表打印"), std::string::npos);
}

TEST_F(PrintCentreServer, CheckInTabHasFourButtonsForEveryHalfDaySession) {
  const std::string page = Get("/Print1.html", printer_).body;
  EXPECT_NE(page.find("<tr align=\"center\"><td>3</td><td>第2天上午</td><td><input name=\"sqptan\" type=\"button\" "
                      "value=\"打印\" title=\"打印这一天上午径赛检录表(预赛与直接决赛的比赛)\" onClick=\"sqprint(3,1);\"></td>"),
            std::string::npos);
  EXPECT_NE(page.find("title=\"打印这一天下午田赛(预赛后才生成决赛的比赛)\" onClick=\"sqprint(4,4);\""), std::string::npos);
  EXPECT_EQ(CountOf(page, "name=\"sqptan\""), 16);
  EXPECT_EQ(page.find("alert('当前浏览器版本太低"), std::string::npos);
  std::string old_browser = RequestText("GET", "/Print1.html", printer_);
  old_browser.replace(old_browser.find("Chrome/120.0"), 12, "MSIE 8.0");
  EXPECT_NE(Ask(old_browser).body.find("alert('当前浏览器版本太低，打印时文字分页排版会错乱"), std::string::npos);
}

TEST_F(PrintCentreServer, ResultAndCertificateListsShowTheQueueNewestFirst) {
  const std::string results = Get("/Print2.html", printer_).body;
  // Seven counted rounds; round 8 was counted last.
  EXPECT_EQ(CountOf(results, "value=\"打印【成绩表】\""), 7);
  EXPECT_NE(results.find("<tr align=\"center\"><td>7</td><td>一年级 女子  跳远 决赛</td><td>5-21 10:00</td><td>"
                         "<input name=\"au3\" type=\"button\" id=\"au3\" onClick=\"cjan2(3,8);\" value=\"打印【成绩表】\">"
                         "</td><td><div id=\"PrNm8\">未打</div></td></tr>\r\n"),
            std::string::npos);
  EXPECT_NE(results.find("<td>1</td><td>一年级 男子  100米 预赛</td><td>5-20 9:05</td>"), std::string::npos);
  EXPECT_NE(results.find("<input type=\"button\" id=\"a3\" value=\"后一页\" onClick=\"fanyian(2,1);\" disabled>"),
            std::string::npos);
  EXPECT_NE(results.find("<audio src=\"Notify.mp3\" id=\"audio\" autoplay=\"autoplay\">"), std::string::npos);
  // Certificates: finals and direct finals only.
  const std::string certificates = Get("/Print3.html", printer_).body;
  EXPECT_EQ(CountOf(certificates, "value=\"打印【奖状】\""), 6);
  EXPECT_EQ(certificates.find("预赛"), std::string::npos);
  EXPECT_NE(certificates.find("onClick=\"cjan2(4,2);\" value=\"打印【奖状】\"></td><td><div id=\"PrNm2\">未打</div></td></tr><tr"),
            std::string::npos);
}

TEST_F(PrintCentreServer, EmptyListsSayWhatToDo) {
  {
    DataGuard hold(DataLock);
    Model().PrintQueue.clear();
  }
  EXPECT_NE(Get("/Print2.html", printer_).body.find("<td>无成绩表可打印，请录入比赛成绩。</td>"), std::string::npos);
  const std::string certificates = Get("/Print3.html", printer_).body;
  EXPECT_NE(certificates.find("<td>无奖状可打印，请录入比赛成绩。</td>"), std::string::npos);
  EXPECT_EQ(certificates.find("<audio"), std::string::npos);
  EXPECT_EQ(Get("/GetGsbStr.html?str=1-2-1", printer_).body, "当前无比赛可以打印！(1)");
}

TEST_F(PagedPrintCentreServer, TheListsPageByTwelveAndTheCertificateListSkipsPreliminaries) {
  const std::string first = Get("/Print2.html", printer_).body;
  EXPECT_EQ(CountOf(first, "value=\"打印【成绩表】\""), 12);
  EXPECT_NE(first.find("id=\"a3\" value=\"后一页\" onClick=\"fanyian(2,1);\">"), std::string::npos);
  const std::string second = Get("/GetGsbStr.html?str=1-2-1", printer_).body;
  EXPECT_EQ(second.find("<div class=\"FanYe\" id=\"FanYe\">"), 0u);
  EXPECT_EQ(CountOf(second, "value=\"打印【成绩表】\""), 7);  // the 13th to the 19th
  EXPECT_NE(second.find("<input type=\"hidden\" id=\"fygsnu\" value=\"2\">"), std::string::npos);
  EXPECT_NE(second.find("id=\"a3\" value=\"后一页\" onClick=\"fanyian(2,1);\" disabled>"), std::string::npos);
  EXPECT_NE(second.find("<td>1</td><td>一年级 男子  100米 预赛</td>"), std::string::npos);
  // Past the last page: the last page; before the first: the first.
  EXPECT_EQ(Get("/GetGsbStr.html?str=9-2-1", printer_).body, second);
  const std::string back = Get("/GetGsbStr.html?str=1-1-1", printer_).body;
  EXPECT_NE(back.find("<input type=\"button\" id=\"a1\" value=\"第一页\" onClick=\"location.reload();\" disabled>"),
            std::string::npos);
  EXPECT_NE(back.find("id=\"a2\" value=\"前一页\" onClick=\"fanyian(1,1);\" disabled>"), std::string::npos);
  EXPECT_EQ(CountOf(back, "value=\"打印【成绩表】\""), 12);
  // Eighteen finals: twelve, then six, whatever preliminaries lie between.
  const std::string finals = Get("/GetGsbStr.html?str=1-2-2", printer_).body;
  EXPECT_EQ(CountOf(finals, "value=\"打印【奖状】\""), 6);
  EXPECT_EQ(finals.find("预赛"), std::string::npos);
  for (const char* bad : {"/GetGsbStr.html?str=1-2", "/GetGsbStr.html?x=1-2-1", "/GetGsbStr.html?str=a-1-1",
                          "/GetGsbStr.html?str=99999999999-1-1"})
    EXPECT_EQ(Get(bad, printer_).body, "用户提交的请求有错误！") << bad;
}

TEST_F(PrintCentreServer, EachSheetCountsOncePerPrintOnTheRoundAndFromTheListOnItsEntry) {
  std::string sheet = Get("/ViewTable.html?str=3-2-0-1", printer_).body;
  EXPECT_NE(sheet.find("竞  赛  成  绩  表"), std::string::npos);
  EXPECT_NE(sheet.find("<link href=\"view.css?U=printer&amp;L="), std::string::npos);
  EXPECT_NE(sheet.find("\" rel=\"stylesheet\" type=\"text/css\" media=\"print\">"), std::string::npos);
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
  {
    DataGuard hold(DataLock);
    MeetConnection().ExecScript(
        "CREATE TEMP TRIGGER no_update BEFORE UPDATE ON qrtb444 BEGIN SELECT RAISE(ABORT, 'x'); END;");
  }
  EXPECT_NE(Get("/ViewTable.html?str=3-2-0-1", printer_).body.find("竞  赛  成  绩  表"), std::string::npos);
  {
    DataGuard hold(DataLock);
    FlushRoundCounters();
    EXPECT_EQ(MeetCounters(2), "1-3-2");
    MeetConnection().ExecScript("DROP TRIGGER no_update;");
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

TEST_F(PrintCentreServer, ColumnsBeyondATracksLanesInUseNameLanesOfTheirOwn) {
  {
    DataGuard hold(DataLock);
    FindEventById(906)->ChangDi = 1;  // 400米 on 田径场, whose eight lanes in use are 2-9
  }
  const std::string sheet = Get("/ViewTable.html?str=1-9-0-0", printer_).body;
  for (const char* lane : {"第二道", "第九道", "第十道", "第11道", "第17道"}) EXPECT_EQ(CountOf(sheet, lane), 1) << lane;
}

TEST_F(PrintCentreServer, BadSheetRequestsAreAnsweredEmpty) {
  for (const char* bad : {"/ViewTable.html?str=0-2-0-1", "/ViewTable.html?str=7-2-0-1", "/ViewTable.html?str=3-2-0",
                          "/ViewTable.html?str=3-99-0-1", "/ViewTable.html", "/ViewTable.html?str=2-3-0-1",
                          "/ViewTable.html?str=-1-2-0-0", "/printzx.html?str=1-1", "/printzx.html?s=",
                          "/printzx.html?str=x"}) {
    HttpResponse reply = Get(bad, printer_);
    EXPECT_EQ(reply.status, 200) << bad;
    EXPECT_EQ(reply.body, "") << bad;
  }
  EXPECT_EQ(Counters(3), "0-0-0");
}

TEST_F(PrintCentreServer, ASessionWithoutRoundsOfTheKindAlertsAndSoDoesAMeetNotDrawn) {
  std::string frame = Get("/printzx.html?str=1-4-2", printer_).body;
  EXPECT_NE(frame.find("<tr><td>无数据！</td></tr><script type=\"text/javascript\">\r\n    alert(\"无数据可以打印\");\r\n"
                       "\tparent.tipqingchu();\r\n\t</script>\r\n"),
            std::string::npos);
  // Another first number or kind: an empty frame that prints.
  frame = Get("/printzx.html?str=2-1-1", printer_).body;
  EXPECT_NE(frame.find("<body>\n<script type=\"text/javascript\">\r\n\tparent.printhtml(0);"), std::string::npos);
  // A round that nobody entered, first of its half-day: the others print.
  {
    DataGuard hold(DataLock);
    ASSERT_TRUE(MeetConnection().ExecScript(
        "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450) VALUES (40, 1104, 3, 0, 1, 0);"));
    ASSERT_EQ(LoadRounds(), 0);
  }
  frame = Get("/printzx.html?str=1-1-1", printer_).body;
  EXPECT_NE(frame.find("100米 预赛 第一组"), std::string::npos) << frame;
  {
    DataGuard hold(DataLock);
    Model().LaneList.clear();
  }
  frame = Get("/printzx.html?str=1-1-1", printer_).body;
  EXPECT_NE(frame.find("alert(\"无数据可以打印，请先至“秩序册管理”中生成秩序册！\");"), std::string::npos);
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

TEST_F(PrintCentreServer, TheLayoutPreviewShowsThePrintStyleSheetOnScreenAndTheTestCertificatePrints) {
  const std::string layout = Get("/Print5.html", printer_).body;
  EXPECT_NE(layout.find("src=\"ViewTable.html?str=5-0-0-0\""), std::string::npos);
  EXPECT_LT(layout.find("ViewTable.html?str=5-0-0-0"), layout.find("name=\"QvPtFmOne\""));
  const std::string preview = Get("/ViewTable.html?str=5-0-0-0", printer_).body;
  EXPECT_NE(preview.find("<script language=\"JavaScript\" src=\"af.js\" type=\"text/javascript\"></script>"),
            std::string::npos);
  EXPECT_EQ(preview.find("admin.css"), std::string::npos);
  EXPECT_EQ(preview.find("media=\"print\""), std::string::npos);
  // The organiser and the meet that print.
  EXPECT_NE(preview.find("<div class=\"jzline6\" id=\"jzdiv6\"><nobr>QV网络</nobr></div>"), std::string::npos);
  const std::string test_print = Get("/ViewTable.html?str=6-0-0-0", printer_).body;
  EXPECT_NE(test_print.find("<div class=\"jzline2\"><nobr>在 QV网络测试运动会 中</nobr></div>"), std::string::npos);
  EXPECT_NE(test_print.find("parent.printhtml(1);"), std::string::npos);
  {
    DataGuard hold(DataLock);
    Model().OrganiserName = "实验<小学>";
  }
  EXPECT_NE(Get("/ViewTable.html?str=6-0-0-0", printer_).body.find("<nobr>在 实验&lt;小学&gt;测试运动会 中</nobr>"),
            std::string::npos);
  {
    DataGuard hold(DataLock);
    Model().OrganiserName = "QV网络";
  }
}

}  // namespace

}  // namespace korva
