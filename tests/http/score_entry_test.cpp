// The score-entry page over HTTP, for its three users: the clerk and the
// administrator enter results, the print administrator only looks. Each
// round state (not drawn, drawn, partly scored, counted) shows its rows,
// state line and print buttons.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/data_error.h"
#include "tests/http/server_fixture.h"

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
  check({"other heat", "?MatchTabe=1&zhu=2", 2, "<img src=\"tip.jpg\" />提示：请输入比赛成绩", "0100", ""});

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

}  // namespace

}  // namespace korva
