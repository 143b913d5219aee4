// The class teacher's home page, enrol pages and class frame over loopback.
#include <gtest/gtest.h>

#include "tests/http/registration_fixture.h"

namespace {

class RegistrationPagesTest : public RegistrationServerTest {
 protected:
  std::string Home(int session) {
    HttpResponse reply = Get("/ShowClass.html", session);
    EXPECT_EQ(reply.status, 200);
    return reply.body;
  }
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(RegistrationPagesTest, HomePageShowsLimitsEventsAthletesAndWhatIsStillOpen) {
  OpenMeet(AthleteSql(1, "甲", 1, 101, 1, {1101}, 5) + AthleteSql(2, "乙", 1, 101, 1, {1104, 1101}) +
           AthleteSql(3, "丙", 1, 101, 1, {1104}) + AthleteSql(4, "丁", 1, 101, 2, {1205}));
  std::string page = Home(LoginTeacher());
  EXPECT_TRUE(Has(page, "<title>欢迎使用QV网络运动会管理系统</title>"));
  EXPECT_TRUE(Has(page, "测试运动会"));
  EXPECT_TRUE(Has(page, "var jmzxb1 = 3;"));
  EXPECT_TRUE(Has(page, "var jmzxb2 = 3;"));
  EXPECT_TRUE(Has(page, "value=\"王老师\""));
  EXPECT_TRUE(Has(page, "一年级01班"));
  // Both groups hold the same events: one list without [男子] / [女子].
  EXPECT_TRUE(Has(page, "<li><img src=\"image1.jpg\" alt=\"\" />4x100米接力[团体]</li>\r\n"));
  EXPECT_TRUE(Has(page, "<li><img src=\"image1.jpg\" alt=\"\" />男女混合接力[男女混团]</li>\r\n"));
  EXPECT_FALSE(Has(page, "[男子]"));
  EXPECT_TRUE(Has(page, "男子运动员：（限报3人，每人限报2项，每项限报2人，全能限报2人）<br>"));
  EXPECT_TRUE(Has(page, "<input type=\"checkbox\" name=\"manc1\" value=\"1\">\r\n</td>\r\n         "
                        "<td align=\"center\"><a href='/BoyEnroll.html?id=1'>[005]甲</a></td>\r\n \t\t"
                        "<td>100米;<font color=\"#FF0000\">(未报满)</font></td></tr>\r\n"));
  // One combined and one single event reach the limit of 2; one combined alone does not.
  EXPECT_TRUE(Has(page, ">乙</a></td>\r\n \t\t<td>五项全能;100米;</td></tr>"));
  EXPECT_TRUE(Has(page, ">丙</a></td>\r\n \t\t<td>五项全能;<font color=\"#FF0000\">(未报满)</font></td></tr>"));
  EXPECT_TRUE(Has(page, "name=\"mmc1\" value=\"4\""));
  EXPECT_TRUE(Has(page, "<form method=\"POST\" action=\"/DelST.html\" name=\"GirlForm\"><input name=\"sex\" type=\"hidden\" value=\"2\">"));
  // The boys' group is full; their team is empty, the girls' team is not.
  EXPECT_FALSE(Has(page, "男子组还可报"));
  EXPECT_TRUE(Has(page, "男子团队赛“4x100米接力”无人报名，请至少选择一位运动员报名该比赛！实际参赛人数请按照竞赛规则。<br>\r\n"));
  EXPECT_TRUE(Has(page, "女子组还可报2名运动员<br>\r\n"));
  EXPECT_FALSE(Has(page, "女子团队赛"));
  EXPECT_TRUE(Has(page, "男女混和团队赛“男女混合接力”无人报名"));
}

TEST_F(RegistrationPagesTest, GradeWithOnlyAGirlsGroup) {
  OpenMeet(AthleteSql(1, "甲", 2, 201, 2, {2206}) + AthleteSql(2, "乙", 2, 201, 2, {2201}) +
           AthleteSql(3, "丙", 2, 201, 2, {2201}));
  std::string page = Home(LoginTeacher(201, "3333"));
  EXPECT_TRUE(Has(page, "var jmzxb1 = 0;"));
  EXPECT_TRUE(Has(page, "<li></li>\r\n<li>[女子]</li><li><img src=\"image1.jpg\" alt=\"\" />100米</li>\r\n"));
  EXPECT_FALSE(Has(page, "BoyForm"));
  // Every place used and the mixed team (from the girls' group) entered.
  EXPECT_TRUE(Has(page, "<img src=\"ok1.jpg\" /><font color=\"#0000FF\">恭喜您，报名已全部完成！单击运动员姓名可修改该运动员的比赛。</font>"));
}

TEST_F(RegistrationPagesTest, ClosedRegistrationShowsNumberedRowsAndTheRegistrationState) {
  OpenMeet("", 1);
  std::string empty_meet = Home(LoginTeacher());
  EXPECT_TRUE(Has(empty_meet, "<br />\r\n运动员报名还未开始，请稍后再试！"));

  OpenMeet(AthleteSql(1, "甲", 1, 101, 1, {1101}) + AthleteSql(2, "乙", 1, 101, 1, {}), 1);
  std::string page = Home(LoginTeacher());
  EXPECT_TRUE(Has(page, "<br />\r\n运动员报名已经截止！"));
  EXPECT_FALSE(Has(page, "还可报"));
  EXPECT_FALSE(Has(page, "DelST.html"));
  EXPECT_FALSE(Has(page, "BoyEnroll.html?id="));
  EXPECT_TRUE(Has(page, "男子运动员：（"));
  EXPECT_TRUE(Has(page, "<tr><td align=\"center\">2</td>\r\n         <td align=\"center\">乙</td>\r\n<td>"));
}

TEST_F(RegistrationPagesTest, NamesWithHtmlAreEscapedOnEveryClassPage) {
  OpenMeet(AthleteSql(1, "<xmp>", 1, 101, 1, {1101}) +
           "UPDATE qrtb7 SET qrtb12 = '<style>*{display:none}' WHERE qrtb16 = 101;");
  int session = LoginTeacher();
  std::string page = Home(session);
  EXPECT_FALSE(Has(page, "<xmp>"));
  EXPECT_FALSE(Has(page, "<style>"));
  EXPECT_TRUE(Has(page, "&lt;xmp&gt;"));
  EXPECT_TRUE(Has(page, "value=\"&lt;style&gt;*{display:none}\""));
  std::string enrol = Get("/BoyEnroll.html?id=1", session).body;
  EXPECT_TRUE(Has(enrol, "value=\"&lt;xmp&gt;\""));
  EXPECT_FALSE(Has(enrol, "<xmp>"));
  // The class frame of a refused deletion.
  std::string error = Post("/DelST.html", "sex=1", session).body;
  EXPECT_TRUE(Has(error, "value=\"&lt;style&gt;*{display:none}\""));
  EXPECT_FALSE(Has(error, "<style>"));
}

TEST_F(RegistrationPagesTest, MissingGroupOrClassAnswersThePagesThatSaySo) {
  OpenMeet("DELETE FROM qrtb373 WHERE qrtb375 = 2;");
  int girls_only = LoginTeacher(201, "3333");
  const std::string not_ready = "当前运动会未设置完成，无法登陆，请管理员设置运动会！";
  EXPECT_TRUE(Has(Get("/ShowClass.html", girls_only).body, not_ready));
  EXPECT_TRUE(Has(Get("/GirlEnroll.html", girls_only).body, not_ready));

  int session = LoginTeacher();
  {
    DataGuard hold(DataLock);
    auto& classes = Model().ClassList;
    classes.erase(classes.begin());  // class 101, deleted while its teacher is signed in
  }
  EXPECT_TRUE(Has(Home(session), "数据错误，原因是因为1.4版本之前因为没有处理好浏览器两次提交的问题"));
  EXPECT_TRUE(Has(Get("/BoyEnroll.html", session).body, not_ready));
  std::string frame = Post("/DelST.html", "sex=1", session).body;
  EXPECT_TRUE(Has(frame, "<strong id=\"bjmc\"></strong>"));
  EXPECT_TRUE(Has(frame, "id=\"lingdui\" size=\"12\" maxlength=\"50\" value=\"\""));
}

TEST_F(RegistrationPagesTest, EnrolPagesCarryTheFormOfTheirSex) {
  OpenMeet(AthleteSql(1, "甲", 1, 101, 1, {1101}) + AthleteSql(5, "丁", 1, 101, 2, {1201}));
  int session = LoginTeacher();
  std::string boys = Get("/BoyEnroll.html", session).body;
  EXPECT_TRUE(Has(boys, "<script src=\"af.js\" type=\"text/javascript\"></script>"));
  EXPECT_TRUE(Has(boys, "<span id=\"xb\">男</span>"));
  EXPECT_TRUE(Has(boys, "name=\"STSEX\" id=\"STSEX\" value=\"1\""));
  EXPECT_TRUE(Has(boys, "name=\"stid\" id=\"stid\" value=\"0\""));
  EXPECT_TRUE(Has(boys, "本班：甲&nbsp;,其他班已报0人；"));
  EXPECT_TRUE(Has(boys, "5、比赛项目后面显示的是该项比赛当前竞赛组也报该项的运动员和其他班级报名该项比赛的人数。</p>\r\n"));
  EXPECT_TRUE(Has(boys, "onclick=\"window.location.href='ShowClass.html'\" value=\"返回班级首页\""));
  std::string girl = Get("/GirlEnroll.html?id=5", session).body;
  EXPECT_TRUE(Has(girl, "name=\"stid\" id=\"stid\" value=\"5\""));
  EXPECT_TRUE(Has(girl, "value=\"丁\""));
  // The enrol page is served while registration is closed; the registration refuses.
  OpenMeet("", 1);
  EXPECT_TRUE(Has(Get("/BoyEnroll.html", LoginTeacher()).body, "name=\"stname\""));
}

}  // namespace

namespace {

TEST_F(RegistrationPagesTest, LeaderBoxSavesANameAndRefusesOneTheFilterEmptied) {
  OpenMeet("");
  int teacher = LoginTeacher();
  EXPECT_EQ(Get("/AddLingDui.html?name=%D5%C5", teacher).body, "ok");  // 张 as a gb2312 page sends it
  EXPECT_EQ(Get("/AddLingDui.html?name=a%2Fb", teacher).body, "error");
  EXPECT_EQ(Get("/AddLingDui.html?name=", teacher).body, "error");
  EXPECT_TRUE(Has(Home(teacher), "value=\"张\""));
}

}  // namespace
