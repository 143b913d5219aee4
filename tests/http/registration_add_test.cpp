// Registering and editing athletes through /AddStudent.html over loopback:
// what is stored, where it lands in AthleteList and what the reply says.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "database/lookups.h"
#include "tests/http/registration_fixture.h"

namespace {

using ::testing::ElementsAre;

class RegistrationAddTest : public RegistrationServerTest {};

const char* const kTeacherBack = "<div class=\"TabDivBai\"><a href=\"ShowClass.html\">返回班级首面</a></div>";

TEST_F(RegistrationAddTest, TeacherRegistersAthletesUntilTheGroupIsFull) {
  OpenMeet(AthleteSql(1, "甲", 1, 101, 1, {}) + AthleteSql(9, "丙", 1, 102, 1, {}));
  int session = LoginTeacher();
  HttpResponse second = Get(AddPath(0, 1, "乙", {902, 901, 905}), session);
  EXPECT_EQ(second.Header("Content-Type"), "text/html; charset=gb2312");
  EXPECT_EQ(second.body,
            "<p><img src=\"tip.jpg\" />报名成功，报名信息如下：</p><p>姓名：乙,报名的比赛：跳远，100米，4x100米接力，。</p><br />"
            "<div class=\"TabDivBai\"><a href=\"BoyEnroll.html\">继续报名</a></div>" +
                std::string(kTeacherBack));
  int id = StoredAthleteId("乙");
  ASSERT_GT(id, 0);
  EXPECT_THAT(StoredEntries(id), ElementsAre(1102, 1101, 1105));
  // Linked after the last boy of the class, before the next class.
  EXPECT_THAT(ListedNames(), ElementsAre("甲", "乙", "丙"));

  HttpResponse third = Get(AddPath(0, 1, "丁", {903}), session);
  EXPECT_NE(third.body.find("<p><img src=\"tip.jpg\" />男子竞赛组已报满，请返回班级首页！</p>" + std::string(kTeacherBack)),
            std::string::npos)
      << third.body;
  HttpResponse fourth = Get(AddPath(0, 1, "戊", {903}), session);
  EXPECT_EQ(fourth.body, "<p><img src=\"tip.jpg\" />报名人数超过每组限报人数，报名失败！</p>" + std::string(kTeacherBack));
  EXPECT_EQ(StoredAthleteId("戊"), 0);
  // A girl goes after the boys of her class.
  Get(AddPath(0, 2, "己", {901}), session);
  EXPECT_THAT(ListedNames(), ElementsAre("甲", "乙", "丁", "己", "丙"));
}

TEST_F(RegistrationAddTest, EditMovesAnAthleteBetweenEventsAndFreesItsOldPlace) {
  OpenMeet(AthleteSql(1, "甲", 1, 101, 1, {1101, 1102}, 5) + AthleteSql(2, "乙", 1, 101, 1, {1101}));
  int session = LoginTeacher();
  // 100米 is full (two of two) for a third boy.
  HttpResponse refused = Get(AddPath(0, 1, "丙", {901}), session);
  EXPECT_NE(refused.body.find("[100米]已经有2人报名！"), std::string::npos);
  HttpResponse moved = Get(AddPath(1, 1, "甲二", {903, 902}), session);
  EXPECT_NE(moved.body.find("姓名：甲二,报名的比赛：铅球，跳远，。"), std::string::npos) << moved.body;
  EXPECT_THAT(StoredEntries(1), ElementsAre(1103, 1102));
  EXPECT_EQ(StoredAthleteId("甲二"), 1);
  {
    DataGuard hold(DataLock);
    const AthleteNode& edited = *FindAthleteById(1);
    EXPECT_EQ(edited.Name, "甲二");
    EXPECT_EQ(edited.Bib, 5);  // the bib number stays
    EXPECT_THAT(edited.ContestIds, ElementsAre(1103, 1102));
  }
  EXPECT_NE(Get(AddPath(0, 1, "丙", {901}), session).body.find("报名成功"), std::string::npos);
}

TEST_F(RegistrationAddTest, MixedTeamOverBothSexesOfTheClass) {
  OpenMeet("UPDATE qrtb373 SET qrtb377 = 6;");
  int session = LoginTeacher();
  for (const char* boy : {"男甲", "男乙"}) Get(AddPath(0, 1, boy, {906}), session);
  Get(AddPath(0, 2, "女甲", {906}), session);
  HttpResponse fourth = Get(AddPath(0, 2, "女乙", {906}), session);
  EXPECT_NE(fourth.body.find("报名成功"), std::string::npos);
  HttpResponse fifth = Get(AddPath(0, 1, "男丙", {906}), session);
  EXPECT_EQ(fifth.body,
            "<p><img src=\"tip.jpg\" />报名失败！[男女混合接力]男女混和团体比赛限制4参加，已经有4人报名！</p>" +
                std::string(kTeacherBack));
  // Another class has its own team.
  int other = LoginTeacher(102, "2222");
  EXPECT_NE(Get(AddPath(0, 1, "男丙", {906}), other).body.find("报名成功"), std::string::npos);
}

TEST_F(RegistrationAddTest, NameOfTheMaximumGbkLengthIsStoredAndOneByteMoreIsRefused) {
  OpenMeet();
  int session = LoginTeacher();
  HttpResponse longest = Get(AddPath(0, 1, "欧阳小明明", {901}), session);
  EXPECT_NE(longest.body.find("报名成功"), std::string::npos);
  EXPECT_GT(StoredAthleteId("欧阳小明明"), 0);
  HttpResponse longer = Get(AddPath(0, 1, "欧阳小明明a", {901}), session);
  EXPECT_EQ(longer.body, "<p><img src=\"tip.jpg\" />网页提交的数据有错误！(002)</p>" + std::string(kTeacherBack));
  EXPECT_EQ(StoredAthleteCount(), 1);
}

TEST_F(RegistrationAddTest, NameWithHtmlIsStoredAsTypedAndEscapedInTheReply) {
  OpenMeet();
  int session = LoginTeacher();
  HttpResponse reply = Get(AddPath(0, 1, "<xmp>", {901}), session);
  EXPECT_NE(reply.body.find("姓名：&lt;xmp&gt;,"), std::string::npos) << reply.body;
  EXPECT_EQ(reply.body.find("<xmp>"), std::string::npos);
  EXPECT_GT(StoredAthleteId("<xmp>"), 0);
  // A name the field filter empties is explained, and nothing is stored.
  HttpResponse slash = Get(AddPath(0, 1, "a/b", {901}), session);
  EXPECT_NE(slash.body.find("运动员姓名中不能含有"), std::string::npos);
  EXPECT_EQ(StoredAthleteCount(), 1);
}

TEST_F(RegistrationAddTest, ClosedRegistrationRefusesTeachersButNotTheAdministrator) {
  OpenMeet(AthleteSql(1, "甲", 1, 101, 1, {1101}), 1);
  int teacher = LoginTeacher();
  const std::string closed = "<p><img src=\"tip.jpg\" />运动员报名已经截止！</p>" + std::string(kTeacherBack);
  EXPECT_EQ(Get(AddPath(0, 1, "乙", {901}), teacher).body, closed);
  EXPECT_EQ(Get(AddPath(1, 1, "甲", {902}), teacher).body, closed);
  EXPECT_THAT(StoredEntries(1), ElementsAre(1101));

  {
    DataGuard hold(DataLock);
    meet_->MeetSql(meet_id_, "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb484) VALUES (1, 1, 1);");
    Model().LaneList.emplace_back();
  }
  int admin = LoginAdmin();
  HttpResponse reply = Get(AddPath(0, 2, "乙", {901}, 1, 102), admin);
  EXPECT_NE(reply.body.find("<div class=\"TabDivBai\"><a href=\"javascript:GetGnStr(2)\">继续新增运动员</a></div>"
                            "<div class=\"TabDivBai\"><a href=\"Adft.html\">返回</a></div>"
                            "<br /><img src=\"tip.jpg\" />提示：系统检查到当前已经生成比赛安排"),
            std::string::npos)
      << reply.body;
  EXPECT_NE(reply.body.find("重新生成一下秩序册，\t\t\t\t\t放心，"), std::string::npos);
  int id = StoredAthleteId("乙");
  ASSERT_GT(id, 0);
  DataGuard hold(DataLock);
  Statement st(MeetConnection(), "SELECT qrtb413, qrtb414, qrtb415, qrtb412 FROM qrtb409 WHERE qrtb411 = ?");
  st.Bind(id);
  ASSERT_TRUE(st.Next());
  EXPECT_EQ(st.ReadIntField(0), 1);
  EXPECT_EQ(st.ReadIntField(1), 102);
  EXPECT_EQ(st.ReadIntField(2), 2);
  EXPECT_EQ(st.ReadIntField(3), 0);
}

TEST_F(RegistrationAddTest, AdministratorRefusalLinksBackToTheAdvancedPage) {
  OpenMeet();
  int admin = LoginAdmin();
  HttpResponse reply = Get(AddPath(0, 1, "甲", {999}), admin);
  EXPECT_EQ(reply.body,
            "<p><img src=\"tip.jpg\" />网页提交的数据有错误！</p><div class=\"TabDivBai\"><a href=\"Adft.html\">返回</a></div>");
}

TEST_F(RegistrationAddTest, FailedWriteLeavesNeitherFileNorListChanged) {
  OpenMeet(AthleteSql(1, "甲", 1, 101, 1, {1101}));
  {
    DataGuard hold(DataLock);
    ASSERT_TRUE(MeetConnection().ExecScript(
        "CREATE TRIGGER refuse_entries BEFORE INSERT ON qrtb397 BEGIN SELECT RAISE(ABORT, 'refused'); END;"));
  }
  int session = LoginTeacher();
  HttpResponse reply = Get(AddPath(0, 1, "乙", {902}), session);
  EXPECT_EQ(reply.body,
            "<p><img src=\"tip.jpg\" />读写数据库时出现错误！（007）请联系管理员！</p>" + std::string(kTeacherBack));
  EXPECT_EQ(StoredAthleteCount(), 1);
  EXPECT_THAT(ListedNames(), ElementsAre("甲"));
  // An edit that fails keeps the old entries in the file and the list.
  Get(AddPath(1, 1, "甲", {902}), session);
  EXPECT_THAT(StoredEntries(1), ElementsAre(1101));
  DataGuard hold(DataLock);
  EXPECT_THAT(Model().AthleteList[0].ContestIds, ElementsAre(1101));
}

}  // namespace
