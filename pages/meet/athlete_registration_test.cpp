#include "pages/meet/athlete_registration.h"

#include <gtest/gtest.h>

#include <string>

#include "database/data_lock.h"
#include "tests/testing/meet_fixture.h"
#include "tests/testing/registration_meet.h"

namespace {

LoginNode Session(int role, int class_id = 101, int grade_id = 1) {
  LoginNode session;
  session.Role = role;
  session.GradeId = grade_id;
  session.ClassId = class_id;
  return session;
}

std::string Query(int stid, int sex, const std::string& name, std::initializer_list<int> events,
                  int grade = 1, int class_id = 101) {
  std::string query = "/AddStudent.html?stid=" + std::to_string(stid) + "&stxb=" + std::to_string(sex) +
                      "&Tname1=" + name + "&NjId=" + std::to_string(grade) +
                      "&BjId=" + std::to_string(class_id) + "&";
  for (int event : events) query += "STBC1=" + std::to_string(event) + "&";
  return query + "an=123";
}

class RegistrationCheckTest : public ::testing::Test {
 protected:
  void Open(const std::string& extra_sql = {}, int closed = 0) {
    FixtureMeetSettings settings;
    settings.RegistrationClosed = closed;
    fixture_.OpenNewMeet(RegistrationMeetSql() + extra_sql, settings);
  }

  RegistrationPlan Check(const std::string& query, const LoginNode& session = Session(kRoleClassTeacher)) {
    DataGuard guard(DataLock);
    return CheckAthleteRegistration(ReadAthleteRegistration(query, session), session.Role);
  }

  std::string Refusal(const std::string& query, const LoginNode& session = Session(kRoleClassTeacher)) {
    return Check(query, session).refusal;
  }

  MeetFixture fixture_;
};

const std::string kBadData = "<p><img src=\"tip.jpg\" />网页提交的数据有错误！(002)</p>";

TEST_F(RegistrationCheckTest, NameIsStrippedOfSpacesAndLimitedToTenBytes) {
  Open();
  RegistrationPlan plan = Check(Query(0, 1, "%B3%C2+%D0%A1%20%C3%F7", {901}));
  EXPECT_EQ(plan.refusal, "");
  EXPECT_EQ(plan.athlete.Name, "陈小明");
  EXPECT_EQ(Refusal(Query(0, 1, "%B3%C2%D0%A1%C3%F7%B3%C2%D0%A1", {901})), "");  // 10 bytes
  EXPECT_EQ(Refusal(Query(0, 1, "%B3%C2%D0%A1%C3%F7%B3%C2%D0%A1a", {901})), kBadData);
  EXPECT_EQ(Refusal(Query(0, 1, "", {901})), kBadData);
  EXPECT_EQ(Refusal(Query(0, 3, "abc", {901})), kBadData);
  // A question mark is kept as the full-width one.
  EXPECT_EQ(Check(Query(0, 1, "a%3Fb", {901})).athlete.Name, "a？b");
}

TEST_F(RegistrationCheckTest, NameEmptiedByTheFieldFilterIsRefusedWithItsReason) {
  Open();
  std::string refusal = Refusal(Query(0, 1, "ab%2Fc", {901}));
  EXPECT_NE(refusal.find("运动员姓名中不能含有"), std::string::npos) << refusal;
  EXPECT_NE(Refusal(Query(0, 1, "a%27b", {901})).find("运动员姓名中不能含有"), std::string::npos);
}

TEST_F(RegistrationCheckTest, ClosedRegistrationStopsTeachersButNotTheAdministrator) {
  Open(AthleteSql(1, "张一", 1, 101, 1, {1101}), 1);
  const std::string closed = "<p><img src=\"tip.jpg\" />运动员报名已经截止！</p>";
  EXPECT_EQ(Refusal(Query(0, 1, "abc", {901})), closed);
  EXPECT_EQ(Refusal(Query(1, 1, "abc", {901})), closed);
  EXPECT_EQ(Refusal(Query(0, 1, "abc", {901}), Session(kRoleAdmin, 0, 0)), "");
}

TEST_F(RegistrationCheckTest, ClassAndGroupMustExist) {
  Open();
  const std::string missing = "<p><img src=\"tip.jpg\" />您提交的数据有问题！请重新登陆再报名</p>";
  EXPECT_EQ(Refusal(Query(0, 1, "abc", {901}, 1, 999), Session(kRoleAdmin, 0, 0)), missing);
  // Grade 2 has no boys' group.
  EXPECT_EQ(Refusal(Query(0, 1, "abc", {901}), Session(kRoleClassTeacher, 201, 2)), missing);
  // The administrator names the class; a teacher's NjId and BjId are ignored.
  EXPECT_EQ(Refusal(Query(0, 1, "abc", {901}, 1, 999)), "");
}

TEST_F(RegistrationCheckTest, NamesAreUniqueWithinClassAndSexOnly) {
  Open(AthleteSql(1, "abc", 1, 101, 1, {1101}) + AthleteSql(2, "xyz", 1, 102, 1, {}));
  EXPECT_NE(Refusal(Query(0, 1, "abc", {901})).find("学生姓名重复，报名失败！"), std::string::npos);
  EXPECT_EQ(Refusal(Query(0, 2, "abc", {901})), "");
  EXPECT_EQ(Refusal(Query(0, 1, "xyz", {901})), "");
  EXPECT_EQ(Refusal(Query(1, 1, "abc", {901})), "");
}

TEST_F(RegistrationCheckTest, AnEditCannotMoveAnAthleteToAnotherSexOrClass) {
  Open(AthleteSql(1, "abc", 1, 101, 1, {1101}));
  const std::string not_in_class = "<p><img src=\"tip.jpg\" />网页提交的数据有错误！(001)</p>";
  EXPECT_EQ(Refusal(Query(1, 2, "abc", {901})), not_in_class);
  EXPECT_EQ(Refusal(Query(1, 1, "abc", {901}), Session(kRoleClassTeacher, 102)), not_in_class);
  EXPECT_EQ(Refusal(Query(77, 1, "new", {901})), not_in_class);
}

TEST_F(RegistrationCheckTest, GroupQuotaAcceptsTheLastAthleteAndRefusesOneMore) {
  Open(AthleteSql(1, "a1", 1, 101, 1, {}) + AthleteSql(2, "a2", 1, 101, 1, {}) +
       AthleteSql(5, "g1", 1, 101, 2, {}));
  RegistrationPlan third = Check(Query(0, 1, "a3", {901}));
  EXPECT_EQ(third.refusal, "");
  EXPECT_TRUE(third.group_full_after);
  EXPECT_FALSE(Check(Query(0, 2, "g2", {901})).group_full_after);

  Open(AthleteSql(1, "a1", 1, 101, 1, {}) + AthleteSql(2, "a2", 1, 101, 1, {}) +
       AthleteSql(3, "a3", 1, 101, 1, {}));
  EXPECT_EQ(Refusal(Query(0, 1, "a4", {901})),
            "<p><img src=\"tip.jpg\" />报名人数超过每组限报人数，报名失败！</p>");
  RegistrationPlan edit = Check(Query(2, 1, "a2", {901}));
  EXPECT_EQ(edit.refusal, "");
  EXPECT_TRUE(edit.group_full_after);
}

TEST_F(RegistrationCheckTest, IndividualEventTakesItsEntrantsPerClassCountedOverEveryEntry) {
  // 张一 holds 100米 last in his list; the girl's 100米 is another contest.
  Open(AthleteSql(1, "a1", 1, 101, 1, {1102, 1101}) + AthleteSql(5, "g1", 1, 101, 2, {1201}) +
       AthleteSql(6, "b102", 1, 102, 1, {1101}));
  EXPECT_EQ(Refusal(Query(0, 1, "a2", {901})), "");
  Open(AthleteSql(1, "a1", 1, 101, 1, {1102, 1101}) + AthleteSql(2, "a2", 1, 101, 1, {1101}));
  EXPECT_EQ(Refusal(Query(0, 1, "a3", {902, 901})),
            "<p><img src=\"tip.jpg\" />报名失败！当前竞赛组每项限报2人,[100米]已经有2人报名！</p>");
  // The edited athlete's own entry is not counted against him.
  EXPECT_EQ(Refusal(Query(2, 1, "a2", {901})), "");
}

TEST_F(RegistrationCheckTest, TeamTakesItsSizeFromTheClass) {
  std::string sql = "UPDATE qrtb373 SET qrtb377 = 8;\n";
  for (int i = 1; i <= 3; ++i) sql += AthleteSql(i, "b" + std::to_string(i), 1, 101, 1, {1105});
  Open(sql);
  EXPECT_EQ(Refusal(Query(0, 1, "b4", {905})), "");
  Open(sql + AthleteSql(4, "b4", 1, 101, 1, {1105}));
  EXPECT_EQ(Refusal(Query(0, 1, "b5", {905})),
            "<p><img src=\"tip.jpg\" />报名失败！[4x100米接力]团体比赛限制4参加，已经有4人报名！<p>");
  // Team events count as neither single nor combined.
  EXPECT_EQ(Refusal(Query(1, 1, "b1", {901, 902, 905})), "");
}

TEST_F(RegistrationCheckTest, MixedTeamCountsBoysAndGirlsOfTheClassTogether) {
  std::string sql = "UPDATE qrtb373 SET qrtb377 = 8;\n" + AthleteSql(1, "b1", 1, 101, 1, {1106}) +
                    AthleteSql(2, "b2", 1, 101, 1, {1106}) + AthleteSql(3, "g1", 1, 101, 2, {1206});
  Open(sql);
  EXPECT_EQ(Refusal(Query(0, 2, "g2", {906})), "");
  EXPECT_EQ(Refusal(Query(0, 1, "b3", {906})), "");  // the server counts only the whole team
  Open(sql + AthleteSql(4, "g2", 1, 101, 2, {1206}));
  const std::string full =
      "<p><img src=\"tip.jpg\" />报名失败！[男女混合接力]男女混和团体比赛限制4参加，已经有4人报名！</p>";
  EXPECT_EQ(Refusal(Query(0, 1, "b3", {906})), full);
  EXPECT_EQ(Refusal(Query(0, 2, "g3", {906})), full);
  // A grade with only a girls' group has no team limit at all.
  Open(sql + AthleteSql(7, "x1", 2, 201, 2, {2206}) + AthleteSql(8, "x2", 2, 201, 2, {2206}) +
       AthleteSql(9, "x3", 2, 201, 2, {2206}) + AthleteSql(10, "x4", 2, 201, 2, {2206}));
  EXPECT_EQ(Refusal(Query(0, 2, "x5", {906}), Session(kRoleClassTeacher, 201, 2)), "");
}

TEST_F(RegistrationCheckTest, EventsPerAthleteWithAndWithoutACombinedEvent) {
  Open();
  EXPECT_EQ(Refusal(Query(0, 1, "a", {901, 902})), "");
  EXPECT_EQ(Refusal(Query(0, 1, "a", {901, 902, 903})),
            "<p><img src=\"tip.jpg\" />报名失败！单项比赛只能报2项，不能再报其他项目！</p>");
  EXPECT_EQ(Refusal(Query(0, 1, "a", {904, 901})), "");
  EXPECT_EQ(Refusal(Query(0, 1, "a", {904, 901, 902})),
            "<p><img src=\"tip.jpg\" />报名失败！参加全能比赛只能报2项，不能再报其他项目！<p>");
  EXPECT_EQ(Refusal(Query(0, 1, "a", {901, 902, 905, 906})), "");
}

TEST_F(RegistrationCheckTest, UnknownEventsAndMoreThanThirtyEntriesAreRefused) {
  Open();
  const std::string bad_event = "<p><img src=\"tip.jpg\" />网页提交的数据有错误！</p>";
  EXPECT_EQ(Refusal(Query(0, 1, "a", {901, 999})), bad_event);
  std::string query = "/AddStudent.html?stid=0&stxb=1&Tname1=a&NjId=1&BjId=101&";
  for (int i = 0; i < 31; ++i) query += "STBC1=905&";
  EXPECT_EQ(Refusal(query + "an=123", Session(kRoleAdmin)), bad_event);
  // Without any event the athlete is registered with no entries.
  RegistrationPlan plan = Check(Query(0, 1, "a", {}));
  EXPECT_EQ(plan.refusal, "");
  EXPECT_TRUE(plan.athlete.ContestIds.empty());
}

TEST_F(RegistrationCheckTest, NewAthleteGoesAfterTheLastOfItsClassAndSex) {
  Open(AthleteSql(1, "b1", 1, 101, 1, {}) + AthleteSql(2, "b2", 1, 101, 1, {}) +
       AthleteSql(3, "c1", 1, 102, 1, {}) + AthleteSql(4, "d1", 2, 201, 2, {}));
  EXPECT_EQ(Check(Query(0, 1, "b3", {})).insert_at, 2u);
  EXPECT_EQ(Check(Query(0, 2, "g1", {})).insert_at, 2u);  // after the last boy
  EXPECT_EQ(Check(Query(0, 2, "g1", {}), Session(kRoleClassTeacher, 102)).insert_at, 3u);
  Open(AthleteSql(4, "d1", 2, 201, 2, {}) + AthleteSql(5, "g1", 1, 102, 2, {}));
  // A boy of a class with only girls goes before them.
  EXPECT_EQ(Check(Query(0, 1, "b1", {}), Session(kRoleClassTeacher, 102)).insert_at, 0u);
}

}  // namespace
