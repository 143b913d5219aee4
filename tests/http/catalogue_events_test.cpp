// The event pages over HTTP: saves, refusals, deletions and moves, with
// both files checked after each.
#include <gtest/gtest.h>

#include <string>

#include "database/lookups.h"
#include "database/model.h"
#include "tests/http/server_fixture.h"

namespace korva {

namespace {

std::string EventFiles() { return Dump({"qrtb306", "base.qrtb55", "qrtb249", "base.qrtb112"}); }

// A track event as the form sends it.
std::string TrackBody(int id, const std::string& name, int prelim = 0) {
  return "bsID=" + std::to_string(id) + "&BiSaiName=" + FormEncode(name) +
         "&BiSaiType=1&DeFenJiSuan=1&TuanTiType=1&YuJueType=" + std::to_string(prelim) +
         "&FZFDType=1&JiLuBiaoType=1&PaiXuType=1&BingLieType=1&UnitType=" + FormEncode("秒") +
         "&ChangDi=2&MatchTime=3&BoyGS=&GirlGS=";
}

std::string CombinedBody(int id, const std::string& name, int type, int parts, int first_part = 1) {
  std::string body = "bsID=" + std::to_string(id) + "&BiSaiName=" + FormEncode(name) + "&BiSaiType=" +
                     std::to_string(type) + "&DeFenJiSuan=2&FZFDType=1&ChangDi=4&UnitType=" + FormEncode("米");
  for (int i = 0; i < parts; ++i) body += "&qnfxbs=" + std::to_string(first_part + i);
  return body;
}

const char* const kEventColumns = "qrtb308, qrtb309, qrtb310, qrtb311, qrtb312, qrtb313, qrtb314, qrtb315, qrtb316,"
                                  " qrtb317, qrtb318, qrtb319, qrtb320";

class EventPagesTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    OpenMeetAndSignIn(kGroupSql);
  }
  std::string Move(int id, int direction) {
    return Page("/MoveBiSai.html?MatchId=" + std::to_string(id) + "&MakeId=" + std::to_string(direction));
  }
};

TEST_F(EventPagesTest, EventsAreSavedInBothFilesAndListed) {
  std::string reply = Send("/AddMatch.html", TrackBody(0, "<i>60米<b>"));
  EXPECT_TRUE(Has(reply, "操作成功！<br>[&lt;i&gt;60米&lt;b&gt;]比赛项目已经成功保存！")) << reply;
  EXPECT_EQ(Both(kEventColumns, "qrtb306", "qrtb55", "qrtb307 = 17"),
            "<i>60米<b>|1|1|0|0|1|1|1|1|2|秒|1|3 / <i>60米<b>|1|1|0|0|1|1|1|1|2|秒|1|3");
  std::string list = Page("/ShowMatch.html");
  EXPECT_TRUE(Has(list, "<td>&lt;i&gt;60米&lt;b&gt;</td><td>分道<br />径赛类<br />个人单项</td>")) << list;
  EXPECT_TRUE(Has(list, "<td>全能比赛</td><td colspan=\"4\">分项：60米；跳远；垒球掷远；</td>"));

  // An edit of the event in use by the group: its contest runs no
  // preliminaries, so asking for them offers to add them.
  reply = Send("/AddMatch.html", TrackBody(3, "100米", 1));
  EXPECT_TRUE(Has(reply, "检测到当前运动会中该比赛没有安排预赛，是否需要在当前运动会中安排该比赛项目的预赛？"
                         "<input type=\"button\" name=\"cyjs1\" id=\"cyjs1\" onclick=\"jschangeyjs(3)\" value=\"确定安排\" />"))
      << reply;
  EXPECT_EQ(Both("qrtb312, qrtb317", "qrtb306", "qrtb55", "qrtb307 = 3"), "1|2 / 1|2");
  EXPECT_FALSE(Has(Send("/AddMatch.html", TrackBody(17, "六十米")), "jschangeyjs"));

  // The form of an edited event shows what was stored.
  std::string form = Page("/SetupMatch.html?id=3");
  EXPECT_TRUE(Has(form, "<option value=\"1\" selected>有</option>")) << form;
  EXPECT_TRUE(Has(form, "<option value=\"2\" selected>环形跑道</option>"));
  // A name at its byte limit is taken whole; one byte more reads as empty.
  EXPECT_TRUE(Has(Send("/AddMatch.html", TrackBody(0, std::string(99, 'n'))), "操作成功"));
  EXPECT_TRUE(Has(Send("/AddMatch.html", TrackBody(0, std::string(100, 'm'))), Failed("网页提交的数据有错误！")));
  EXPECT_EQ(Both("length(qrtb308)", "qrtb306", "qrtb55", "qrtb307 = 18"), "99 / 99");
  // A record sheet the form can't offer is listed as the field sheet of
  // several rounds.
  ChangeMeet("UPDATE qrtb306 SET qrtb314 = 0 WHERE qrtb307 = 18;");
  EXPECT_TRUE(Has(Page("/ShowMatch.html"), "<td>无</td><td>田赛多轮表</td>"));
}

TEST_F(EventPagesTest, RefusedSavesChangeNeitherFile) {
  const std::string before = EventFiles();
  struct Case {
    std::string body;
    std::string reason;
  };
  const Case cases[] = {
      {TrackBody(0, ""), "网页提交的数据有错误！"},
      {TrackBody(0, "a=b"), "网页提交的数据有错误！"},
      {TrackBody(0, "跳远"), "该比赛名称已经存在！"},
      {TrackBody(99, "新项目"), "未找到该比赛！"},
      {TrackBody(-2, "新项目"), "未找到该比赛！"},
      {CombinedBody(0, "二项全能", 3, 1), "全能比赛至少需要选择两个分项比赛。"},
      {CombinedBody(0, "多项全能", 3, 30), "添加全能比赛时分项比赛太多。"},
      {CombinedBody(16, "三项全能", 1, 0), "全能比赛至少需要选择两个分项比赛。"},
  };
  for (const Case& c : cases) EXPECT_TRUE(Has(Send("/AddMatch.html", c.body), Failed(c.reason))) << c.reason;
  EXPECT_EQ(EventFiles(), before);

  FailOn("INSERT", "base.qrtb112", "no_parts");
  EXPECT_TRUE(Has(Send("/AddMatch.html", CombinedBody(16, "三项全能", 1, 2)),
                  Failed("[三项全能]比赛项目全能数据写入操作出现错误！错误号：1342")));
  EXPECT_EQ(EventFiles(), before);
  DataGuard hold(DataLock);
  EXPECT_EQ(FindEventById(16)->Parts, (std::vector<int>{2, 9, 11}));
}

TEST_F(EventPagesTest, CombinedEventsKeepTheirTypeAndTakeTheFixedValues) {
  // The form offers no combined type: an edit sends the first type option.
  std::string reply = Send("/AddMatch.html", CombinedBody(16, "三项全能", 1, 2, 4));
  EXPECT_TRUE(Has(reply, "操作成功")) << reply;
  EXPECT_EQ(Both(kEventColumns, "qrtb306", "qrtb55", "qrtb307 = 16"),
            "三项全能|3|1|1|0|2|3|2|2|1|分|2|0 / 三项全能|3|1|1|0|2|3|2|2|1|分|2|0");
  EXPECT_EQ(Both("group_concat(qrtb251)", "qrtb249", "qrtb112", "qrtb250 = 16"), "4,5 / 4,5");
  // 29 parts are the most a combined event holds.
  EXPECT_TRUE(Has(Send("/AddMatch.html", CombinedBody(0, "多项全能", 3, 29)), "操作成功"));
  EXPECT_EQ(Both("COUNT(*)", "qrtb249", "qrtb112", "qrtb250 = 17"), "29 / 29");
  std::string form = Page("/SetupMatch.html?id=16");
  EXPECT_TRUE(Has(form, "<input type=\"checkbox\" name=\"qnfxbs\" value=\"4\" checked=\"checked\" />200米")) << form;
  EXPECT_FALSE(Has(form, "name=\"qnfxbs\" value=\"14\""));  // a relay is no part
}

TEST_F(EventPagesTest, EventsInUseStayAndOthersLeaveTheirCombinedEvents) {
  const std::string before = EventFiles();
  EXPECT_TRUE(Has(Send("/DelMatch.html", "matchid=3"),
                  Failed("无法删除[100米]比赛，因为下列竞赛组正在使用它：<br>一年级男子组<br><br>"
                         "如果想删除比赛，请先建立一个新的运动会，然后在设置运动会之前，删除该比赛！")));
  // A part of a combined event the group holds is in use too: its rounds
  // name it.
  EXPECT_TRUE(Has(Send("/DelMatch.html", "matchid=9"), "因为下列竞赛组正在使用它：<br>一年级男子组<br>"));
  EXPECT_TRUE(Has(Send("/DelMatch.html", "matchid=0"), Failed("网页提交了不正确的数据！")));
  EXPECT_TRUE(Has(Send("/DelMatch.html", "matchid=77"), Failed("网页提交了不正确的数据！")));
  FailOn("DELETE", "base.qrtb55", "no_delete");
  EXPECT_TRUE(Has(Send("/DelMatch.html", "matchid=13"), Failed("操作数据库出错！（3）")));
  EXPECT_EQ(EventFiles(), before);
  DropTrigger("no_delete");

  // Without the group, a part event can go; its combined event loses it and
  // the list still shows.
  ChangeMeet("DELETE FROM qrtb467;");
  std::string reply = Send("/DelMatch.html", "matchid=9");
  EXPECT_TRUE(Has(reply, "操作成功！<br>[跳远]比赛项目已经成功删除！")) << reply;
  EXPECT_EQ(Both("COUNT(*)", "qrtb306", "qrtb55", "qrtb307 = 9"), "0 / 0");
  EXPECT_EQ(Both("group_concat(qrtb251)", "qrtb249", "qrtb112", "qrtb250 = 16"), "2,11 / 2,11");
  // A part row left by an older version is passed over.
  ChangeMeet("INSERT INTO qrtb249 VALUES (16, 99);");
  std::string list = Page("/ShowMatch.html");
  EXPECT_TRUE(Has(list, "分项：60米；垒球掷远；</td>")) << list;
}

TEST_F(EventPagesTest, MovesExchangeDefinitionsAndStopAtBothEnds) {
  ChangeMeet("DELETE FROM qrtb467 WHERE qrtb470 = 16;");
  EXPECT_EQ(Move(1, 1), "E5");   // the first event up
  EXPECT_EQ(Move(16, 2), "E5");  // the last down
  EXPECT_EQ(Move(4, 1), "E3");   // next to 100米, which the group holds
  EXPECT_EQ(Move(3, 2), "E3");
  EXPECT_EQ(Move(0, 1), "E1");
  EXPECT_EQ(Move(5, 3), "E1");
  EXPECT_EQ(Move(99, 1), "E2");

  EXPECT_EQ(Move(2, 1), "OK");  // 60米 up past 50米
  EXPECT_EQ(Both("group_concat(qrtb308)", "qrtb306", "qrtb55", "qrtb307 IN (1, 2)"), "60米,50米 / 60米,50米");
  EXPECT_EQ(Both("group_concat(qrtb251)", "qrtb249", "qrtb112", "qrtb250 = 16"), "1,9,11 / 1,9,11");
  EXPECT_EQ(Move(16, 1), "OK");  // the combined event up past 8×50米迎面接力
  EXPECT_EQ(Both("qrtb308 || qrtb309", "qrtb306", "qrtb55", "qrtb307 = 15"), "三项全能3 / 三项全能3");
  EXPECT_EQ(Both("group_concat(qrtb251)", "qrtb249", "qrtb112", "qrtb250 = 15"), "1,9,11 / 1,9,11");
  EXPECT_LT(Page("/ShowMatch.html").find("<td>60米</td>"), Page("/ShowMatch.html").find("<td>50米</td>"));

  const std::string before = EventFiles();
  FailOn("UPDATE", "base.qrtb55", "no_move");
  EXPECT_EQ(Move(6, 2), "E4");
  EXPECT_EQ(EventFiles(), before);
  DataGuard hold(DataLock);
  EXPECT_EQ(FindEventById(6)->Name, "800米");
}

// Each form's longest Chinese text (two bytes a character, six when sent)
// is kept whole: the limits count the bytes of the decoded value.
TEST_F(EventPagesTest, ChineseTextsAsLongAsTheirFormsAllowAreKept) {
  ChangeMeet("INSERT INTO qrtb409 (qrtb410, qrtb411, qrtb412, qrtb413, qrtb414, qrtb415, qrtb416)"
             " VALUES ('a', 7, 0, 1, 1, 1, 0);");
  auto text = [](int characters) {
    return std::string("春夏秋冬田径赛春夏秋冬田径赛春夏秋冬田径赛春夏秋冬田径赛春夏秋冬田径赛", characters * 2);
  };
  const std::string meet = text(30), cls = text(10), grade = text(10), event = text(20), scheme = text(20),
                    info = text(30), athlete = text(5);
  const struct {
    std::string path, body, page, shown;
  } cases[] = {
      {"/ChangYdhName.html",
       "wydhname=" + FormEncode(meet) + "&wyear=2026&wyue=4&wri=24&wshichang=4&shangwutime=5&xiawutime=13&KaiMuShi=1",
       "", "成功修改“" + meet + "”!"},
      {"/EditCSname.html", "NJid=1&CSid=1&CSname=" + FormEncode(cls) + "&MQsHao=&GQsHao=", "/EditClassName.html?GDID=1",
       "value=\"" + cls + "\""},
      {"/AddGrade.html", "GDID=1&GradeName=" + FormEncode(grade) + "&GradeStName=" + FormEncode(text(2)), "",
       "[" + grade + "]年级已经成功保存！"},
      {"/AddMatch.html", TrackBody(0, event), "", "[" + event + "]比赛项目已经成功保存！"},
      {"/AddScore.html", "FZID=0&FZName=" + FormEncode(scheme) + "&SDF=3", "/ShowScore.html", "<td>" + scheme + "</td>"},
      {"/AddYard.html", "CDID=0&ChangDiName=" + FormEncode(grade) + "&CDGuiGe=8&GuiGeDanWei=x&ChangDiInfo=" + FormEncode(info),
       "/ShowYards.html", info},
      {"/getgnstr.html?Dstr=7-0-0-0-7-" + FormEncode(athlete) + "-123456789", "", "", "运动员姓名：" + athlete},
  };
  for (const auto& c : cases) {
    const std::string reply = c.body.empty() ? Page(c.path) : Send(c.path, c.body);
    const std::string shown = c.page.empty() ? reply : Page(c.page);
    EXPECT_TRUE(Has(shown, c.shown)) << c.path << "\n" << shown;
  }
}

}  // namespace

}  // namespace korva
