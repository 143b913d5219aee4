// The catalogue pages over HTTP (grades and classes, events, venues and
// scoring schemes): saves, refusals, deletions and moves, with both files
// checked after each.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/lookups.h"
#include "database/model.h"
#include "tests/http/server_fixture.h"
#include "web/escape.h"

namespace korva {

namespace {

std::string GradeFiles() { return Dump({"qrtb219", "base.qrtb26", "qrtb234", "base.qrtb40", "qrtb7"}); }

// A grade's columns in the meet file and in the base file, whose grade
// table names its id and name columns apart.
std::string Grade(int id, std::string columns) {
  std::string where = " WHERE qrtb220 = " + std::to_string(id);
  std::string meet = Rows("SELECT " + columns + " FROM qrtb219" + where);
  for (auto [from, to] : {std::pair{"qrtb220", "qrtb27"}, std::pair{"qrtb221", "qrtb29"}})
    for (std::size_t at; (at = columns.find(from)) != std::string::npos;) columns.replace(at, 7, to);
  where.replace(7, 7, "qrtb27");
  return meet + " / " + Rows("SELECT " + columns + " FROM base.qrtb26" + where);
}

// A meet of the default catalogue, and the administrator signed in.
class GradePagesTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    OpenMeetAndSignIn();
  }
};
using VenuePagesTest = GradePagesTest;

// The same with group 11 (kGroupSql) using events and a scheme.
class SchemePagesTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    OpenMeetAndSignIn(kGroupSql);
  }
};

class EventPagesTest : public SchemePagesTest {
 protected:
  std::string Move(int id, int direction) {
    return Page("/MoveBiSai.html?MatchId=" + std::to_string(id) + "&MakeId=" + std::to_string(direction));
  }
};

TEST_F(GradePagesTest, ANewGradeAndItsRenameReachBothFilesAndThePages) {
  std::string reply = Send("/AddGrade.html", GradeBody(0, "七年级", "7", 3));
  EXPECT_TRUE(Has(reply, "操作成功！<br>[七年级]年级已经成功保存！")) << reply;
  EXPECT_EQ(Both("group_concat(qrtb238)", "qrtb234", "qrtb40", "qrtb236 = 7"), "701班,702班,703班 / 701班,702班,703班");
  EXPECT_EQ(Grade(7, "qrtb222"), "7 / 7");
  // Each new class can sign in.
  EXPECT_EQ(Rows("SELECT group_concat(qrtb16 || ':' || qrtb10) FROM qrtb7 WHERE qrtb15 = 7"), "25:9352,26:9352,27:9352");
  EXPECT_TRUE(Has(Post("/index.html", "BanJi=25&PassWord=9352", CookieNumber(Get("/"))).body, "/ShowClass.html"));

  EXPECT_TRUE(Has(Page("/SetupSchool.html"), "<td>7</td><td>七年级</td><td>7</td><td>3</td>"));

  // A rename keeps the classes; keeping its own names is no clash.
  reply = Send("/AddGrade.html", GradeBody(7, "初一", "7"));
  EXPECT_TRUE(Has(reply, "[初一]年级已经成功保存！")) << reply;
  EXPECT_EQ(Grade(7, "qrtb221"), "初一 / 初一");
  EXPECT_TRUE(Has(Page("/SetupGrade.html?id=7"), "<td>3</td><td>703班</td>"));

  // A renamed grade's groups carry the new name at once.
  ChangeMeet(kGroupSql);
  EXPECT_TRUE(Has(Send("/AddGrade.html", GradeBody(1, "新一年级", "新一")), "[新一年级]年级已经成功保存！"));
  for (const char* path : {"/SetupGradeMatch.html", "/MatchPlan.html"}) EXPECT_TRUE(Has(Page(path), "新一年级")) << path;
}

TEST_F(GradePagesTest, NamesAreCutToTheirFieldAtACharacter) {
  // 48 letters and a double-byte character: 50 bytes, one too many.
  const std::string long_name = std::string(48, 'a') + "一";
  Send("/AddGrade.html", GradeBody(0, long_name, "<b>", 2));
  EXPECT_EQ(Grade(7, "qrtb221 || '|' || qrtb222"),
            std::string(48, 'a') + "|<b> / " + std::string(48, 'a') + "|<b>");
  EXPECT_EQ(Rows("SELECT qrtb238 FROM qrtb234 WHERE qrtb236 = 7 AND qrtb237 = 2"), "<b>(2)班");
}

TEST_F(GradePagesTest, DeletingAGradeTakesItsClassesAccountsAndGroupsWithEverythingOnThem) {
  ChangeMeet(std::string(kGroupSql) +
             "INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb413, qrtb414, qrtb415) VALUES (1, '张三', 2, 5, 1);");
  const std::string before = GradeFiles();
  EXPECT_TRUE(Has(Send("/DelGrade.html", "Gradeid=0"), Failed("网页提交的数据有错误！")));
  EXPECT_TRUE(Has(Send("/DelGrade.html", "Gradeid=99"), Failed("网页提交的数据有错误！")));
  EXPECT_TRUE(Has(Send("/DelGrade.html", "Gradeid=2"),
                  Failed("[二年级]不能被删除，因为该年级已经有运动员报名！您可以新建一个运动会，在运动员报名之前，"
                         "然后再来删除此年级！")));
  FailOn("DELETE", "base.qrtb26", "no_delete");
  EXPECT_TRUE(Has(Send("/DelGrade.html", "Gradeid=1"), Failed("[一年级]删除时出现数据库操作错误！")));
  EXPECT_EQ(GradeFiles(), before);
  EXPECT_EQ(Rows("SELECT COUNT(*) FROM qrtb444"), "4");
  DropTrigger("no_delete");

  std::string reply = Send("/DelGrade.html", "Gradeid=1");
  EXPECT_TRUE(Has(reply, "操作成功！<br>[一年级]已经成功删除！")) << reply;
  EXPECT_EQ(Grade(1, "COUNT(*)") + " " +
                Both("COUNT(*)", "qrtb234", "qrtb40", "qrtb236 = 1"),
            "0 / 0 0 / 0");
  EXPECT_EQ(Rows("SELECT (SELECT COUNT(*) FROM qrtb7 WHERE qrtb15 = 1) || (SELECT COUNT(*) FROM qrtb373) ||"
                 " (SELECT COUNT(*) FROM qrtb467) || (SELECT COUNT(*) FROM qrtb425) || (SELECT COUNT(*) FROM qrtb444)"),
            "00000");
  DataGuard hold(DataLock);
  const MeetModel& m = Model();
  EXPECT_TRUE(m.GroupList.empty() && m.GroupEventList.empty() && m.ContestList.empty() && m.RoundList.empty());
  EXPECT_EQ(m.ClassList.front().GradeId, 2);
}

TEST_F(GradePagesTest, ClassesAreAddedAndRemovedAtTheEndOfTheirGrade) {
  auto change = [&](int grade, const std::string& add) {
    return Page("/AddOrDelClass.html?GDID=" + std::to_string(grade) + "&ADDorDELL=" + add);
  };
  EXPECT_EQ(change(1, "1"), "OK");
  EXPECT_EQ(Both("qrtb238", "qrtb234", "qrtb40", "qrtb236 = 1 AND qrtb237 = 5"), "105班 / 105班");
  EXPECT_EQ(Rows("SELECT qrtb10 FROM qrtb7 WHERE qrtb15 = 1 AND qrtb16 = (SELECT qrtb235 FROM qrtb234"
                 " WHERE qrtb236 = 1 AND qrtb237 = 5)"),
            "9352");
  EXPECT_EQ(change(1, "0"), "OK");
  EXPECT_EQ(change(1, "0"), "OK");
  EXPECT_EQ(Both("group_concat(qrtb238)", "qrtb234", "qrtb40", "qrtb236 = 1"), "101班,102班,103班 / 101班,102班,103班");
  EXPECT_EQ(Rows("SELECT COUNT(*) FROM qrtb7 WHERE qrtb15 = 1"), "3");
  EXPECT_TRUE(Has(Page("/SetupGrade.html?id=1"), "onclick=\"M_ADDorDLLBJ(0)\" />"));

  for (const char* add : {"2", "", "1x"}) EXPECT_EQ(change(1, add), "网页提交的数据有错误") << add;
  EXPECT_EQ(change(99, "1"), "网页提交的数据有错误");
  // Grade 2 down to one class, grade 3 up to sixty; grade 1's last class
  // has an athlete.
  std::string sql = "DELETE FROM qrtb234 WHERE qrtb236 = 2 AND qrtb237 > 1;"
                    "INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb413, qrtb414, qrtb415) VALUES (1, '<i>', 1, 3, 1);"
                    "UPDATE qrtb234 SET qrtb238 = '<i>班' WHERE qrtb235 = 3;";
  for (int n = 5; n <= 60; ++n)
    sql += "INSERT INTO qrtb234 VALUES (" + std::to_string(100 + n) + ", 3, " + std::to_string(n) + ", 'c" +
           std::to_string(n) + "', '', '');";
  ChangeMeet(sql);
  const std::string before = GradeFiles();
  EXPECT_EQ(change(2, "0"), "每个年级至少需要一个班级");
  EXPECT_EQ(change(3, "1"), "每个年级只能有60个班级");
  EXPECT_EQ(change(1, "0"), "&lt;i&gt;班已经有运动员报名，不能删除！您可以新建一个运动会，在运动员报名之前，来删除班级！");
  EXPECT_EQ(GradeFiles(), before);
  EXPECT_TRUE(Has(Page("/SetupGrade.html?id=2"), "onclick=\"M_ADDorDLLBJ(0)\" disabled />"));
  EXPECT_TRUE(Has(Page("/SetupGrade.html?id=3"), "onclick=\"M_ADDorDLLBJ(1)\" disabled />"));

  FailOn("INSERT", "base.qrtb40", "no_class");
  EXPECT_EQ(change(1, "1"), "操作数据库出错！[1]");
  EXPECT_EQ(GradeFiles(), before);
}

// One row of the class-names form.
std::string ClassRow(int class_id, const std::string& name, const std::string& boys, const std::string& girls) {
  return "&CSid=" + std::to_string(class_id) + "&CSname=" + FormEncode(name) + "&MQsHao=" + boys + "&GQsHao=" + girls;
}

TEST_F(GradePagesTest, ClassNamesAndStartingNumbersAreSavedRowByRow) {
  std::string reply = Send("/EditCSname.html", "NJid=1" + ClassRow(1, "<b>班", "100", "150") + ClassRow(2, "乙班", "", "") +
                                                   ClassRow(3, "丙班", "0", "0") + ClassRow(4, "丁班", "123456789", ""));
  EXPECT_TRUE(Has(reply, "window.location.href='/SetupGrade.html?id=1';")) << reply;
  EXPECT_EQ(Both("group_concat(qrtb238 || ':' || qrtb239 || ':' || qrtb240)", "qrtb234", "qrtb40", "qrtb236 = 1"),
            "<b>班:100:150,乙班::,丙班:0:0,丁班:123456789: / <b>班:100:150,乙班::,丙班:0:0,丁班:123456789:");

  const std::string before = GradeFiles();
  struct Case {
    std::string body;
    std::string reason;
  };
  const Case cases[] = {
      {"NJid=0" + ClassRow(1, "甲班", "", ""), "网页提交的数据有错误；"},
      {"NJid=1", "网页提交的数据有错误；"},
      {"NJid=1" + ClassRow(5, "甲班", "", ""), "网页提交的数据有错误；"},  // a class of grade 2
      {"NJid=1" + ClassRow(1, "", "", ""), "网页提交的数据有错误；"},
      {"NJid=1" + ClassRow(1, "201班", "", ""), "[201班]班级名称已经存在，更新班级名称操作被迫中断；"},
      {"NJid=1" + ClassRow(1, "甲班", "12a", ""), "您输入的起始号码有错误:[12a]不是有效的数字！请输入纯数字，字母与空格都不允许！"},
      {"NJid=1" + ClassRow(1, "甲班", "", "1234567890"),
       "您输入的起始号码有错误:[1234567890]不是有效的数字！请输入纯数字，字母与空格都不允许！"},
      {"NJid=1" + ClassRow(1, "甲班", std::string(60, '7'), ""),
       "您输入的起始号码有错误:[7777777777]不是有效的数字！请输入纯数字，字母与空格都不允许！"},
      {"NJid=1" + ClassRow(1, "甲班", "200", "0200"), "您输入的起始号码有错误:男生不能与女生的起始号码相同！"},
      {"NJid=1" + ClassRow(1, "甲班", "150", ""), "您输入的起始号码有错误:[150]号码已经被使用！"},
  };
  for (const Case& c : cases) {
    // The class being saved may keep its own numbers: class 1 holds 150.
    std::string body = c.body;
    if (c.reason.find("[150]") != std::string::npos) body = "NJid=1" + ClassRow(2, "乙班", "150", "");
    EXPECT_TRUE(Has(Send("/EditCSname.html", body),
                    Failed(EscapeHtml(c.reason)) +
                        "</td></tr>\t\t\t\t<tr><td><br /><a href=\"SetupSchool.html\">点此继续设置年级</a>"))
        << c.reason;
  }
  EXPECT_EQ(GradeFiles(), before);

  // Rows before a refusal stay saved; the failing row and those after it
  // are not.
  reply = Send("/EditCSname.html", "NJid=1" + ClassRow(1, "甲班", "", "") + ClassRow(2, "乙二班", "", "") +
                                       ClassRow(3, "丙班", "x", "") + ClassRow(4, "丁二班", "", ""));
  EXPECT_TRUE(Has(reply, "[x]不是有效的数字")) << reply;
  EXPECT_EQ(Both("group_concat(qrtb238)", "qrtb234", "qrtb40", "qrtb236 = 1"), "甲班,乙二班,丙班,丁班 / 甲班,乙二班,丙班,丁班");

  const std::string saved = GradeFiles();
  FailOn("UPDATE", "base.qrtb40", "no_update");
  EXPECT_TRUE(Has(Send("/EditCSname.html", "NJid=1" + ClassRow(1, "新班", "", "")),
                  Failed("数据库操作出错；[1][新班]")));
  EXPECT_EQ(GradeFiles(), saved);
  DataGuard hold(DataLock);
  EXPECT_EQ(Model().ClassList.front().ClassName, "甲班");
}

// The catalogue lives in the meet's file: before the first meet there is
// nothing to set up, and the pages say where to begin.
TEST_F(ServerTest, WithoutAMeetTheCataloguePagesLeadToTheCreateMeetPage) {
  admin_ = LoginAdmin();
  for (const char* path : {"/SetupSchool.html", "/SetupMatch.html", "/ShowYards.html", "/ShowScore.html"}) {
    std::string page = Page(path);
    EXPECT_TRUE(Has(page, "无法进行，因为：您还没有建立运动会，请先新建一个运动会！")) << path;
    EXPECT_TRUE(Has(page, "<a href=\"JianLiYdh.html\">")) << path;
  }
  EXPECT_TRUE(Has(Send("/AddGrade.html", GradeBody(0, "七年级", "7", 3)), Failed("您还没有建立运动会，请先新建一个运动会！")));
  EXPECT_TRUE(Has(Send("/AddScore.html", "FZID=0&FZName=x&SDF=1"), Failed("您还没有建立运动会，请先新建一个运动会！")));
  EXPECT_EQ(Page("/MoveBiSai.html?MatchId=2&MakeId=1"), "E2");
  EXPECT_EQ(Page("/AddOrDelClass.html?GDID=1&ADDorDELL=1"), "网页提交的数据有错误");
  EXPECT_EQ(BaseInt("SELECT COUNT(*) FROM qrtb26"), 6);
}

std::string EventFiles() { return Dump({"qrtb306", "base.qrtb55", "qrtb249", "base.qrtb112"}); }

const char* const kEventColumns = "qrtb308, qrtb309, qrtb310, qrtb311, qrtb312, qrtb313, qrtb314, qrtb315, qrtb316,"
                                  " qrtb317, qrtb318, qrtb319, qrtb320";


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

std::string VenueFiles() { return Dump({"qrtb292", "base.qrtb123"}); }


TEST_F(VenuePagesTest, VenuesAreSavedInBothFilesAndListed) {
  std::string reply = Send("/AddYard.html", VenueBody(0, "铅球<场>", 8, "人", "a<b>"));
  EXPECT_TRUE(Has(reply, "成功修改比赛场地：<br>")) << reply;
  EXPECT_EQ(Both("qrtb126, qrtb125, qrtb127, qrtb128", "qrtb292", "qrtb123", "qrtb124 = 8"),
            "铅球<场>|8|人|a<b> / 铅球<场>|8|人|a<b>");
  std::string list = Page("/ShowYards.html");
  EXPECT_TRUE(Has(list, "<td>铅球&lt;场&gt;</td><td>8</td><td>人</td><td>a&lt;b&gt;</td>")) << list;
  EXPECT_TRUE(Has(list, "onclick=\"DelCD(1,'直线跑道')\" disabled />"));

  reply = Send("/AddYard.html", VenueBody(8, "铅球场", 50, "组", ""));
  EXPECT_TRUE(Has(reply, "成功修改比赛场地：<br>比赛场地名称：铅球场<br />规格：50组/组<br />")) << reply;
  EXPECT_EQ(Both("qrtb126, qrtb125, qrtb127, qrtb128", "qrtb292", "qrtb123", "qrtb124 = 8"),
            "铅球场|50|组| / 铅球场|50|组|");
  EXPECT_TRUE(Has(Page("/SetupYard.html?id=8"), "<option value=\"50\" selected>50</option>"));
}

TEST_F(VenuePagesTest, TracksSwitchLanesInTheMeetFileAndKeepTheirNames) {
  EXPECT_TRUE(Has(Page("/SetupYard.html?id=3"), "<div id=\"SYD7\" class=\"paodaobsy\">"));
  std::string reply = Send("/AddYard.html", LaneBody(3, {2, 3, 4, 5, 6, 7, 8, 12}));
  EXPECT_TRUE(Has(reply, "比赛场地名称：跨栏道<br />规格：8道/组<br />")) << reply;
  EXPECT_EQ(Both("qrtb126, qrtb125, qrtb133", "qrtb292", "qrtb123", "qrtb124 = 3"),
            "跨栏道|8|2 3 4 5 6 7 8 12  / 跨栏道|6|1 2 3 4 5 6 ");
  EXPECT_TRUE(Has(Page("/SetupYard.html?id=3"), "id=\"SYHD12\" value=\"1\""));
  EXPECT_TRUE(Has(Send("/AddYard.html", LaneBody(3, {1, 12})), "规格：2道/组"));
}

TEST_F(VenuePagesTest, VenuesInUseAndTheTracksStay) {
  const std::string before = VenueFiles();
  EXPECT_TRUE(Has(Send("/DelYard.html", "yardid=5"),
                  Failed("[跳高场地]比赛场地无法删除，因为[跳高]比赛正在使用它！")));
  for (const char* body : {"yardid=1", "yardid=3", "yardid=0", "yardid=99"})
    EXPECT_TRUE(Has(Send("/DelYard.html", body), Failed("网页提交的数据不正确！"))) << body;
  ChangeMeet("UPDATE qrtb306 SET qrtb317 = 1 WHERE qrtb317 = 7;");  // the rope-skipping site falls free
  FailOn("DELETE", "base.qrtb123", "no_delete");
  EXPECT_TRUE(Has(Send("/DelYard.html", "yardid=7"), Failed("[跳绳场地]比赛场地删除时出现数据库操作错误！")));
  EXPECT_EQ(VenueFiles(), before);
  EXPECT_TRUE(Has(Page("/ShowYards.html"), "<td>跳绳场地</td>"));
  DropTrigger("no_delete");

  std::string reply = Send("/DelYard.html", "yardid=7");
  EXPECT_TRUE(Has(reply, "<br>[跳绳场地]比赛场地已删除！")) << reply;
  EXPECT_EQ(Both("COUNT(*)", "qrtb292", "qrtb123", "qrtb124 = 7"), "0 / 0");
  EXPECT_FALSE(Has(Page("/ShowYards.html"), "跳绳场地"));
}

TEST_F(VenuePagesTest, ASizeChangeResizesThePreliminariesAndOffersToDrawAgain) {
  // At the sand pit (4): 跳远 (9) with a preliminary drawn and a final, and
  // 立定跳远 (10) drawn with a result in.
  ChangeMeet(std::string(kGroupSql) +
             "INSERT INTO qrtb467 VALUES (11, 9), (11, 10);"
             "INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436)"
             " VALUES (1109, 11, 9, 1, 8, 6, 1, 0), (1110, 11, 10, 0, 0, 6, 1, 0);"
             "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb453, qrtb454)"
             " VALUES (5, 1109, 1, 0, 1, 1, 8, 0), (6, 1109, 2, 0, 2, 1, 6, 0), (7, 1110, 3, 0, 1, 2, 6, 0);"
             "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486) VALUES"
             " (1, 5, 1, 1, 1, NULL, 0), (2, 5, 1, 2, 2, NULL, 0), (3, 5, 2, 1, 3, NULL, 0),"
             " (4, 7, 1, 1, 4, 310, 0);");
  std::string same = Send("/AddYard.html", VenueBody(4, "跳远沙坑", 13));
  EXPECT_TRUE(Has(same, "成功修改比赛场地：<br>比赛场地名称：跳远沙坑")) << same;
  EXPECT_FALSE(Has(same, "Qx1"));

  // A smaller size offers the drawn rounds to be drawn again, but not one
  // with a result.
  std::string reply = Send("/AddYard.html", VenueBody(4, "跳远沙坑", 10));
  EXPECT_TRUE(Has(reply, "name=\"bs1\" id=\"bs1\" value=\"5\" />")) << reply;
  EXPECT_TRUE(Has(reply, "name=\"bs2\" id=\"bs2\" value=\"7\" disabled />"));
  EXPECT_EQ(Both("qrtb125", "qrtb292", "qrtb123", "qrtb124 = 4"), "10 / 10");
  EXPECT_EQ(Rows("SELECT group_concat(qrtb453) FROM qrtb444 WHERE qrtb445 IN (5, 6)"), "10,6");

  // The venue and its preliminaries change together or not at all.
  const std::string before = VenueFiles() + Rows("SELECT group_concat(qrtb453) FROM qrtb444");
  FailOn("UPDATE", "qrtb444", "no_rounds");
  EXPECT_TRUE(Has(Send("/AddYard.html", VenueBody(4, "跳远沙坑", 9)),
                  Failed("[跳远沙坑]比赛场地数据写入数据库时出现错误！")));
  EXPECT_EQ(VenueFiles() + Rows("SELECT group_concat(qrtb453) FROM qrtb444"), before);
  DataGuard hold(DataLock);
  EXPECT_EQ(FindVenueById(4)->Size, 10);
  EXPECT_EQ(FindRoundById(5)->Places, 10);
}


const char* const kRedirect = "window.location.href='/ShowScore.html';";


TEST_F(SchemePagesTest, SchemesAreSavedInBothFilesAndListed) {
  // A zero before the last points is a scoring place; values past the
  // twentieth are ignored.
  std::vector<int> points = {10, 8, 0, 6};
  points.resize(25, 0);
  points[19] = 1;
  points[24] = 9;
  EXPECT_TRUE(Has(Send("/AddScore.html", SchemeBody(0, "<b>分制", points)), kRedirect));
  EXPECT_EQ(Both("qrtb82, qrtb83, qrtb84, qrtb86, qrtb87, qrtb103", "qrtb260", "qrtb80", "qrtb81 = 3"),
            "<b>分制|20|10|0|6|1 / <b>分制|20|10|0|6|1");
  EXPECT_TRUE(Has(Send("/AddScore.html", SchemeBody(3, "<b>分制", {10, 8, 0, 6})), kRedirect));
  EXPECT_EQ(Both("qrtb83, qrtb103", "qrtb260", "qrtb80", "qrtb81 = 3"), "4|0 / 4|0");
  std::string list = Page("/ShowScore.html");
  EXPECT_TRUE(Has(list, "<td>&lt;b&gt;分制</td><td>4</td><td>10,8,0,6</td>")) << list;
  EXPECT_TRUE(Has(Page("/SetupScore.html?id=3"), "<tr><td>第2名</td><td>得<select name=\"SDF\">"));

  // A scheme the group uses may change.
  EXPECT_TRUE(Has(Send("/AddScore.html", SchemeBody(1, "前八名", {9, 7})), kRedirect));
  EXPECT_EQ(Both("qrtb82, qrtb83", "qrtb260", "qrtb80", "qrtb81 = 1"), "前八名|2 / 前八名|2");
}

TEST_F(SchemePagesTest, DeletingTheFirstSchemeKeepsTheOthers) {
  ChangeMeet("UPDATE qrtb373 SET qrtb382 = 2;");
  FailOn("DELETE", "base.qrtb80", "no_delete");
  EXPECT_TRUE(Has(Send("/DelScore.html", "ScoreID=1"), Failed("数据库操作出错[223]！")));
  EXPECT_EQ(Both("COUNT(*)", "qrtb260", "qrtb80", "qrtb81 = 1"), "1 / 1");
  DropTrigger("no_delete");
  EXPECT_TRUE(Has(Send("/DelScore.html", "ScoreID=1"), kRedirect));
  EXPECT_EQ(Both("group_concat(qrtb81)", "qrtb260", "qrtb80", "1"), "2 / 2");
  std::string list = Page("/ShowScore.html");
  EXPECT_FALSE(Has(list, "前八名计分"));
  EXPECT_TRUE(Has(list, "前六名计分"));
}

}  // namespace

}  // namespace korva
