// Registration over loopback: the class teacher's home page, registering,
// editing and deleting athletes, and the entry listings, each checked in
// the file and in AthleteList.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "database/lookups.h"
#include "tests/http/server_fixture.h"

namespace korva {

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

class RegistrationPagesTest : public RegistrationServerTest {};

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

class RegistrationAddTest : public RegistrationServerTest {};

const std::string kTeacherBack = "<div class=\"TabDivBai\"><a href=\"ShowClass.html\">返回班级首面</a></div>";
const char* const kEntriesOf1 = "SELECT qrtb399 FROM qrtb397 WHERE qrtb400 = 1 ORDER BY rowid";

TEST_F(RegistrationAddTest, TeacherRegistersAthletesUntilTheGroupIsFull) {
  OpenMeet(AthleteSql(1, "甲", 1, 101, 1, {}) + AthleteSql(9, "丙", 1, 102, 1, {}));
  SessionCookie session = LoginTeacher();
  HttpResponse second = Get(AddPath(0, 1, "乙", {902, 901, 905}), session);
  EXPECT_EQ(second.Header("Content-Type"), "text/html; charset=gb2312");
  EXPECT_EQ(second.body,
            "<p><img src=\"tip.jpg\" />报名成功，报名信息如下：</p><p>姓名：乙,报名的比赛：跳远，100米，4x100米接力，。</p><br />"
            "<div class=\"TabDivBai\"><a href=\"BoyEnroll.html\">继续报名</a></div>" + kTeacherBack);
  EXPECT_THAT(Stored("SELECT qrtb399 FROM qrtb397 JOIN qrtb409 ON qrtb400 = qrtb411 WHERE qrtb410 = '乙' ORDER BY qrtb397.rowid"),
              ElementsAre("1102", "1101", "1105"));
  // Linked after the last boy of the class, before the next class.
  EXPECT_THAT(ListedNames(), ElementsAre("甲", "乙", "丙"));

  // The name of the maximum length (10 GBK bytes) is the last athlete the group takes.
  EXPECT_EQ(Get(AddPath(0, 1, "欧阳小明明", {903}), session).body,
            "<p><img src=\"tip.jpg\" />报名成功，报名信息如下：</p><p>姓名：欧阳小明明,报名的比赛：铅球，。</p><br />"
            "<p><img src=\"tip.jpg\" />男子竞赛组已报满，请返回班级首页！</p>" + kTeacherBack);
  EXPECT_EQ(Get(AddPath(0, 1, "戊", {903}), session).body,
            "<p><img src=\"tip.jpg\" />报名人数超过每组限报人数，报名失败！</p>" + kTeacherBack);
  // A name with HTML is stored as typed and escaped in the reply; a girl
  // goes after the boys of her class.
  HttpResponse html = Get(AddPath(0, 2, "<xmp>", {901}), session);
  EXPECT_THAT(html.body, HasSubstr("姓名：&lt;xmp&gt;,"));
  EXPECT_THAT(html.body, Not(HasSubstr("<xmp>")));
  EXPECT_THAT(ListedNames(), ElementsAre("甲", "乙", "欧阳小明明", "<xmp>", "丙"));
  EXPECT_THAT(Stored("SELECT qrtb410 FROM qrtb409 ORDER BY qrtb411"),
              ElementsAre("甲", "丙", "乙", "欧阳小明明", "<xmp>"));
}

TEST_F(RegistrationAddTest, EditMovesAnAthleteBetweenEventsAndFreesItsOldPlace) {
  OpenMeet(AthleteSql(1, "甲", 1, 101, 1, {1101, 1102}, 5) + AthleteSql(2, "乙", 1, 101, 1, {1101}));
  SessionCookie session = LoginTeacher();
  EXPECT_THAT(Get(AddPath(0, 1, "丙", {901}), session).body, HasSubstr("[100米]已经有2人报名！"));
  EXPECT_THAT(Get(AddPath(1, 1, "甲二", {903, 902}), session).body, HasSubstr("姓名：甲二,报名的比赛：铅球，跳远，。"));
  EXPECT_THAT(Stored(kEntriesOf1), ElementsAre("1103", "1102"));
  EXPECT_THAT(Stored("SELECT qrtb410 FROM qrtb409 WHERE qrtb411 = 1"), ElementsAre("甲二"));
  {
    DataGuard hold(DataLock);
    const AthleteNode& edited = *FindAthleteById(1);
    EXPECT_EQ(edited.Name, "甲二");
    EXPECT_EQ(edited.Bib, 5);  // the bib number stays
    EXPECT_THAT(edited.ContestIds, ElementsAre(1103, 1102));
  }
  EXPECT_THAT(Get(AddPath(0, 1, "丙", {901}), session).body, HasSubstr("报名成功"));
}

TEST_F(RegistrationAddTest, ClosedRegistrationRefusesTeachersButNotTheAdministrator) {
  OpenMeet(AthleteSql(1, "甲", 1, 101, 1, {1101}), 1);
  SessionCookie teacher = LoginTeacher();
  const std::string closed = "<p><img src=\"tip.jpg\" />运动员报名已经截止！</p>" + kTeacherBack;
  EXPECT_EQ(Get(AddPath(0, 1, "乙", {901}), teacher).body, closed);
  EXPECT_EQ(Get(AddPath(1, 1, "甲", {902}), teacher).body, closed);
  EXPECT_THAT(Stored(kEntriesOf1), ElementsAre("1101"));

  {
    DataGuard hold(DataLock);
    Model().LaneList.emplace_back();  // heats are drawn
  }
  SessionCookie admin = LoginAdmin();
  EXPECT_THAT(Get(AddPath(0, 2, "乙", {901}, 102), admin).body,
              HasSubstr("<div class=\"TabDivBai\"><a href=\"javascript:GetGnStr(2)\">继续新增运动员</a></div>"
                        "<div class=\"TabDivBai\"><a href=\"Adft.html\">返回</a></div><br /><img src=\"tip.jpg\" />"
                        "提示：系统检查到当前已经生成比赛安排，但该学生并未被编排进比赛，请报名结束后到“秩序册管理”中"
                        "重新生成一下秩序册，\t\t\t\t\t放心，已经安排好的比赛与号码并不会发生变化，只有新报名的比赛会被重新安排。"));
  EXPECT_THAT(Stored("SELECT qrtb413 || '-' || qrtb414 || '-' || qrtb415 || '-' || qrtb412 FROM qrtb409 WHERE qrtb410 = '乙'"),
              ElementsAre("1-102-2-0"));
  EXPECT_EQ(Get(AddPath(0, 1, "丁", {999}), admin).body,
            "<p><img src=\"tip.jpg\" />网页提交的数据有错误！</p><div class=\"TabDivBai\"><a href=\"Adft.html\">返回</a></div>");
}

class RegistrationDeleteTest : public RegistrationServerTest {
 protected:
  // Boys 甲 乙 丙 and girl 丁 of class 101, boy 戊 of class 102; 乙 has a
  // result, 甲 a lane without one.
  SessionCookie Open(int closed = 0) {
    OpenMeet(AthleteSql(1, "甲", 1, 101, 1, {1101}) + AthleteSql(2, "乙", 1, 101, 1, {1101}) +
                 AthleteSql(3, "丙", 1, 101, 1, {}) + AthleteSql(4, "丁", 1, 101, 2, {}) +
                 AthleteSql(5, "戊", 1, 102, 1, {}) +
                 "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450) VALUES (1, 1101, 3, 0, 1, 1);"
                 "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486) VALUES"
                 " (1, 1, 1, 1, 1, NULL, 0), (2, 1, 1, 2, 2, 1234, 0);",
             closed);
    return LoginTeacher();
  }
  std::vector<std::string> StoredNames() { return Stored("SELECT qrtb410 FROM qrtb409 ORDER BY qrtb411"); }
};

TEST_F(RegistrationDeleteTest, DeletesTheTickedAthletesAndKeepsThoseWithAResult) {
  SessionCookie session = Open();
  HttpResponse reply = Post("/DelST.html", "sex=1&manc1=1&manc1=2&manc1=3", session);
  EXPECT_THAT(reply.body, HasSubstr("<tr><td class=\"bstdd\"><img src=\"error.jpg\" /><br>"
                                    "[乙]已经有成绩，不允许删除！<br />\r\n</td></tr>"));
  EXPECT_THAT(reply.body, HasSubstr("请返回班级首页查看！"));
  EXPECT_THAT(ListedNames(), ElementsAre("乙", "丁", "戊"));
  EXPECT_THAT(StoredNames(), ElementsAre("乙", "丁", "戊"));
  EXPECT_THAT(Stored("SELECT qrtb400 FROM qrtb397"), ElementsAre("2"));
  EXPECT_THAT(Stored("SELECT qrtb484 FROM qrtb479"), ElementsAre("2"));  // 甲's lane went with him

  // Unknown ids are passed over; all gone answers the redirect home.
  HttpResponse done = Post("/DelST.html", "sex=2&mmc1=99&mmc1=4", session);
  EXPECT_THAT(done.body, HasSubstr("window.location.href='/ShowClass.html';"));
  EXPECT_THAT(StoredNames(), ElementsAre("乙", "戊"));
}

TEST_F(RegistrationDeleteTest, ARequestStopsAtTheFirstAthleteOfAnotherClass) {
  SessionCookie session = Open();
  // 丙 goes first; the request stops at 戊 of class 102.
  EXPECT_THAT(Post("/DelST.html", "sex=1&manc1=3&manc1=5&manc1=1", session).body,
              HasSubstr("<br>非法的操作</td></tr>"));
  EXPECT_THAT(StoredNames(), ElementsAre("甲", "乙", "丁", "戊"));
}

class EntryListingsTest : public RegistrationServerTest {
 protected:
  // Class 101: boys 甲 (100米, relay) and 张三 (100米, combined), girl 李四
  // (mixed relay); class 102: boy 王五 (100米); class 201 (girls only):
  // seven girls in 100米, four of them also in the mixed relay.
  void OpenListedMeet() {
    std::string athletes = AthleteSql(1, "甲", 1, 101, 1, {1101, 1105}) + AthleteSql(2, "张三", 1, 101, 1, {1101, 1104}) +
                           AthleteSql(3, "李四", 1, 101, 2, {1206}) + AthleteSql(4, "王五", 1, 102, 1, {1101});
    for (int id = 5; id <= 11; ++id) {
      athletes += id <= 8 ? AthleteSql(id, "女" + std::to_string(id), 2, 201, 2, {2201, 2206})
                          : AthleteSql(id, "女" + std::to_string(id), 2, 201, 2, {2201});
    }
    OpenMeet(athletes);
  }
};



TEST_F(EntryListingsTest, ByEventListsEachContestWithItsPlacesAndAMixedTeamOnce) {
  OpenListedMeet();
  const std::string page = Get("/ShowBaoMing2.html", LoginAdmin()).body;
  for (const char* part : {
           "1、一年级男子100米(<font color=\"#FF0000\">可报4人,已报3人</font>)<br />\r\n"
           // A four-byte name is padded.
           "一年级01班&nbsp;甲&nbsp;&nbsp;&nbsp;&nbsp;一年级01班&nbsp;张三&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;"
           "一年级02班&nbsp;王五&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<br /><br />\r\n"
           "2、一年级女子100米(<font color=\"#FF0000\">可报4人,已报0人</font>)<br />\r\n<br /><br />\r\n"
           "3、二年级女子100米(<font color=\"#FF0000\">可报2人,已报7人</font>)<br />\r\n",
           // Six entrants to a line.
           "二年级01班&nbsp;女10&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<br />\r\n"
           "二年级01班&nbsp;女11&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<br /><br />\r\n",
           "一年级男子4x100米接力[团队](<font color=\"#FF0000\">可报8人,已报1人</font>)",
           // Boys' and girls' entrants of the mixed relay together, under the girls' contest.
           "一年级男女混合接力[混团](<font color=\"#FF0000\">可报8人,已报1人</font>)<br />\r\n一年级01班&nbsp;李四",
           // As many entrants as places: not red.
           "二年级男女混合接力[混团](可报4人,已报4人)<br />\r\n"}) {
    EXPECT_TRUE(Has(page, part)) << part;
  }
  EXPECT_EQ(CountOf(page, "一年级男女混合接力"), 1u);
  EXPECT_EQ(CountOf(page, "、一年级"), 11u);  // 2 groups x 6 events, the mixed pair once
}

TEST_F(EntryListingsTest, AClassTeacherSeesEveryClassOfHisGradeAndNoOther) {
  OpenListedMeet();
  const SessionCookie teacher = LoginTeacher();
  const std::string by_class = Get("/ShowBaoMing.html", teacher).body;
  for (const char* part : {"一年级01班：", "一年级02班：", "<strong id=\"bjmc\">一年级01班</strong>", "请返回班级首页查看！"}) {
    EXPECT_TRUE(Has(by_class, part)) << part;
  }
  EXPECT_FALSE(Has(by_class, "二年级"));
  const std::string by_event = Get("/ShowBaoMing2.html", teacher).body;
  EXPECT_TRUE(Has(by_event, "1、一年级男子100米("));
  EXPECT_TRUE(Has(by_event, "2、一年级女子100米("));
  EXPECT_TRUE(Has(by_event, "11、一年级男女混合接力[混团]"));
  EXPECT_FALSE(Has(by_event, "二年级"));
}

}  // namespace

}  // namespace korva
