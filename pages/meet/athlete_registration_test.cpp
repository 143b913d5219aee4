#include "pages/meet/athlete_registration.h"

#include <gtest/gtest.h>

#include <string>

#include "database/data_lock.h"
#include "tests/testing/registration_meet.h"

namespace korva {

namespace {

LoginNode Session(int role, int class_id = 101, int grade_id = 1) {
  LoginNode session;
  session.Role = role;
  session.GradeId = grade_id;
  session.ClassId = class_id;
  return session;
}
const LoginNode kTeacher = Session(kRoleClassTeacher);
const LoginNode kAdmin = Session(kRoleAdmin, 0, 0);

std::string Query(int stid, int sex, const std::string& name, std::initializer_list<int> events,
                  int class_id = 101) {
  std::string query = "/AddStudent.html?stid=" + std::to_string(stid) + "&stxb=" + std::to_string(sex) +
                      "&Tname1=" + name + "&NjId=1&BjId=" + std::to_string(class_id) + "&";
  for (int event : events) query += "STBC1=" + std::to_string(event) + "&";
  return query + "an=123";
}

std::string Tip(const std::string& text) { return "<p><img src=\"tip.jpg\" />" + text + "</p>"; }

class RegistrationCheckTest : public ::testing::Test {
 protected:
  void Open(const std::string& extra_sql = {}, int closed = 0) { OpenRegistrationMeet(fixture_, extra_sql, closed); }
  RegistrationPlan Check(const std::string& query, const LoginNode& session = kTeacher) {
    DataGuard guard(DataLock);
    return CheckAthleteRegistration(ReadAthleteRegistration(query, session), session.Role);
  }
  std::string Refusal(const std::string& query, const LoginNode& session = kTeacher) {
    return Check(query, session).refusal;
  }
  MeetFixture fixture_;
};

TEST_F(RegistrationCheckTest, NameSexAndClass) {
  Open();
  const std::string bad_data = Tip("网页提交的数据有错误！(002)");
  EXPECT_EQ(Check(Query(0, 1, "%B3%C2+%D0%A1%20%C3%F7", {901})).athlete.Name, "陈小明");
  EXPECT_EQ(Refusal(Query(0, 1, "%B3%C2%D0%A1%C3%F7%B3%C2%D0%A1", {901})), "");  // 10 bytes
  EXPECT_EQ(Refusal(Query(0, 1, "%B3%C2%D0%A1%C3%F7%B3%C2%D0%A1a", {901})), bad_data);
  EXPECT_EQ(Refusal(Query(0, 1, "", {901})), bad_data);
  EXPECT_EQ(Refusal(Query(0, 3, "abc", {901})), bad_data);
  EXPECT_EQ(Refusal(Query(0, 1, "a%27b", {901})), bad_data);  // emptied by the field filter
  EXPECT_EQ(Check(Query(0, 1, "a%3Fb", {901})).athlete.Name, "a？b");

  const std::string missing = Tip("您提交的数据有问题！请重新登陆再报名");
  EXPECT_EQ(Refusal(Query(0, 1, "abc", {901}, 999), kAdmin), missing);
  EXPECT_EQ(Refusal(Query(0, 1, "abc", {901}), Session(kRoleClassTeacher, 201, 2)), missing);  // no boys' group
  EXPECT_EQ(Refusal(Query(0, 1, "abc", {901}, 999)), "");  // a teacher's BjId is ignored
}

TEST_F(RegistrationCheckTest, NamesAndEditsStayWithinTheirClassAndSex) {
  Open(AthleteSql(1, "abc", 1, 101, 1, {1101}) + AthleteSql(2, "xyz", 1, 102, 1, {}));
  EXPECT_EQ(Refusal(Query(0, 1, "abc", {901})),
            Tip("学生姓名重复，报名失败！") +
                "<p>如果您需要修改该运动员的比赛项目，请在班级主页中点击该运动员姓名后，在打开的网页中即可修改！</p>");
  EXPECT_EQ(Refusal(Query(0, 2, "abc", {901})), "");
  EXPECT_EQ(Refusal(Query(0, 1, "xyz", {901})), "");
  EXPECT_EQ(Refusal(Query(1, 1, "abc", {901})), "");
  const std::string not_in_class = Tip("网页提交的数据有错误！(001)");
  EXPECT_EQ(Refusal(Query(1, 2, "abc", {901})), not_in_class);
  EXPECT_EQ(Refusal(Query(1, 1, "abc", {901}), Session(kRoleClassTeacher, 102)), not_in_class);
  EXPECT_EQ(Refusal(Query(77, 1, "new", {901})), not_in_class);
}

TEST_F(RegistrationCheckTest, GroupQuotaAndWhereANewAthleteGoes) {
  Open(AthleteSql(1, "a1", 1, 101, 1, {}) + AthleteSql(2, "a2", 1, 101, 1, {}) +
       AthleteSql(3, "c1", 1, 102, 1, {}) + AthleteSql(4, "d1", 2, 201, 2, {}));
  RegistrationPlan last = Check(Query(0, 1, "a3", {901}));
  EXPECT_EQ(last.refusal, "");
  EXPECT_TRUE(last.group_full_after);
  EXPECT_EQ(last.insert_at, 2u);
  RegistrationPlan girl = Check(Query(0, 2, "g1", {}));
  EXPECT_FALSE(girl.group_full_after);
  EXPECT_EQ(girl.insert_at, 2u);  // after the last boy of the class
  EXPECT_EQ(Check(Query(0, 2, "g1", {}), Session(kRoleClassTeacher, 102)).insert_at, 3u);

  Open(AthleteSql(1, "a1", 1, 101, 1, {}) + AthleteSql(2, "a2", 1, 101, 1, {}) +
       AthleteSql(3, "a3", 1, 101, 1, {}) + AthleteSql(5, "g1", 1, 102, 2, {}));
  EXPECT_EQ(Refusal(Query(0, 1, "a4", {901})), Tip("报名人数超过每组限报人数，报名失败！"));
  RegistrationPlan edit = Check(Query(2, 1, "a2", {901}));
  EXPECT_EQ(edit.refusal, "");
  EXPECT_TRUE(edit.group_full_after);
  // A boy of a class that has only girls goes before them.
  EXPECT_EQ(Check(Query(0, 1, "b1", {}), Session(kRoleClassTeacher, 102)).insert_at, 3u);
}

TEST_F(RegistrationCheckTest, EntrantsPerIndividualEventAndTeam) {
  // a1 holds 100米 last in his list; the girl's 100米 and class 102's are other entries.
  std::string sql = "UPDATE qrtb373 SET qrtb377 = 8;\n" + AthleteSql(1, "a1", 1, 101, 1, {1102, 1101, 1105}) +
                    AthleteSql(5, "g1", 1, 101, 2, {1201}) + AthleteSql(6, "b102", 1, 102, 1, {1101});
  for (int i = 2; i <= 3; ++i) sql += AthleteSql(i, "a" + std::to_string(i), 1, 101, 1, {1105});
  Open(sql);
  EXPECT_EQ(Refusal(Query(0, 1, "a4", {901, 905})), "");  // the second 100米 and the fourth relay place
  Open(sql + AthleteSql(4, "a4", 1, 101, 1, {1101, 1105}));
  EXPECT_EQ(Refusal(Query(0, 1, "a5", {902, 901})), Tip("报名失败！当前竞赛组每项限报2人,[100米]已经有2人报名！"));
  EXPECT_EQ(Refusal(Query(0, 1, "a5", {905})),
            "<p><img src=\"tip.jpg\" />报名失败！[4x100米接力]团体比赛限制4参加，已经有4人报名！<p>");
  // The edited athlete's own entries are not counted against him, and a
  // team event counts as neither single nor combined.
  EXPECT_EQ(Refusal(Query(4, 1, "a4", {901, 902, 905})), "");
}

TEST_F(RegistrationCheckTest, MixedTeamCountsBothSexesOfTheClass) {
  std::string sql = "UPDATE qrtb373 SET qrtb377 = 8;\n" + AthleteSql(1, "b1", 1, 101, 1, {1106}) +
                    AthleteSql(2, "b2", 1, 101, 1, {1106}) + AthleteSql(3, "g1", 1, 101, 2, {1206});
  Open(sql);
  EXPECT_EQ(Refusal(Query(0, 1, "b3", {906})), "");  // only the whole team is counted
  Open(sql + AthleteSql(4, "g2", 1, 101, 2, {1206}));
  const std::string full = Tip("报名失败！[男女混合接力]男女混和团体比赛限制4参加，已经有4人报名！");
  EXPECT_EQ(Refusal(Query(0, 1, "b3", {906})), full);
  EXPECT_EQ(Refusal(Query(0, 2, "g3", {906})), full);
  EXPECT_EQ(Refusal(Query(0, 1, "b3", {906}), Session(kRoleClassTeacher, 102)), "");
  // A grade with only a girls' group has no team limit at all.
  Open(AthleteSql(7, "x1", 2, 201, 2, {2206}) + AthleteSql(8, "x2", 2, 201, 2, {2206}) +
       AthleteSql(9, "x3", 2, 201, 2, {2206}) + AthleteSql(10, "x4", 2, 201, 2, {2206}) +
       "UPDATE qrtb373 SET qrtb377 = 8;");
  EXPECT_EQ(Refusal(Query(0, 2, "x5", {906}), Session(kRoleClassTeacher, 201, 2)), "");
}

TEST_F(RegistrationCheckTest, EventsPerAthleteAndTheEntryList) {
  Open();
  EXPECT_EQ(Refusal(Query(0, 1, "a", {901, 902, 905, 906})), "");
  EXPECT_EQ(Refusal(Query(0, 1, "a", {901, 902, 903})), Tip("报名失败！单项比赛只能报2项，不能再报其他项目！"));
  EXPECT_EQ(Refusal(Query(0, 1, "a", {904, 901})), "");
  EXPECT_EQ(Refusal(Query(0, 1, "a", {904, 901, 902})),
            "<p><img src=\"tip.jpg\" />报名失败！参加全能比赛只能报2项，不能再报其他项目！<p>");
  const std::string bad_event = Tip("网页提交的数据有错误！");
  EXPECT_EQ(Refusal(Query(0, 1, "a", {901, 999})), bad_event);
  std::string thirty_one = "/AddStudent.html?stid=0&stxb=1&Tname1=a&NjId=1&BjId=101&";
  for (int i = 0; i < 31; ++i) thirty_one += "STBC1=905&";
  EXPECT_EQ(Refusal(thirty_one, Session(kRoleAdmin)), bad_event);
  RegistrationPlan none = Check(Query(0, 1, "a", {}));
  EXPECT_EQ(none.refusal, "");
  EXPECT_TRUE(none.athlete.ContestIds.empty());
}

}  // namespace

}  // namespace korva
