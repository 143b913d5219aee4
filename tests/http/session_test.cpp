// Sessions, accounts and meets over loopback: cookies and their numbers,
// signing in with its refusal rules, lock-out by address and the slow-down
// by account; the account pages, each change checked against what signing
// in then allows; the meet list, switching the current meet (also while
// other clients keep reading pages) and deleting a meet.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/model.h"
#include "tests/http/server_fixture.h"
#include "web/dispatcher.h"
#include "web/login_list.h"

namespace korva {

namespace {

using ::testing::HasSubstr;

// One grade with one class of the given name (and its teacher's account).
std::string OneClass(const std::string& class_name) {
  return "insert into qrtb219 values (91, '九一年级', '九一', '班', 1);"
         "insert into qrtb234 values (9101, 91, 1, '" + class_name + "', '', '');"
         "insert into qrtb7 (qrtb8, qrtb9, qrtb10, qrtb11, qrtb12, qrtb14, qrtb15, qrtb16) "
         "values (905, '', '9352', '', '王老师', 1, 91, 9101);";
}


using LoginTest = ServerTest;

const std::string kLockedOut = "您已连续输入三次错误的密码，五分钟内不再允许登陆，请五分钟后再试！";

// Two classes: 9101 (password 9352) and 9102 (password 4444).
const std::string kTwoClasses = OneClass("九一年级1班") +
    "insert into qrtb234 values (9102, 91, 2, '九一年级2班', '', '');"
    "insert into qrtb7 (qrtb8, qrtb9, qrtb10, qrtb11, qrtb12, qrtb14, qrtb15, qrtb16) "
    "values (906, '', '4444', '', '李老师', 1, 91, 9102);";

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
  EXPECT_EQ(8, SessionOf(after).Role);
  EXPECT_EQ(-1, SessionOf(before).Role);
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
  const struct {
    const char* name;
    const char* password;
    int reason;
  } refused[] = {{"print-1", "secret1", 1}, {"clerk1", "secret1", 11}, {"clerk2", "secret2", 13}};
  for (const auto& r : refused) {
    SessionCookie session;
    const std::string page = StaffSignIn(r.name, r.password, &session);
    EXPECT_EQ(r.reason, SessionOf(session).Reason) << r.name;
    EXPECT_EQ(0, SessionOf(session).Role) << r.name;
    EXPECT_EQ(r.reason == 11, Has(page, "该帐号不允许从当前电脑登陆")) << r.name;
  }
}

TEST_F(LoginTest, LoggingInElsewhereLogsTheOtherSessionOut) {
  SessionCookie first = LoginAdmin();
  SessionCookie second = LoginAdmin();
  ASSERT_NE(first, second);
  LoginNode old_session = SessionOf(first);
  EXPECT_EQ(0, old_session.Role);
  EXPECT_EQ(61, old_session.Reason);
  EXPECT_EQ(0, old_session.OwnerKey);
  EXPECT_EQ(8, SessionOf(second).Role);
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
  EXPECT_EQ(-1, SessionOf(session).Role);
}

constexpr const char* kSignedIn = "/Admin.html";  // the login post's redirect
constexpr const char* kWrongPassword = "用户名或密码错误";

class AccountPagesTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    meet_->OpenNewMeet(
        "insert into qrtb219 values (91, '九一年级', '九一', '班', 1);"
        "insert into qrtb234 values (9101, 91, 1, '九一年级1班', '', '');"
        "insert into qrtb7 (qrtb8, qrtb9, qrtb10, qrtb11, qrtb12, qrtb14, qrtb15, qrtb16) "
        "values (40, '', '93<52', '李<教练>', 'clerk1', 1, 91, 9101);");
    admin_ = LoginAdmin();
  }

  std::string Add(const std::string& name, const std::string& password, const std::string& more = "") {
    return Get("/AddAdmin.html?str1=" + FormEncode(name) + "&str2=" + FormEncode(password) + more, admin_).body;
  }
  // The same from another client address of the local network.
  std::string SignInFrom(const std::string& address, const std::string& name, const std::string& password) {
    HttpRequest request{.Method = "POST", .Path = "/AdminIndex.html", .Head = "Sec-Fetch-Site: same-origin",
                        .Body = "UserName=" + name + "&PassWord=" + password, .ClientAddress = address};
    request.ContentLength = static_cast<int>(request.Body.size());
    std::string reply;
    HandleHttpRequest(request, reply);
    return reply;
  }
};

TEST_F(AccountPagesTest, AccountListsShowRolesSafetyOptionsAndPasswords) {
  EXPECT_TRUE(Has(Get("/UserList.html", admin_).body, "onclick=\"alert('该班的登陆密码为：93\\x3C52');\""));
  AddStaff("40, 'both', 'secret1', 7, 1, 1, ''");
  const std::string page = Get("/AdUserList.html", admin_).body;
  EXPECT_TRUE(Has(page, "<td>1</td><td>admin</td><td><strong>系统管理员</strong></td><td>无限制</td>")) << page;
  EXPECT_TRUE(Has(page, "<td>2</td><td>both</td><td>成绩录入员</td><td>固定IP登陆：从未登陆<br />仅运动会期间有效</td>"));
}

TEST_F(AccountPagesTest, AddedAccountsAtTheirBoundsCanSignIn) {
  struct Case {
    std::string name, password, more, reply;
    int role;  // after signing in; 0 for a refused account
  };
  const Case cases[] = {
      {"abcd", "secret", "", "OK", 6},
      {"clerk", "secret", "&str3=1", "OK", 7},
      {"print0", "secret", "&str3=0", "OK", 6},
      {"print2", "secret", "&str3=2", "OK", 6},
      {"记分员甲", "密码六个字", "&str3=1", "OK", 7},
      {std::string(99, 'n'), std::string(99, 'p'), "", "OK", 6},
      {"abc", "secret", "", "ERR", 0},
      {"abcde", "secre", "", "ERR", 0},
      {std::string(100, 'm'), "secret", "", "ERR", 0},
      {"abcd", "other1", "", "CM", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.reply, Add(c.name, c.password, c.more)) << c.name;
    if (c.role == 0) continue;
    SessionCookie session;
    EXPECT_TRUE(Has(StaffSignIn(c.name, c.password, &session), kSignedIn)) << c.name;
    EXPECT_EQ(c.role, RoleOf(session)) << c.name;
  }
  // Names and passwords that signing in would refuse are never stored.
  for (const char* refused : {"-", "*", "@", "(", ")", "\"", "'", "=", "&", "+", "%", "?", "/", "\\", "!"}) {
    EXPECT_EQ("ERR", Add(std::string("name") + refused, "secret1")) << refused;
    EXPECT_EQ("ERR", Add(std::string("user") + refused + "x", std::string("secret") + refused)) << refused;
  }
  EXPECT_EQ("", MeetText("select qrtb9 from base.qrtb7 where qrtb8 > 7"));
  // The two options are stored as flags.
  EXPECT_EQ("OK", Add("flags", "secret", "&str3=1&str4=1&str5=7"));
  EXPECT_EQ("1|1", MeetText("select qrtb20 || '|' || qrtb21 from base.qrtb7 where qrtb9 = 'flags'"));
}

TEST_F(AccountPagesTest, DeletingAnAccountEndsItsSessionsAndNoOther) {
  // The class teacher's account has the clerk's id and its display name is
  // the clerk's login name: it stays signed in.
  AddStaff("40, 'clerk1', 'secret1', 7, 0, 0, ''");
  AddStaff("41, 'clerk2', 'secret2', 7, 0, 0, ''");
  HttpResponse signed_in = Post("/index.html", "BanJi=9101&PassWord=93%3C52", CookieNumber(Get("/")));
  ASSERT_TRUE(Has(signed_in.body, "/ShowClass.html"));
  SessionCookie teacher = CookieNumber(signed_in);  // a new number at sign-in
  SessionCookie clerk1, clerk2;
  StaffSignIn("clerk1", "secret1", &clerk1);
  StaffSignIn("clerk2", "secret2", &clerk2);
  ASSERT_EQ(7, RoleOf(clerk1));
  ASSERT_TRUE(Has(Get("/Table.html", clerk1).body, "clerk1"));

  EXPECT_EQ("OK", Get("/DelAdmin.html?str1=40", admin_).body);
  EXPECT_EQ(0, RoleOf(clerk1));
  EXPECT_EQ(7, RoleOf(clerk2));
  EXPECT_EQ(1, RoleOf(teacher));
  EXPECT_EQ(8, RoleOf(admin_));
  EXPECT_TRUE(Has(Get("/Table.html", clerk1).body, "您的登陆已经超时"));
  EXPECT_TRUE(Has(StaffSignIn("clerk1", "secret1"), kWrongPassword));

  for (const char* id : {"40", "1", "0", "x", "-1"})
    EXPECT_EQ("ERR", Get(std::string("/DelAdmin.html?str1=") + id, admin_).body) << id;
  EXPECT_EQ(8, RoleOf(admin_));
}

TEST_F(AccountPagesTest, AClerkBoundToItsAddressIsRefusedFromAnother) {
  ASSERT_EQ("OK", Add("boundclerk", "secret1", "&str3=1&str4=1"));
  EXPECT_TRUE(Has(Get("/AdUserList.html", admin_).body, "固定IP登陆：从未登陆"));
  EXPECT_TRUE(Has(StaffSignIn("boundclerk", "secret1"), kSignedIn));
  EXPECT_TRUE(Has(Get("/AdUserList.html", admin_).body, "固定IP登陆：127.0.0.1"));
  EXPECT_TRUE(Has(SignInFrom("192.168.3.4", "boundclerk", "secret1"), "该帐号不允许从当前电脑登陆"));
  EXPECT_TRUE(Has(StaffSignIn("boundclerk", "secret1"), kSignedIn));
  // An unbound clerk may move.
  ASSERT_EQ("OK", Add("freeclerk", "secret1", "&str3=1"));
  EXPECT_TRUE(Has(StaffSignIn("freeclerk", "secret1"), kSignedIn));
  EXPECT_TRUE(Has(SignInFrom("192.168.3.4", "freeclerk", "secret1"), kSignedIn));
}

TEST_F(AccountPagesTest, TheNewPasswordIsNeededAtTheNextSignIn) {
  const std::string old_password = meet_->admin_password();
  auto change = [&](const std::string& current, const std::string& fresh, SessionCookie session) {
    return Get("/CaAdPs.html?str1=1&str2=" + FormEncode(current) + "&str3=" + FormEncode(fresh), session).body;
  };
  // A new password that is too short or could never sign in: refused, and
  // the session stays signed in.
  for (const char* fresh : {"short", "new*pass", "new-pass", ""}) {
    EXPECT_EQ("ERR", change(old_password, fresh, admin_)) << fresh;
    EXPECT_EQ(8, RoleOf(admin_)) << fresh;
  }
  // A wrong current password signs the session out.
  EXPECT_EQ("ERR", change("wrong1", "newpass1", admin_));
  EXPECT_EQ(0, RoleOf(admin_));

  SessionCookie session = LoginAdmin();
  EXPECT_EQ("OK", change(old_password, "newpass1", session));
  EXPECT_EQ(8, RoleOf(session));
  EXPECT_TRUE(Has(StaffSignIn("admin", old_password), kWrongPassword));
  EXPECT_TRUE(Has(StaffSignIn("admin", "newpass1"), kSignedIn));

  // A print administrator changes its own password, whatever id it names.
  AddStaff("40, 'printer', 'secret1', 6, 0, 0, ''");
  SessionCookie printer;
  StaffSignIn("printer", "secret1", &printer);
  EXPECT_EQ("OK", change("secret1", "secret2", printer));
  EXPECT_EQ("secret2", MeetText("select qrtb10 from base.qrtb7 where qrtb8 = 40"));
  EXPECT_EQ("newpass1", MeetText("select qrtb10 from base.qrtb7 where qrtb8 = 1"));
}

constexpr const char* kSwitchFailed = "更改当前数据库失败！";
constexpr const char* kDeleteRefused = "删除运动会失败！你的登陆信息有误，请重新登陆！";

bool IsWhole(const HttpResponse& reply) {
  return reply.status == 200 && reply.Header("Content-Length") == std::to_string(reply.body.size()) &&
         Has(reply.body, "</html>");
}

// Two meets, each with a class of its own; the first is open.
class MeetListTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    first_ = meet_->AddMeet({.Name = "春季运动会", .StartDate = "2024-9-1"}, true);
    second_ = meet_->AddMeet({.Name = "秋季运动会", .StartDate = "2024-10-1"}, false);
    ASSERT_TRUE(meet_->MeetSql(first_, OneClass("甲队")));
    ASSERT_TRUE(meet_->MeetSql(second_, OneClass("乙队")));
    ASSERT_EQ(0, meet_->Open());
    admin_ = LoginAdmin();
  }

  std::string Switch(int meet_id, SessionCookie session) {
    return Get("/setupDqYdh.html?str=" + std::to_string(meet_id), session).body;
  }
  HttpResponse Delete(const std::string& meet_id, const std::string& name, const std::string& password,
                      SessionCookie session) {
    return Get("/DelYdh.html?str1=" + meet_id + "&str2=" + FormEncode(name) + "&str3=" + FormEncode(password),
               session);
  }
  static std::string CurrentFlags() {
    return Rows("select group_concat(qrtb138 || ':' || qrtb139, ' ') from base.qrtb137 order by qrtb138");
  }
  int OpenMeetId() {
    DataReadGuard hold(DataLock);
    return Model().CurrentMeetId;
  }

  int first_ = 0;
  int second_ = 0;
};

TEST_F(MeetListTest, SwitchingOpensTheOtherMeetAndEndsEverySession) {
  // Refused: the open meet, ids that name no meet. No session ends.
  for (std::string id : {std::to_string(first_), std::string("0"), std::string("x"), std::string("99")})
    EXPECT_EQ(kSwitchFailed, Get("/setupDqYdh.html?str=" + id, admin_).body) << id;
  EXPECT_EQ(8, RoleOf(admin_));

  SessionCookie other = LoginAdmin();  // signs admin_ out (reason 61) but keeps its session
  EXPECT_EQ("OK", Switch(second_, other));
  EXPECT_EQ(second_, OpenMeetId());
  EXPECT_EQ("1:0 2:1", CurrentFlags());
  EXPECT_EQ(-1, RoleOf(other));
  EXPECT_EQ(-1, RoleOf(admin_));
  std::string login = Get("/").body;
  EXPECT_TRUE(Has(login, "乙队") && !Has(login, "甲队")) << login;

  // And back.
  EXPECT_EQ("OK", Switch(first_, LoginAdmin()));
  EXPECT_EQ("1:1 2:0", CurrentFlags());
  EXPECT_TRUE(Has(Get("/").body, "甲队"));
}

TEST_F(MeetListTest, AFailedSwitchKeepsThePreviousMeetOpenAndWorking) {
  std::string file = meet_->MeetFile(second_);
  for (bool missing : {false, true}) {
    if (missing) {
      std::filesystem::remove(file);
    } else {
      std::ofstream(file, std::ios::trunc) << "not a meet file";
    }
    EXPECT_EQ(kSwitchFailed, Switch(second_, admin_)) << missing;
    EXPECT_EQ(first_, OpenMeetId());
    EXPECT_EQ("1:1 2:0", CurrentFlags());
    // The administrator is still signed in, and the open meet still serves
    // its pages and takes changes.
    EXPECT_TRUE(Has(Get("/UserList.html", admin_).body, "甲队"));
    EXPECT_EQ("OK", Get("/AddAdmin.html?str1=clerk" + std::to_string(missing) + "&str2=secret1&str3=1", admin_).body);
    EXPECT_TRUE(Has(Get("/").body, "甲队"));
  }
}

TEST_F(MeetListTest, PagesStayWholeWhileTheMeetIsSwitchedBackAndForth) {
  std::atomic<bool> switching{true};
  std::atomic<int> torn{0};
  std::atomic<int> served{0};
  std::vector<std::thread> readers;
  for (int r = 0; r < 3; ++r) {
    readers.emplace_back([&] {
      while (switching) {
        // The class login page walks the open meet's classes.
        HttpResponse reply = Get("/");
        bool one_meet = Has(reply.body, "甲队") != Has(reply.body, "乙队");
        bool closed = Has(reply.body, "网页服务已经被管理员关闭");
        if (!IsWhole(reply) || (!one_meet && !closed)) ++torn;
        ++served;
      }
    });
  }
  int failed_switches = 0;
  for (int i = 0; i < 16; ++i) {
    SessionCookie session = LoginAdmin();
    if (Switch(i % 2 == 0 ? second_ : first_, session) != "OK") ++failed_switches;
    usleep(2000);  // leave the readers a way in
  }
  switching = false;
  for (std::thread& reader : readers) reader.join();
  EXPECT_EQ(0, failed_switches);
  EXPECT_EQ(0, torn);
  EXPECT_GT(served, 0);
  EXPECT_EQ(first_, OpenMeetId());
  EXPECT_TRUE(Has(Get("/").body, "甲队"));
}

TEST_F(MeetListTest, DeletingAMeetTakesItsRowKeepsItsFileAndNeverTheCurrentOne) {
  const std::string password = meet_->admin_password();
  meet_->BaseSql("insert into qrtb7 (qrtb8, qrtb9, qrtb10, qrtb14) values (40, 'printer1', 'secret1', 6)");
  // Right credentials of any staff account sign the session in to that
  // account, but the open meet stays.
  HttpResponse reply = Delete(std::to_string(first_), "printer1", "secret1", admin_);
  EXPECT_EQ(kDeleteRefused, reply.body);
  EXPECT_EQ(6, RoleOf(CookieNumber(reply)));
  // Wrong ones sign it out.
  reply = Delete(std::to_string(second_), "admin", "wrong-password", LoginAdmin());
  EXPECT_EQ(kDeleteRefused, reply.body);
  EXPECT_EQ(0, RoleOf(CookieNumber(reply)));
  EXPECT_EQ("1:1 2:0", CurrentFlags());
  EXPECT_TRUE(std::filesystem::exists(meet_->MeetFile(first_)) && std::filesystem::exists(meet_->MeetFile(second_)));

  SessionCookie session = LoginAdmin();
  const int third = meet_->AddMeet({.Name = "冬季运动会"}, false);
  EXPECT_EQ("删除运动会失败！", Delete("99", "admin", password, session).body);
  EXPECT_EQ("OK", Delete(std::to_string(second_), "admin", password, session).body);
  EXPECT_EQ("1:1 3:0", CurrentFlags());
  EXPECT_TRUE(std::filesystem::exists(meet_->MeetFile(second_)));
  std::string page = Get("/MeetList.html", session).body;
  EXPECT_TRUE(Has(page, "春季运动会") && !Has(page, "秋季运动会")) << page;
  // A meet whose file is gone already can still be taken off the list.
  std::filesystem::remove(meet_->MeetFile(third));
  EXPECT_EQ("OK", Delete(std::to_string(third), "admin", password, session).body);
  EXPECT_EQ("1:1", CurrentFlags());
}

}  // namespace

}  // namespace korva
