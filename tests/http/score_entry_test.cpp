// The score-entry page over HTTP, for its three users: the clerk and the
// administrator enter results, the print administrator only looks. Each
// round state (not drawn, drawn, partly scored, counted) shows its rows,
// state line and print buttons.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/data_error.h"
#include "tests/http/score_entry_fixture.h"

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

// The value of the selected option of a select.
std::string SelectedOf(const std::string& body, const std::string& id) {
  std::size_t start = body.find("id=\"" + id + "\"");
  std::size_t end = body.find("</select>", start);
  std::size_t mark = body.find(" selected", start);
  if (start == std::string::npos || mark == std::string::npos || mark > end) return "<none>";
  std::size_t value = body.rfind("value=\"", mark) + 7;
  return body.substr(value, body.find('"', value) - value);
}

// The option labels of a select, in order.
std::vector<std::string> OptionsOf(const std::string& body, const std::string& id) {
  std::vector<std::string> labels;
  std::size_t at = body.find("id=\"" + id + "\"");
  const std::size_t end = body.find("</select>", at);
  while ((at = body.find("<option", at)) < end) {
    at = body.find('>', at) + 1;
    labels.push_back(body.substr(at, body.find("</option>", at) - at));
  }
  return labels;
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

class ScoreEntryPage : public ScoreEntryServerTest {
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
  EXPECT_NE(body.find("<script src=\"inscore.js\" type=\"text/javascript\"></script>"), std::string::npos);
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
  check({"heat begun", "?MatchTabe=1", 8, "<img src=\"tip.jpg\" />提示：请输入比赛成绩", "0100", "12.11"});
  for (int athlete = 4; athlete <= 8; ++athlete) Upload(1, athlete, "12." + std::to_string(athlete + 10));
  check({"heat done", "?MatchTabe=1&zhu=1", 8, "<img src=\"tip.jpg\" />提示：请及时输入当前比赛其他组别的成绩！",
         "0100", "12.11"});
  check({"other heat", "?MatchTabe=1&zhu=2", 2, "<img src=\"tip.jpg\" />提示：请输入比赛成绩", "0100", ""});

  Upload(1, 9, "12.30");
  ASSERT_EQ(Upload(1, 10, "12.40").substr(0, 2), "04");
  check({"counted", "?MatchTabe=1&zhu=2", 2, "<img src=\"ok1.jpg\" />提示：比赛已完成，请查看或打印成绩表", "0111",
         "12.30"});
  const std::string counted = Page(2, "?MatchTabe=1");
  EXPECT_NE(counted.find("<td align=\"center\">第1名</td>"), std::string::npos);
  EXPECT_NE(counted.find("<div id=\"dftext1\">9分</div>"), std::string::npos);
  EXPECT_EQ(SelectedOf(counted, "ZhuBei"), "1");
  EXPECT_EQ(OptionsOf(counted, "ZhuBei"), (std::vector<std::string>{"第1组[共2组]", "第2组[共2组]"}));
  EXPECT_NE(counted.find("&nbsp;&nbsp;共10人&nbsp;取6名<br>"), std::string::npos);
  // The clerk's home is the same page.
  EXPECT_EQ(Get("/Admin.html", clerk_).body.find("录入比赛成绩") != std::string::npos, true);
}

TEST_F(ScoreEntryPage, APreliminaryShowsItsQualifiersOnceItsFinalIsSeeded) {
  OpenMeet();
  const std::string before = Page(1, "?MatchTabe=6&zhu=2");
  EXPECT_NE(before.find("<td>进入决赛</td>"), std::string::npos);
  EXPECT_EQ(Buttons(before), "1000");
  EXPECT_NE(before.find("共10人&nbsp;取8人决<br>"), std::string::npos);

  for (int i = 1; i <= 10; ++i) Upload(6, 100 + i, "13." + std::to_string(10 + i));
  const std::string heat2 = Page(1, "?MatchTabe=6&zhu=2");
  EXPECT_EQ(StateLine(heat2), "<img src=\"ok1.jpg\" />提示：比赛完成，决赛安排已生成，请查看或打印决赛检录表。");
  EXPECT_EQ(Buttons(heat2), "1110");
  // Girls 106 to 108 of heat 2 are among the eight fastest; 109 and 110 not.
  EXPECT_EQ(CountOf(heat2, "<td align=\"center\">录取</td>"), 3);

  const std::string final_round = Page(2, "?MatchTabe=7");
  EXPECT_EQ(ValueOf(final_round, "MaxI"), "8");
  EXPECT_EQ(Buttons(final_round), "1100");
  EXPECT_EQ(SelectedOf(final_round, "BsDate"), "2");
}

TEST_F(ScoreEntryPage, CompleteRoundsNotCountedOfferTheCountButton) {
  // Round 2 is complete but never counted; every lane of round 3 and of
  // the preliminary fouled.
  OpenMeet(
      "UPDATE qrtb479 SET qrtb485 = 500 + qrtb484 WHERE qrtb481 = 2;"
      "UPDATE qrtb479 SET qrtb486 = 1 WHERE qrtb481 IN (3, 6);");
  const std::string complete = Page(2, "?MatchTabe=2");
  EXPECT_EQ(StateLine(complete),
            "<img src=\"tip.jpg\" />提示：比赛已完成，但未统计成绩，请单击“统计成绩”按钮以生成名次与得分。<br />"
            "\t\t\t\t\t\t <input name=\"sgau5\" type=\"button\" id=\"sgau5\" onClick=\"sgtongji();\" value=\"统计成绩\">");
  EXPECT_EQ(Buttons(complete), "0100");
  EXPECT_EQ(StateLine(Page(2, "?MatchTabe=3")), "<img src=\"error2.jpg\" />警告：所有运动员被设定为犯规，无法统计名次与得分！");
  const std::string fouled = Page(2, "?MatchTabe=6");
  EXPECT_EQ(StateLine(fouled), "<img src=\"error2.jpg\" />警告：所有运动员被设定为犯规，无法生成预赛安排！");
  EXPECT_EQ(Buttons(fouled), "1000");
  EXPECT_EQ(CountOf(fouled, "<option value=\"1\" selected=\"selected\">犯规</option>"), 5);
}

TEST_F(ScoreEntryPage, TheRoundChoiceFollowsTheRoundAskedOrTheFirstNotCounted) {
  // Round 9: the 100米 part of the combined event, in the afternoon; the
  // relay first in the morning; round 3 not held.
  OpenMeet(
      "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453, "
      "qrtb454, qrtb455, qrtb456, qrtb457, qrtb458) VALUES (9, 1104, 3, 0, 2, 3, 10, 2, 6, 901, 0, 0, 0, 0);"
      "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb486, qrtb487, qrtb488, qrtb489) "
      "VALUES (901, 9, 1, 1, 1, 0, 0, 0, 0), (902, 9, 1, 2, 2, 0, 0, 0, 0);"
      "UPDATE qrtb444 SET qrtb450 = 0 WHERE qrtb445 = 5;"
      "UPDATE qrtb444 SET qrtb448 = 1 WHERE qrtb445 = 3;"
      "UPDATE qrtb444 SET qrtb458 = 5201030 WHERE qrtb445 = 5;");
  // No query: the morning of day 1, track, the first round not counted.
  std::string page = Page(1);
  EXPECT_EQ(OptionsOf(page, "ScoreID"), (std::vector<std::string>{"一年级男子团体4x100米接力[决赛]",
                                                                   "一年级男子100米[决赛]", "一年级女子100米[预赛]"}));
  EXPECT_EQ(OptionsOf(page, "BsDate"), (std::vector<std::string>{"第1天上午", "第1天下午", "第2天上午", "第2天下午"}));
  EXPECT_EQ(SelectedOf(page, "ScoreID"), "1");
  EXPECT_EQ(SelectedOf(page, "BsDate"), "1");
  EXPECT_EQ(SelectedOf(page, "bstype"), "1");

  // A team shows one row per lane, without bib and name.
  page = Page(1, "?MatchTabe=5");
  EXPECT_EQ(ValueOf(page, "MaxI"), "3");
  EXPECT_EQ(ValueOf(page, "stname1"), "");
  EXPECT_NE(page.find("<td align=\"center\"></td><td align=\"center\"></td><td align=\"center\">一年级02班</td>"),
            std::string::npos);

  // A round asked with another session shows its own session and type.
  page = Page(1, "?BsDate=1&bstype=2&MatchTabe=9");
  EXPECT_EQ(SelectedOf(page, "BsDate"), "2");
  EXPECT_EQ(SelectedOf(page, "bstype"), "1");
  EXPECT_EQ(SelectedOf(page, "ScoreID"), "9");
  EXPECT_EQ(OptionsOf(page, "ScoreID"), (std::vector<std::string>{"一年级女子100米[决赛]", "一年级男子100米[五项全能]"}));
  EXPECT_EQ(OptionsOf(page, "ZhuBei"), std::vector<std::string>{"第1组[仅1组]"});

  // An unknown round: the session and type asked, heat 1.
  page = Page(1, "?BsDate=2&bstype=2&MatchTabe=999&zhu=3");
  EXPECT_EQ(SelectedOf(page, "ScoreID"), "8");
  EXPECT_EQ(SelectedOf(page, "ZhuBei"), "1");
  EXPECT_EQ(ValueOf(page, "MaxI"), "21");

  page = Page(1, "?BsDate=4&bstype=1");
  EXPECT_NE(page.find("当前无比赛，请选择其他比赛类型或时段。<br>\r\n"), std::string::npos);
  EXPECT_EQ(OptionsOf(page, "ScoreID").size(), 0u);
  EXPECT_EQ(ValueOf(page, "JL1"), "-65535");
}

TEST_F(ScoreEntryPage, RowsShowLanesInUseTheStandingRecordAndEscapedNames) {
  OpenMeet(
      "UPDATE qrtb292 SET qrtb133 = '3 4 5 6 7 8 9 10' WHERE qrtb124 = 1;"
      "UPDATE qrtb409 SET qrtb410 = '<b>\"甲&乙</b>' WHERE qrtb411 = 1;"
      "UPDATE qrtb234 SET qrtb238 = '<i>一年级02班</i>' WHERE qrtb235 = 102;"
      "INSERT INTO base.qrtb188 (qrtb189, qrtb190, qrtb191, qrtb192, qrtb193, qrtb194, qrtb195, qrtb196, qrtb197, "
      "qrtb198, qrtb199, qrtb202, qrtb205, qrtb208, qrtb209, qrtb210) VALUES "
      "(1, 0, '一年级', 1, '100米', 1, 1, 1205, 7, 8, '<u>王</u>', '二班', '2020-5-1', '秒', '\"旧\"运动会', 2);");
  const std::string page = Page(2, "?MatchTabe=1");
  // Lane 1 of the track is lane 3 in use.
  EXPECT_NE(page.find("乙&lt;/b&gt;\">3</td>"), std::string::npos);
  EXPECT_NE(page.find("value=\"男2\">4</td>"), std::string::npos);
  EXPECT_EQ(ValueOf(page, "stname1"), "&lt;b&gt;&quot;甲&amp;乙&lt;/b&gt;");
  EXPECT_NE(page.find("<td align=\"center\">&lt;b&gt;&quot;甲&amp;乙&lt;/b&gt;</td>"), std::string::npos);
  EXPECT_EQ(ValueOf(page, "HmClsName1"), "&lt;i&gt;一年级02班&lt;/i&gt;");
  EXPECT_NE(page.find("<span style=\"float:right;\" title=\"最高记录成绩：12.05秒 在&quot;旧&quot;运动会中由二班&lt;u&gt;"
                      "王&lt;/u&gt;创造\"><img src=\"wuxin.jpg\" />12.05秒</span>"),
            std::string::npos)
      << Utf8(page);
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
  EXPECT_EQ(CountOf(page, "id=\"cjinput"), 2) << Utf8(page);
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
  EXPECT_EQ(OptionsOf(page, "ScoreID").size(), 0u);
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
