// Results over HTTP: the score-entry page for its three users, the road of
// one score (uploads, manual places, regrouping, records), the search tab's
// look-ups and single prints, and the public results board with its feeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/lookups.h"
#include "database/open_meet.h"
#include "engine/score_text.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/report_meet.h"

namespace korva {

namespace {

// The value attribute of the element with that id ("" when absent).
std::string ValueOf(const std::string& body, const std::string& id) {
  std::size_t at = body.find("id=\"" + id + "\"");
  if (at == std::string::npos) return "<absent>";
  at = body.find("value=\"", at);
  if (at == std::string::npos) return "<absent>";
  at += 7;
  return body.substr(at, body.find('"', at) - at);
}

bool Enabled(const std::string& body, const std::string& button) {
  std::size_t at = body.find("id=\"" + button + "\"");
  EXPECT_NE(at, std::string::npos) << button;
  if (at == std::string::npos) return false;
  std::string tag = body.substr(at, body.find('>', at) - at);
  return tag.find(" disabled") == std::string::npos;
}

std::string StateLine(const std::string& body) {
  std::size_t at = body.find("<div id=\"BotRetDiv\"> ");
  if (at == std::string::npos) return "<absent>";
  at += 21;
  return body.substr(at, body.find("</div>", at) - at);
}

std::string Buttons(const std::string& body) {
  std::string on;
  for (const char* b : {"au1", "au2", "au3", "au4"}) on += Enabled(body, b) ? "1" : "0";
  return on;
}

class ScoreEntryPage : public ScoringServerTest {
 protected:
  std::string Page(int mode, const std::string& query = "") {
    HttpResponse reply = Get("/InputScore.html" + query, SessionOfMode(mode));
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body.find("<%="), std::string::npos);
    return reply.body;
  }
};

// What every mode shows of one round state.
struct StateCase {
  const char* name;
  const char* query;
  int rows;
  const char* line;     // the start of the state line
  const char* buttons;  // au1..au4 enabled
  const char* first_result;
};

void ExpectState(const StateCase& c, int mode, const std::string& body) {
  SCOPED_TRACE(std::string(c.name) + " in mode " + std::to_string(mode));
  const char* frames[] = {"打印管理员：", "管理员帐号设置", "（成绩录入员）"};
  EXPECT_NE(body.find(frames[mode]), std::string::npos);
  EXPECT_EQ(body.find(mode == 0 ? "录入比赛成绩" : "查看比赛成绩"), std::string::npos);
  EXPECT_EQ(ValueOf(body, "MaxI"), std::to_string(c.rows));
  EXPECT_EQ(CountOf(body, "id=\"cjinput"), c.rows);
  EXPECT_EQ(CountOf(body, " readonly=\"readonly\""), mode == 0 ? c.rows : 0);
  EXPECT_EQ(CountOf(body, " disabled=\"disabled\""), mode == 0 ? c.rows : 0);
  EXPECT_EQ(StateLine(body).substr(0, mode == 0 ? std::string::npos : std::string(c.line).size()),
            mode == 0 ? "" : c.line);
  EXPECT_EQ(Buttons(body), c.buttons);
  if (c.rows > 0) {
    EXPECT_EQ(ValueOf(body, "cjinput1"), c.first_result);
  }
}

TEST_F(ScoreEntryPage, EachModeShowsEachStateOfARound) {
  OpenMeet();
  auto check = [&](const StateCase& c) {
    for (int mode = 0; mode <= 2; ++mode) ExpectState(c, mode, Page(mode, c.query));
  };
  check({"not drawn", "?MatchTabe=7", 0, "<img src=\"tip.jpg\" />提示：当前决赛还未生成", "0000", ""});
  check({"drawn", "?MatchTabe=1", 8, "<img src=\"tip.jpg\" />提示：请输入比赛成绩", "0100", ""});

  for (int athlete = 1; athlete <= 3; ++athlete) Upload(1, athlete, "12." + std::to_string(athlete + 10));
  for (int athlete = 4; athlete <= 8; ++athlete) Upload(1, athlete, "12." + std::to_string(athlete + 10));
  check({"heat done", "?MatchTabe=1&zhu=1", 8, "<img src=\"tip.jpg\" />提示：请及时输入当前比赛其他组别的成绩！",
         "0100", "12.11"});

  Upload(1, 9, "12.30");
  ASSERT_EQ(Upload(1, 10, "12.40").substr(0, 2), "04");
  check({"counted", "?MatchTabe=1&zhu=2", 2, "<img src=\"ok1.jpg\" />提示：比赛已完成，请查看或打印成绩表", "0111",
         "12.30"});
  EXPECT_TRUE(Has(Page(2, "?MatchTabe=1"), "<div id=\"dftext1\">9分</div>"));
  // The clerk's home is the same page.
  EXPECT_EQ(Get("/Admin.html", clerk_).body.find("录入比赛成绩") != std::string::npos, true);
}

TEST_F(ScoreEntryPage, RowsShowLanesInUseAndTheStandingRecord) {
  OpenMeet(
      "UPDATE qrtb292 SET qrtb133 = '3 4 5 6 7 8 9 10' WHERE qrtb124 = 1;"
      "INSERT INTO base.qrtb188 (qrtb189, qrtb190, qrtb191, qrtb192, qrtb193, qrtb194, qrtb195, qrtb196, qrtb197, "
      "qrtb198, qrtb199, qrtb202, qrtb205, qrtb208, qrtb209, qrtb210) VALUES "
      "(1, 0, '一年级', 1, '100米', 1, 1, 1205, 7, 8, '<u>王</u>', '二班', '2020-5-1', '秒', '\"旧\"运动会', 2);");
  const std::string page = Page(2, "?MatchTabe=1");
  // Lane 1 of the track is lane 3 in use.
  EXPECT_NE(page.find("value=\"男1\">3</td>"), std::string::npos);
  EXPECT_NE(page.find("value=\"男2\">4</td>"), std::string::npos);
  EXPECT_NE(page.find("<span style=\"float:right;\" title=\"最高记录成绩：12.05秒 在&quot;旧&quot;运动会中由二班&lt;u&gt;"
                      "王&lt;/u&gt;创造\"><img src=\"wuxin.jpg\" />12.05秒</span>"),
            std::string::npos)
      << GbkToUtf8(page);
  EXPECT_EQ(ValueOf(page, "JL1"), "1205");
  EXPECT_EQ(ValueOf(page, "JL2"), "7");
  EXPECT_EQ(ValueOf(page, "PingJiLuJF1"), "2");
  EXPECT_EQ(ValueOf(page, "PoJiLuJF1"), "3");

  // A result under the record is marked with its bonus.
  ASSERT_EQ(Get("/upcj.html?Dstr=1=2=0=1205=7=8=1=11.90", clerk_).body, "0911.90");
  const std::string marked = Page(2, "?MatchTabe=1");
  EXPECT_NE(marked.find("<div id=\"jltext2\">破记录</div>"), std::string::npos);
  EXPECT_NE(marked.find("<div id=\"dftext2\">3分</div>"), std::string::npos);
  EXPECT_EQ(ValueOf(marked, "OLDSCORE2"), "11.90");
}

TEST_F(ScoreEntryPage, AMissingAthleteEndsTheTableWithTheDataErrorRow) {
  OpenMeet("UPDATE qrtb479 SET qrtb484 = 999 WHERE qrtb480 = 203;");
  const std::string page = Page(2, "?MatchTabe=2");
  EXPECT_NE(page.find("<td colspan=\"10\"><img src=\"error2.jpg\" />警告：严重的数据错误，系统数据已经被破坏，"
                      "请管理员重新建立运动会！</td>\r\n</tr></table>"),
            std::string::npos);
  EXPECT_EQ(CountOf(page, "id=\"cjinput"), 2) << GbkToUtf8(page);
  EXPECT_EQ(page.find("BotRetDiv"), std::string::npos);
  EXPECT_NE(page.find("</html>"), std::string::npos);
}

// A part round whose part event is gone breaks the whole round choice.
TEST_F(ScoreEntryPage, ARoundWithoutItsEventLeavesNoRoundToChoose) {
  OpenMeet(
      "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453, "
      "qrtb454, qrtb455, qrtb456, qrtb457, qrtb458) VALUES (9, 1104, 3, 0, 2, 3, 10, 2, 6, 999, 0, 0, 0, 0);");
  const std::string page = Page(2, "?MatchTabe=1");
  EXPECT_EQ(LastDataErrorCode(), 32550);
  EXPECT_NE(page.find("当前无比赛，请选择其他比赛类型或时段。<br>\r\n"), std::string::npos);
  EXPECT_NE(page.find("</html>"), std::string::npos);
}

TEST_F(ScoreEntryPage, WithoutOrderBookOrMeetEachModeGetsItsMessage) {
  SignInAll();
  EXPECT_NE(Page(1).find("当前未建立运动会，请先<a href=\"JianLiYdh.html\">新建一个运动会</a>！"), std::string::npos);
  EXPECT_NE(Page(2).find("当前未建立运动会，请管理员先建立一个运动会！"), std::string::npos);
  EXPECT_NE(Page(0).find("当前未建立运动会，请管理员先建立一个运动会！"), std::string::npos);

  OpenScoringMeet(*meet_, "DELETE FROM qrtb479;");
  EXPECT_NE(Page(1).find("当前未生成秩序册，请生成[秩序册]后再进行比赛成绩录入！</font></strong></p>\r\n\t\t\t "
                         "<p><a href=\"BookControl.html\">点击此处进入秩序册管理</a></p>"),
            std::string::npos);
  for (int mode : {0, 2}) EXPECT_NE(Page(mode).find("当前未生成秩序册，请管理员先生成[秩序册]！"), std::string::npos);
  // Class teachers and visitors never get the page.
  EXPECT_EQ(Get("/InputScore.html").body.find("InputSocreForm"), std::string::npos);
}

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

// A result is reported stored only once it is on disk. Here the -wal file
// cannot be synced: the next upload is answered as a failed write, and so is
// the same result sent again, which finds it stored and commits nothing.
TEST_F(ScoreUploadServer, AResultNotOnDiskIsNeverReportedStored) {
  EXPECT_EQ(Upload(2, 1, "4.5"), "014.50");
  UnsyncableMeetWal unsyncable;
  EXPECT_EQ(Upload(2, 2, "4.40"), "00");
  EXPECT_EQ(Upload(2, 2, "4.40"), "00");
  EXPECT_EQ(Upload(2, 1, "4.50"), "00");
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

// The third cell (name) of every result row of a search, sorted.
std::vector<std::string> FoundNames(const std::string& body) {
  std::vector<std::string> names;
  for (std::size_t at = body.find("<tr align=\"center\"><td>1</td>"); at != std::string::npos;
       at = body.find("<tr align=\"center\"><td>", at + 1)) {
    std::size_t cell = at;
    for (int i = 0; i < 3; ++i) cell = body.find("<td>", cell) + 4;
    names.push_back(body.substr(cell, body.find("</td>", cell) - cell));
  }
  std::sort(names.begin(), names.end());
  return names;
}

class SingleItemPrints : public ScoringServerTest {
 protected:
  void SetUp() override {
    ScoringServerTest::SetUp();
    // Athlete 1's name holds markup; athlete 2's first character ends in
    // the byte of 'b'; athlete 24 has no bib yet.
    OpenMeet(
        "UPDATE qrtb409 SET qrtb410 = '<b>王&</b>' WHERE qrtb411 = 1;"
        "UPDATE qrtb409 SET qrtb410 = '俠2' WHERE qrtb411 = 2;"
        "UPDATE qrtb409 SET qrtb412 = NULL WHERE qrtb411 = 24;");
  }
  std::string Ask(const std::string& path) {
    HttpResponse reply = Get(path, printer_);
    EXPECT_EQ(reply.status, 200) << path;
    return reply.body;
  }
  // Counts the long jump (athletes 1 to 3 placed 1 to 3, 4 to 6 not) and
  // the relay (lanes 1 to 3 placed 1 to 3).
  void CountLongJumpAndRelay() {
    const char* jumps[] = {"6.15", "5.95", "5.85", "5.75", "5.65", "5.55"};
    for (int athlete = 1; athlete <= 6; ++athlete) Upload(2, athlete, jumps[athlete - 1]);
    Upload(5, 13, "50.15");
    Upload(5, 17, "51.15");
    ASSERT_EQ(Upload(5, 21, "52.15").substr(0, 2), "04");
  }
};

TEST_F(SingleItemPrints, TheSearchFindsBibsAndNamesWithTheirMarkupEscaped) {
  struct Case {
    const char* text;
    std::vector<std::string> names;
  } cases[] = {
      // A bib finds its athlete and every name holding the digits.
      {"7", {"男7", "男17", "女107", "女117", "女127", "女137"}},
      // A text that is no number also finds athletes without a bib; 'b' is
      // no character of 俠2.
      {"%3Cb%3E", {"&lt;b&gt;王&amp;&lt;/b&gt;", "男24"}},
      {"b", {"&lt;b&gt;王&amp;&lt;/b&gt;", "男24"}},
      {"%82%62", {"俠2", "男24"}},
      {"99", {}},
  };
  for (Case& c : cases) {
    const std::string body = Ask("/FindStudent.html?str=" + std::string(c.text));
    std::sort(c.names.begin(), c.names.end());
    EXPECT_EQ(FoundNames(body), c.names) << c.text << "\n" << GbkToUtf8(body);
    if (c.names.empty()) {
      EXPECT_EQ(body, "<table border=\"1px\" width=\"99%\">\r\n<tr><td>当前检索结果：无<br /><br /><br /><br /><br /></td>"
                      "</tr></table>");
    }
  }
  EXPECT_EQ(Ask("/FindStudent.html?str="), "");
  // Visitors have no search.
  EXPECT_EQ(Get("/FindStudent.html?str=7").body.find("男7"), std::string::npos);
}

TEST_F(SingleItemPrints, TheTickedResultsPrintOneCertificateEachUntilAnIdFails) {
  CountLongJumpAndRelay();
  struct Case {
    const char* cjid;
    int certificates;
  } cases[] = {
      {"201-202-", 2},
      {"201-202", 1},          // text after the last '-' is ignored
      {"201--202-", 1},        // an empty id ends the reading
      {"201-999-202-", 1},     // so does a result that is not there
      {"201-0000000202-", 1},  // and an id of more than nine digits
      {"201-99999999999999999999-202-", 1},
      {"201-x202-", 1},
      {"", 0},
  };
  for (const Case& c : cases) {
    const std::string body = Ask(std::string("/PrintOne.html?cjid=") + c.cjid);
    EXPECT_EQ(CountOf(body, "<div class=\"jzline1\">"), c.certificates) << c.cjid;
    EXPECT_NE(body.find("parent.printhtml(0);"), std::string::npos) << c.cjid;
    EXPECT_NE(body.find("view.css?U=printer1"), std::string::npos) << c.cjid;
  }
  EXPECT_NE(Ask("/PrintOne.html?cjid=201-").find("&lt;b&gt;王&amp;&lt;/b&gt;"), std::string::npos);
  // Without "=" nothing is printed: the header alone.
  EXPECT_EQ(Ask("/PrintOne.html"), "");
}

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
  EXPECT_EQ(Get("/GetPbDate.html?CjNo=0&ClassId=0").body, "Start");
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
