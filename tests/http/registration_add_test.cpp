// Registering and editing athletes through /AddStudent.html over loopback:
// what is stored, where it lands in AthleteList and what the reply says.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "database/lookups.h"
#include "tests/http/server_fixture.h"

namespace korva {

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

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

TEST_F(RegistrationAddTest, FailedWriteLeavesNeitherFileNorListChanged) {
  OpenMeet(AthleteSql(1, "甲", 1, 101, 1, {1101}));
  {
    DataGuard hold(DataLock);
    ASSERT_TRUE(MeetConnection().ExecScript(
        "CREATE TRIGGER refuse_entries BEFORE INSERT ON qrtb397 BEGIN SELECT RAISE(ABORT, 'refused'); END;"));
  }
  SessionCookie session = LoginTeacher();
  EXPECT_EQ(Get(AddPath(0, 1, "乙", {902}), session).body,
            "<p><img src=\"tip.jpg\" />读写数据库时出现错误！（007）请联系管理员！</p>" + kTeacherBack);
  EXPECT_THAT(Stored("SELECT qrtb410 FROM qrtb409"), ElementsAre("甲"));
  EXPECT_THAT(ListedNames(), ElementsAre("甲"));
  // An edit that fails keeps the old entries in the file and the list.
  Get(AddPath(1, 1, "甲", {902}), session);
  EXPECT_THAT(Stored(kEntriesOf1), ElementsAre("1101"));
  DataGuard hold(DataLock);
  EXPECT_THAT(Model().AthleteList[0].ContestIds, ElementsAre(1101));
}

}  // namespace

}  // namespace korva
