// Sessions and signing in over loopback: cookies, the login pages and
// posts, the refusal rules, lock-out and logging out other sessions.
#include <gtest/gtest.h>

#include "database/connections.h"
#include "database/data_lock.h"
#include "tests/http/server_fixture.h"
#include "web/login_list.h"

namespace {

// One grade, one class with its teacher's account (password 9352).
constexpr const char* kOneClass =
    "insert into qrtb219 values (91, '九一年级', '九一', '班', 1);"
    "insert into qrtb234 values (9101, 91, 1, '九一年级1班', '', '');"
    "insert into qrtb7 (qrtb8, qrtb9, qrtb10, qrtb11, qrtb12, qrtb14, qrtb15, qrtb16) "
    "values (905, '', '9352', '', '王老师', 1, 91, 9101);";

LoginPtr FindSession(int number) {
  LoginGuard hold(LoginListLock);
  for (LoginPtr& s : LoginList()) {
    if (s->SessionId == number) return s;
  }
  return nullptr;
}

class LoginTest : public ServerTest {};

TEST_F(LoginTest, FirstRequestGetsACookieThatKeepsItsSession) {
  HttpResponse first = Get("/");
  ASSERT_EQ(200, first.status);
  int number = CookieNumber(first);
  EXPECT_GT(number, 0);
  HttpResponse again = Get("/", number);
  EXPECT_EQ(number, CookieNumber(again));
  // An unknown number gets a new session, never the one asked for.
  HttpResponse forged = Get("/", 12345);
  EXPECT_NE(12345, CookieNumber(forged));
  EXPECT_NE(number, CookieNumber(forged));
}

TEST_F(LoginTest, StaffLoginSucceedsAndOpensTheAdministratorPages) {
  int session = LoginAdmin();
  LoginPtr node = FindSession(session);
  ASSERT_TRUE(node);
  EXPECT_EQ(8, node->Role);
  EXPECT_EQ("admin", node->UserName);
  // The last login address is stored with the account.
  DataGuard hold(DataLock);
  Statement query(BaseConnection(), "select qrtb25 from qrtb7 where qrtb8=1");
  ASSERT_TRUE(query.Next());
  EXPECT_EQ("127.0.0.1", query.ReadTextField("qrtb25"));
}

TEST_F(LoginTest, WrongPasswordShowsTheLoginPageAgain) {
  int session = CookieNumber(Get("/AdminIndex.html"));
  HttpResponse reply = Post("/AdminIndex.html", "UserName=admin&PassWord=wrong1", session);
  EXPECT_EQ(200, reply.status);
  EXPECT_NE(std::string::npos, reply.body.find("/AdminIndex.html"));
  EXPECT_NE(std::string::npos, reply.body.find("用户名或密码错误"));
  EXPECT_EQ(0, FindSession(session)->Role);
}

TEST_F(LoginTest, ForbiddenCharactersFailEvenWhenTheyMatchTheAccount) {
  meet_->BaseSql("insert into qrtb7 (qrtb8, qrtb9, qrtb10, qrtb14, qrtb20, qrtb21, qrtb25) "
                 "values (40, 'print-1', 'secret1', 6, 0, 0, '')");
  int session = CookieNumber(Get("/AdminIndex.html"));
  Post("/AdminIndex.html", "UserName=print-1&PassWord=secret1", session);
  EXPECT_EQ(0, FindSession(session)->Role);
}

TEST_F(LoginTest, ThreeFailuresLockTheSessionOutEvenForTheRightPassword) {
  int session = CookieNumber(Get("/AdminIndex.html"));
  for (int i = 0; i < 3; ++i) Post("/AdminIndex.html", "UserName=admin&PassWord=bad123", session);
  HttpResponse reply =
      Post("/AdminIndex.html", "UserName=admin&PassWord=" + meet_->admin_password(), session);
  EXPECT_NE(std::string::npos, reply.body.find("您已连续输入三次错误的密码，五分钟内不再允许登陆，请五分钟后再试！"));
  EXPECT_EQ(0, FindSession(session)->Role);
  // Five minutes later the right password works again.
  {
    LoginGuard hold(LoginListLock);
    FindSession(session)->FirstFailure -= 5 * 60;
  }
  reply = Post("/AdminIndex.html", "UserName=admin&PassWord=" + meet_->admin_password(), session);
  EXPECT_NE(std::string::npos, reply.body.find("/Admin.html"));
  EXPECT_EQ(8, FindSession(session)->Role);
}

TEST_F(LoginTest, LoggingInElsewhereLogsTheOtherSessionOut) {
  int first = LoginAdmin();
  int second = LoginAdmin();
  ASSERT_NE(first, second);
  LoginPtr old_session = FindSession(first);
  EXPECT_EQ(0, old_session->Role);
  EXPECT_EQ(61, old_session->Reason);
  EXPECT_EQ(0, old_session->OwnerKey);
  EXPECT_EQ(8, FindSession(second)->Role);
}

TEST_F(LoginTest, IdleSessionLosesItsLogin) {
  int session = LoginAdmin();
  {
    LoginGuard hold(LoginListLock);
    FindSession(session)->LastAccess -= 21 * 60;
  }
  Get("/Adft.html", session);
  EXPECT_EQ(0, FindSession(session)->Role);
}

TEST_F(LoginTest, SessionSeenFromAnotherAddressLosesItsLogin) {
  int session = LoginAdmin();
  {
    LoginGuard hold(LoginListLock);
    FindSession(session)->ClientAddress = "127.0.0.2";
  }
  Get("/Adft.html", session);
  LoginPtr node = FindSession(session);
  EXPECT_EQ(0, node->Role);
  EXPECT_EQ("127.0.0.1", node->ClientAddress);
}

TEST_F(LoginTest, ClerkBoundToAnotherAddressIsRefused) {
  meet_->BaseSql("insert into qrtb7 (qrtb8, qrtb9, qrtb10, qrtb14, qrtb20, qrtb21, qrtb25) "
                 "values (41, 'clerk1', 'secret1', 7, 1, 0, '10.9.9.9')");
  int session = CookieNumber(Get("/AdminIndex.html"));
  HttpResponse reply = Post("/AdminIndex.html", "UserName=clerk1&PassWord=secret1", session);
  EXPECT_EQ(11, FindSession(session)->Reason);
  EXPECT_EQ(0, FindSession(session)->Role);
  EXPECT_NE(std::string::npos, reply.body.find("该帐号不允许从当前电脑登陆"));
}

TEST_F(LoginTest, ClerkLimitedToMeetDaysIsRefusedOutsideThem) {
  meet_->OpenNewMeet();  // the fixture meet starts on 2024-5-20
  meet_->BaseSql("insert into qrtb7 (qrtb8, qrtb9, qrtb10, qrtb14, qrtb20, qrtb21, qrtb25) "
                 "values (42, 'clerk2', 'secret2', 7, 0, 1, '')");
  int session = CookieNumber(Get("/AdminIndex.html"));
  Post("/AdminIndex.html", "UserName=clerk2&PassWord=secret2", session);
  EXPECT_EQ(13, FindSession(session)->Reason);
}

TEST_F(LoginTest, ClassTeacherLogsInWithTheClassPassword) {
  meet_->OpenNewMeet(kOneClass);
  HttpResponse page = Get("/");
  EXPECT_NE(std::string::npos, page.body.find("<option value=\"9101\">九一年级1班</option>")) << page.body;
  int session = CookieNumber(page);
  HttpResponse wrong = Post("/index.html", "BanJi=9101&PassWord=1111", session);
  EXPECT_NE(std::string::npos, wrong.body.find("用户名或密码错误"));
  HttpResponse right = Post("/index.html", "BanJi=9101&PassWord=9352", session);
  EXPECT_NE(std::string::npos, right.body.find("/ShowClass.html"));
  LoginPtr node = FindSession(session);
  EXPECT_EQ(1, node->Role);
  EXPECT_EQ(9101, node->ClassId);
  EXPECT_EQ(91, node->GradeId);
  EXPECT_EQ("王老师", node->UserName);
}

TEST_F(LoginTest, ClassAndStaffAccountsWithTheSameIdDoNotLogEachOtherOut) {
  meet_->OpenNewMeet(kOneClass);
  meet_->BaseSql("insert into qrtb7 (qrtb8, qrtb9, qrtb10, qrtb14, qrtb20, qrtb21, qrtb25) "
                 "values (905, 'printer', 'secret1', 6, 0, 0, '')");
  int teacher = CookieNumber(Get("/"));
  Post("/index.html", "BanJi=9101&PassWord=9352", teacher);
  int staff = CookieNumber(Get("/AdminIndex.html"));
  Post("/AdminIndex.html", "UserName=printer&PassWord=secret1", staff);
  EXPECT_EQ(6, FindSession(staff)->Role);
  EXPECT_EQ(1, FindSession(teacher)->Role);
}

TEST_F(LoginTest, FreeLoginListLogsEverySessionOutForGood) {
  int session = LoginAdmin();
  LoginPtr held = FindSession(session);
  FreeLoginList();
  EXPECT_TRUE(held->Discarded);
  EXPECT_EQ(0, held->Role);
  HttpResponse next = Get("/Adft.html", session);
  EXPECT_NE(session, CookieNumber(next));
  EXPECT_EQ(nullptr, FindSession(session));
}

}  // namespace
