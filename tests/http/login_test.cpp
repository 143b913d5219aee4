// Sessions and signing in over loopback: cookies and their numbers, the
// login pages and posts, the refusal rules, lock-out by address and the
// slow-down by account, and logging out other sessions.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "tests/http/server_fixture.h"
#include "web/login_list.h"

namespace korva {

namespace {

using ::testing::HasSubstr;

// One grade, one class with its teacher's account (password 9352).
constexpr const char* kOneClass =
    "insert into qrtb219 values (91, '九一年级', '九一', '班', 1);"
    "insert into qrtb234 values (9101, 91, 1, '九一年级1班', '', '');"
    "insert into qrtb7 (qrtb8, qrtb9, qrtb10, qrtb11, qrtb12, qrtb14, qrtb15, qrtb16) "
    "values (905, '', '9352', '', '王老师', 1, 91, 9101);";

class LoginTest : public ServerTest {
 protected:
  // A copy of the session with that cookie number; Role -1 when there is none.
  LoginNode Session(SessionCookie cookie) {
    LoginGuard hold(LoginListLock);
    for (LoginPtr& s : LoginList()) {
      if (s->SessionId == cookie.number) return *s;
    }
    LoginNode none;
    none.Role = -1;
    return none;
  }
  // A new session's staff login; returns its cookie (a new one on success).
  SessionCookie StaffLogin(const std::string& name, const std::string& password, std::string* page = nullptr) {
    SessionCookie session = CookieNumber(Get("/AdminIndex.html"));
    HttpResponse reply = Post("/AdminIndex.html", "UserName=" + name + "&PassWord=" + password, session);
    if (page) *page = reply.body;
    SessionCookie after = CookieNumber(reply);
    return after.number ? after : session;
  }
};

const std::string kLockedOut = "您已连续输入三次错误的密码，五分钟内不再允许登陆，请五分钟后再试！";

// Two classes: 9101 (password 9352) and 9102 (password 4444).
const std::string kTwoClasses = std::string(kOneClass) +
    "insert into qrtb234 values (9102, 91, 2, '九一年级2班', '', '');"
    "insert into qrtb7 (qrtb8, qrtb9, qrtb10, qrtb11, qrtb12, qrtb14, qrtb15, qrtb16) "
    "values (906, '', '4444', '', '李老师', 1, 91, 9102);";

// What the site's own login pages send along with their forms.
constexpr const char* kOwnOrigin = "Origin: http://localhost\r\n";

// The answer to a login from a loopback address, without a cookie.
std::string LoginFrom(int port, const char* from, const char* path, const std::string& body) {
  TestConnection connection(port, from);
  connection.Send(RequestText("POST", path, {}, body, kOwnOrigin));
  return connection.Read().body;
}

TEST_F(LoginTest, SessionNumbersAreUnguessableAndChangeAtSignIn) {
  HttpResponse first = Get("/");
  SessionCookie number = CookieNumber(first);
  EXPECT_EQ("session=brimly" + std::to_string(number.number) + "E; HttpOnly; SameSite=Lax", first.Header("Set-Cookie"));
  EXPECT_EQ(number, CookieNumber(Get("/", number)));
  // An unknown number gets a new session, never the one asked for.
  SessionCookie forged = CookieNumber(Get("/", SessionCookie{12345}));
  EXPECT_NE(SessionCookie{12345}, forged);
  EXPECT_NE(number, forged);
  // 64 random bits: the high half differs from number to number.
  std::set<std::uint64_t> high_halves;
  for (int i = 0; i < 20; ++i) high_halves.insert(CookieNumber(Get("/")).number >> 32);
  EXPECT_GT(high_halves.size(), 15u);
  // Signing in gives the session a new number; the old one opens nothing.
  SessionCookie before = CookieNumber(Get("/AdminIndex.html"));
  HttpResponse signed_in = Post("/AdminIndex.html", "UserName=admin&PassWord=" + meet_->admin_password(), before);
  SessionCookie after = CookieNumber(signed_in);
  EXPECT_NE(before, after);
  EXPECT_EQ(8, Session(after).Role);
  EXPECT_EQ(-1, Session(before).Role);
  EXPECT_NE(before, CookieNumber(Get("/Admin.html", before)));
}

TEST_F(LoginTest, AGuesserLocksOutItsAddressOnlyAndGuessesAtOneAccountAreSlowed) {
  meet_->OpenNewMeet(kTwoClasses);
  const std::string admin = "UserName=admin&PassWord=" + meet_->admin_password();
  // Three wrong passwords lock the guessing address, for every account...
  for (int i = 0; i < 3; ++i) {
    EXPECT_THAT(LoginFrom(port_, "127.0.0.2", "/AdminIndex.html", "UserName=admin&PassWord=x" + std::to_string(i)),
                HasSubstr(i < 2 ? "用户名或密码错误" : kLockedOut.c_str()));
  }
  EXPECT_THAT(LoginFrom(port_, "127.0.0.2", "/AdminIndex.html", admin), HasSubstr(kLockedOut));
  EXPECT_THAT(LoginFrom(port_, "127.0.0.2", "/index.html", "BanJi=9102&PassWord=4444"), HasSubstr(kLockedOut));
  // ...but the administrator signs in from the school network meanwhile.
  EXPECT_THAT(LoginFrom(port_, "127.0.0.3", "/AdminIndex.html", admin), HasSubstr("/Admin.html"));
  // One class however its number is typed: guesses from ten addresses use
  // up its checks, so an eleventh address waits even with the password;
  // where the teacher signed in before is never kept waiting.
  EXPECT_THAT(LoginFrom(port_, "127.0.0.40", "/index.html", "BanJi=9101&PassWord=9352"), HasSubstr("/ShowClass.html"));
  for (int i = 0; i < 10; ++i) {
    std::string from = "127.0.0." + std::to_string(10 + i);
    EXPECT_THAT(LoginFrom(port_, from.c_str(), "/index.html", "BanJi=" + std::string(i % 6, '0') + "9101&PassWord=1"),
                HasSubstr("用户名或密码错误"));
  }
  EXPECT_THAT(LoginFrom(port_, "127.0.0.30", "/index.html", "BanJi=0009101&PassWord=9352"), HasSubstr(kLockedOut));
  EXPECT_THAT(LoginFrom(port_, "127.0.0.40", "/index.html", "BanJi=9101&PassWord=9352"), HasSubstr("/ShowClass.html"));
  // Five minutes later every one may try again.
  ClearLoginFailures();
  EXPECT_THAT(LoginFrom(port_, "127.0.0.2", "/AdminIndex.html", admin), HasSubstr("/Admin.html"));
  EXPECT_THAT(LoginFrom(port_, "127.0.0.30", "/index.html", "BanJi=0009101&PassWord=9352"), HasSubstr("/ShowClass.html"));
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
  SessionCookie first = LoginAdmin();
  SessionCookie second = LoginAdmin();
  ASSERT_NE(first, second);
  LoginNode old_session = Session(first);
  EXPECT_EQ(0, old_session.Role);
  EXPECT_EQ(61, old_session.Reason);
  EXPECT_EQ(0, old_session.OwnerKey);
  EXPECT_EQ(8, Session(second).Role);
}

TEST_F(LoginTest, FreeLoginListLogsEverySessionOutForGood) {
  SessionCookie session = LoginAdmin();
  LoginPtr held;
  {
    LoginGuard hold(LoginListLock);
    for (LoginPtr& s : LoginList()) {
      if (s->SessionId == session.number) held = s;
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
