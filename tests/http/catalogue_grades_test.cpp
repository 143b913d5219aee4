// The grade and class pages over HTTP: saves and refusals, with both files
// checked after each.
#include <gtest/gtest.h>

#include <string>

#include "database/model.h"
#include "tests/http/server_fixture.h"
#include "web/escape.h"

namespace korva {

namespace {

constexpr const char* kGradeTables[] = {"qrtb219", "base.qrtb26", "qrtb234", "base.qrtb40", "qrtb7"};

std::string GradeFiles() {
  return Dump({kGradeTables[0], kGradeTables[1], kGradeTables[2], kGradeTables[3], kGradeTables[4]});
}

std::string GradeBody(int id, const std::string& name, const std::string& short_name, int classes = 0) {
  return "GDID=" + std::to_string(id) + "&GradeName=" + FormEncode(name) + "&GradeStName=" + FormEncode(short_name) +
         (classes ? "&BanJiShuLiang=" + std::to_string(classes) : "");
}

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

class GradePagesTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    OpenMeetAndSignIn();
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

TEST_F(GradePagesTest, RefusedSavesChangeNeitherFile) {
  const std::string before = GradeFiles();
  struct Case {
    std::string body;
    std::string reason;
  };
  const Case cases[] = {
      {GradeBody(0, "", "7", 3), "必须指定年级名称及简称"},
      {GradeBody(0, "七年级", "7/", 3), "必须指定年级名称及简称"},  // the field filter empties it
      {GradeBody(0, "七年级", "7", 0), "网页提交的数据有错误！"},
      {GradeBody(0, "七年级", "7", 61), "网页提交的数据有错误！"},
      {GradeBody(99, "七年级", "7"), "网页提交的数据有错误！"},
      {GradeBody(0, "二年级", "7", 3), "年级名称[二年级]已经存在，年级名称不允许有重名！"},
      {GradeBody(1, "一年级", "2"), "年级简称[2]已经存在，年级简称不允许有重名！"},
  };
  for (const Case& c : cases) EXPECT_TRUE(Has(Send("/AddGrade.html", c.body), Failed(c.reason))) << c.reason;
  EXPECT_EQ(GradeFiles(), before);

  // A write that fails in the base file leaves the meet file as it was.
  FailOn("INSERT", "base.qrtb40", "no_classes");
  EXPECT_TRUE(Has(Send("/AddGrade.html", GradeBody(0, "七年级", "7", 3)),
                  Failed("[七年级]年级数据写入数据库时出现错误！")));
  EXPECT_EQ(GradeFiles(), before);
  EXPECT_TRUE(Has(Page("/SetupSchool.html"), "<td>6</td><td>六年级</td>"));
  EXPECT_FALSE(Has(Page("/SetupSchool.html"), "七年级"));
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
  for (const char* path : {"/SetupSchool.html", "/SetupGrade.html?id=1", "/ShowMatch.html", "/SetupMatch.html",
                           "/ShowYards.html", "/SetupYard.html?id=1", "/ShowScore.html", "/SetupScore.html"}) {
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

}  // namespace

}  // namespace korva
