// Sessions and signing in over loopback: cookies, the login pages and
// posts, the refusal rules, lock-out and logging out other sessions.
#include <gtest/gtest.h>

#include "database/connections.h"
#include "database/data_lock.h"
#include "tests/http/server_fixture.h"
#include "web/login_list.h"

namespace korva {

namespace {

// One grade, one class with its teacher's account (password 9352).
constexpr const char* kOneClass =
    "insert into qrtb219 values (91, '九一年级', '九一', '班', 1);"
    "insert into qrtb234 values (9101, 91, 1, '九一年级1班', '', '');"
    "insert into qrtb7 (qrtb8, qrtb9, qrtb10, qrtb11, qrtb12, qrtb14, qrtb15, qrtb16) "
    "values (905, '', '9352', '', '王老师', 1, 91, 9101);";

class LoginTest : public ServerTest {
 protected:
  // A copy of the session with that cookie number; Role -1 when there is none.
  LoginNode Session(int number) {
    LoginGuard hold(LoginListLock);
    for (LoginPtr& s : LoginList()) {
      if (s->SessionId == number) return *s;
    }
    LoginNode none;
    none.Role = -1;
    return none;
  }
  void Change(int number, void (*change)(LoginNode&)) {
    LoginGuard hold(LoginListLock);
    for (LoginPtr& s : LoginList()) {
      if (s->SessionId == number) change(*s);
    }
  }
  // A staff account of the base file: id, login name, password, role,
  // fixed-address flag, meet-days flag, last address.
  void AddStaff(const std::string& values) {
    meet_->BaseSql("insert into qrtb7 (qrtb8, qrtb9, qrtb10, qrtb14, qrtb20, qrtb21, qrtb25) values (" + values + ")");
  }
  // A new session's staff login; returns its cookie number.
  int StaffLogin(const std::string& name, const std::string& password, std::string* page = nullptr) {
    int session = CookieNumber(Get("/AdminIndex.html"));
    std::string body = Post("/AdminIndex.html", "UserName=" + name + "&PassWord=" + password, session).body;
    if (page) *page = body;
    return session;
  }
};

TEST_F(LoginTest, FirstRequestGetsACookieThatKeepsItsSession) {
  int number = CookieNumber(Get("/"));
  EXPECT_GT(number, 0);
  EXPECT_EQ(number, CookieNumber(Get("/", number)));
  // An unknown number gets a new session, never the one asked for.
  int forged = CookieNumber(Get("/", 12345));
  EXPECT_NE(12345, forged);
  EXPECT_NE(number, forged);
}

TEST_F(LoginTest, StaffLoginOpensTheSessionAndStoresTheAddress) {
  LoginNode node = Session(LoginAdmin());
  EXPECT_EQ(8, node.Role);
  EXPECT_EQ("admin", node.UserName);
  DataGuard hold(DataLock);
  Statement query(BaseConnection(), "select qrtb25 from qrtb7 where qrtb8=1");
  ASSERT_TRUE(query.Next());
  EXPECT_EQ("127.0.0.1", query.ReadTextField("qrtb25"));
}

TEST_F(LoginTest, ThreeFailuresLockTheSessionOutForFiveMinutes) {
  int session = CookieNumber(Get("/AdminIndex.html"));
  for (int i = 0; i < 2; ++i) {
    std::string page = Post("/AdminIndex.html", "UserName=admin&PassWord=bad123", session).body;
    EXPECT_NE(std::string::npos, page.find("用户名或密码错误"));
    EXPECT_NE(std::string::npos, page.find("/AdminIndex.html"));  // the login page again
  }
  Post("/AdminIndex.html", "UserName=admin&PassWord=bad123", session);
  std::string right = "UserName=admin&PassWord=" + meet_->admin_password();
  EXPECT_NE(std::string::npos, Post("/AdminIndex.html", right, session)
                                   .body.find("您已连续输入三次错误的密码，五分钟内不再允许登陆，请五分钟后再试！"));
  EXPECT_EQ(0, Session(session).Role);
  Change(session, [](LoginNode& s) { s.FirstFailure -= 5 * 60; });
  EXPECT_NE(std::string::npos, Post("/AdminIndex.html", right, session).body.find("/Admin.html"));
  EXPECT_EQ(8, Session(session).Role);
}

TEST_F(LoginTest, RefusedStaffLogins) {
  meet_->OpenNewMeet();                                      // it starts on 2024-5-20
  AddStaff("40, 'print-1', 'secret1', 6, 0, 0, ''");         // '-' is refused in a staff name
  AddStaff("41, 'clerk1', 'secret1', 7, 1, 0, '10.9.9.9'");  // bound to another address
  AddStaff("42, 'clerk2', 'secret2', 7, 0, 1, ''");          // meet days only
  EXPECT_EQ(1, Session(StaffLogin("print-1", "secret1")).Reason);
  std::string page;
  LoginNode bound = Session(StaffLogin("clerk1", "secret1", &page));
  EXPECT_EQ(11, bound.Reason);
  EXPECT_NE(std::string::npos, page.find("该帐号不允许从当前电脑登陆"));
  LoginNode outside = Session(StaffLogin("clerk2", "secret2"));
  EXPECT_EQ(13, outside.Reason);
  EXPECT_EQ(0, bound.Role + outside.Role);
}

TEST_F(LoginTest, LoggingInElsewhereLogsTheOtherSessionOut) {
  int first = LoginAdmin();
  int second = LoginAdmin();
  ASSERT_NE(first, second);
  LoginNode old_session = Session(first);
  EXPECT_EQ(0, old_session.Role);
  EXPECT_EQ(61, old_session.Reason);
  EXPECT_EQ(0, old_session.OwnerKey);
  EXPECT_EQ(8, Session(second).Role);
}

TEST_F(LoginTest, ClassTeacherLogsInWithoutLoggingOutAStaffAccountOfTheSameId) {
  meet_->OpenNewMeet(kOneClass);
  AddStaff("905, 'printer', 'secret1', 6, 0, 0, ''");
  HttpResponse page = Get("/");
  EXPECT_NE(std::string::npos, page.body.find("<option value=\"9101\">九一年级1班</option>")) << page.body;
  int teacher = CookieNumber(page);
  EXPECT_NE(std::string::npos, Post("/index.html", "BanJi=9101&PassWord=1111", teacher).body.find("用户名或密码错误"));
  EXPECT_NE(std::string::npos, Post("/index.html", "BanJi=9101&PassWord=9352", teacher).body.find("/ShowClass.html"));
  LoginNode node = Session(teacher);
  EXPECT_EQ(1, node.Role);
  EXPECT_EQ(9101, node.ClassId);
  EXPECT_EQ(91, node.GradeId);
  EXPECT_EQ("王老师", node.UserName);
  EXPECT_EQ(6, Session(StaffLogin("printer", "secret1")).Role);
  EXPECT_EQ(1, Session(teacher).Role);
}

TEST_F(LoginTest, FreeLoginListLogsEverySessionOutForGood) {
  int session = LoginAdmin();
  LoginPtr held;
  {
    LoginGuard hold(LoginListLock);
    for (LoginPtr& s : LoginList()) {
      if (s->SessionId == session) held = s;
    }
  }
  ASSERT_TRUE(held);
  FreeLoginList();
  EXPECT_EQ(0, held->Role);  // a request still holding it sees it logged out
  EXPECT_NE(session, CookieNumber(Get("/Adft.html", session)));
  EXPECT_EQ(-1, Session(session).Role);
}

}  // namespace

}  // namespace korva
