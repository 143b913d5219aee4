// The class teacher's home page and class frame over loopback.
#include <gtest/gtest.h>

#include "tests/http/server_fixture.h"

namespace korva {

namespace {

class RegistrationPagesTest : public RegistrationServerTest {};

TEST_F(RegistrationPagesTest, HomePageShowsLimitsEventsAthletesAndWhatIsStillOpen) {
  OpenMeet(AthleteSql(1, "甲", 1, 101, 1, {1101}, 5) + AthleteSql(2, "乙", 1, 101, 1, {1104, 1101}) +
           AthleteSql(3, "丙", 1, 101, 1, {1104}) + AthleteSql(4, "丁", 1, 101, 2, {1205}));
  std::string page = Get("/ShowClass.html", LoginTeacher()).body;
  for (const char* part : {
           // Both groups hold the same events: one list without [男子] / [女子].
           "<ul id=\"kbxm\"><li><img src=\"image1.jpg\" alt=\"\" />100米</li>\r\n",
           "男子运动员：（限报3人，每人限报2项，每项限报2人，全能限报2人）<br>",
           "<a href='/BoyEnroll.html?id=1'>[005]甲</a></td>\r\n \t\t<td>100米;<font color=\"#FF0000\">(未报满)</font>",
           // One combined and one single event reach the limit of 2; one combined alone does not.
           ">乙</a></td>\r\n \t\t<td>五项全能;100米;</td></tr>",
           ">丙</a></td>\r\n \t\t<td>五项全能;<font color=\"#FF0000\">(未报满)</font></td></tr>",
           // The boys' group is full and their team empty; the girls' team has an entrant.
           "男子团队赛“4x100米接力”无人报名，请至少选择一位运动员报名该比赛！实际参赛人数请按照竞赛规则。<br>\r\n"
           "女子组还可报2名运动员<br>\r\n男女混和团队赛“男女混合接力”无人报名"})
    EXPECT_TRUE(Has(page, part)) << part;
  for (const char* part : {"[男子]", "男子组还可报", "女子团队赛"}) EXPECT_FALSE(Has(page, part)) << part;
}

TEST_F(RegistrationPagesTest, ClosedRegistrationShowsNumberedRowsAndTheRegistrationState) {
  OpenMeet("", 1);
  EXPECT_TRUE(Has(Get("/ShowClass.html", LoginTeacher()).body, "<br />\r\n运动员报名还未开始，请稍后再试！"));

  OpenMeet(AthleteSql(1, "甲", 1, 101, 1, {1101}) + AthleteSql(2, "乙", 1, 101, 1, {}), 1);
  SessionCookie session = LoginTeacher();
  std::string page = Get("/ShowClass.html", session).body;
  EXPECT_TRUE(Has(page, "<br />\r\n运动员报名已经截止！"));
  EXPECT_TRUE(Has(page, "男子运动员：（"));
  EXPECT_TRUE(Has(page, "<tr><td align=\"center\">2</td>\r\n         <td align=\"center\">乙</td>\r\n<td>"));
  for (const char* part : {"还可报", "DelST.html", "BoyEnroll.html?id="}) EXPECT_FALSE(Has(page, part)) << part;
  // The enrol page is still served; the registration itself refuses.
  EXPECT_TRUE(Has(Get("/BoyEnroll.html", session).body, "name=\"stname\""));
}

TEST_F(RegistrationPagesTest, MissingGroupOrClassAnswersThePagesThatSaySo) {
  OpenMeet("DELETE FROM qrtb373 WHERE qrtb375 = 2;");
  SessionCookie girls_only = LoginTeacher(201, "3333");
  const std::string not_ready = "当前运动会未设置完成，无法登陆，请管理员设置运动会！";
  EXPECT_TRUE(Has(Get("/ShowClass.html", girls_only).body, not_ready));
  EXPECT_TRUE(Has(Get("/GirlEnroll.html", girls_only).body, not_ready));

  SessionCookie session = LoginTeacher();
  {
    DataGuard hold(DataLock);
    Model().ClassList.erase(Model().ClassList.begin());  // class 101, deleted while its teacher is signed in
  }
  EXPECT_TRUE(Has(Get("/ShowClass.html", session).body, "数据错误，原因是因为1.4版本之前因为没有处理好浏览器两次提交的问题"));
  EXPECT_TRUE(Has(Get("/BoyEnroll.html", session).body, not_ready));
  std::string frame = Post("/DelST.html", "sex=1", session).body;
  EXPECT_TRUE(Has(frame, "<strong id=\"bjmc\"></strong>"));
  EXPECT_TRUE(Has(frame, "id=\"lingdui\" size=\"12\" maxlength=\"50\" value=\"\""));
}

TEST_F(RegistrationPagesTest, LeaderBoxSavesANameAndRefusesOneTheFilterEmptied) {
  OpenMeet();
  SessionCookie teacher = LoginTeacher();
  EXPECT_EQ(Get("/AddLingDui.html?name=%D5%C5", teacher).body, "ok");  // 张 as a gb2312 page sends it
  EXPECT_EQ(Get("/AddLingDui.html?name=a%2Fb", teacher).body, "error");
  EXPECT_TRUE(Has(Get("/ShowClass.html", teacher).body, "value=\"张\""));
  EXPECT_EQ(Get("/AddLingDui.html?name=", teacher).body, "ok");  // an empty box clears it
  EXPECT_FALSE(Has(Get("/ShowClass.html", teacher).body, "value=\"张\""));
}

TEST_F(RegistrationPagesTest, AClassPasswordIsNeverEmptyOrShort) {
  OpenMeet();
  SessionCookie teacher = LoginTeacher();
  const std::pair<const char*, const char*> cases[] = {
      {"oldword=1111&newword=", "ER"},          // empty
      {"oldword=1111&newword=a%27b", "ER"},     // emptied by the field filter
      {"oldword=1111&newword=abc", "ER"},       // shorter than the page allows
      {"oldword=9999&newword=abcd", "ER"},      // wrong old password
      {"oldword=1111&newword=abcd", "OK"},
  };
  for (const auto& [query, answer] : cases) {
    EXPECT_EQ(Get(std::string("/ChangTeacPW.html?") + query, teacher).body, answer) << query;
  }
  // Nobody signs in with a blank password, whatever the account holds.
  {
    DataGuard hold(DataLock);
    MeetConnection().ExecScript("UPDATE qrtb7 SET qrtb10 = '' WHERE qrtb16 = 102");
  }
  SessionCookie session = CookieNumber(Get("/"));
  EXPECT_FALSE(Has(Post("/index.html", "BanJi=102&PassWord=", session).body, "/ShowClass.html"));
  LoginTeacher(101, "abcd");
}

}  // namespace

}  // namespace korva
