// The account pages over HTTP: the two lists, adding and deleting clerks
// and print administrators, and changing one's own password, each checked
// against what signing in then allows.
#include <gtest/gtest.h>

#include <string>

#include "database/connections.h"
#include "database/data_lock.h"
#include "tests/http/server_fixture.h"
#include "web/dispatcher.h"

namespace korva {

namespace {


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
  // A new session's staff sign-in: the page answered and, through
  // session, its cookie number.
  std::string SignIn(const std::string& name, const std::string& password, SessionCookie* session = nullptr) {
    HttpResponse reply =
        Post("/AdminIndex.html", "UserName=" + FormEncode(name) + "&PassWord=" + FormEncode(password),
             CookieNumber(Get("/")));
    if (session) *session = CookieNumber(reply);
    return reply.body;
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
  std::string BaseValue(const std::string& sql) {
    DataReadGuard hold(DataLock);
    Statement st(BaseConnection(), sql);
    return st.Next() ? st.ReadTextField(0) : "none";
  }
};

TEST_F(AccountPagesTest, AccountListsShowRolesSafetyOptionsAndPasswords) {
  EXPECT_TRUE(Has(Get("/UserList.html", admin_).body, "onclick=\"alert('该班的登陆密码为：93\\x3C52');\""));
  AddStaff("40, 'both', 'secret1', 7, 1, 1, ''");
  AddStaff("43, 'prn<1>', 'sec''ret', 6, 0, 0, ''");
  std::string page = Get("/AdUserList.html", admin_).body;
  for (const char* row :
       {"<td>1</td><td>admin</td><td><strong>系统管理员</strong></td><td>无限制</td>",
        "<td>2</td><td>both</td><td>成绩录入员</td><td>固定IP登陆：从未登陆<br />仅运动会期间有效</td>",
        "<td>3</td><td>prn&lt;1&gt;</td><td>打印管理员</td><td>无限制</td><td><input name=\"V1\" type=\"button\" "
        "onclick=\"alert('该帐号的密码为：sec\\x27ret');\" value=\"查看密码\" /></td><td><input name=\"V2\" "
        "type=\"button\" onclick=\"DelAdUser(43,'prn\\x3C1\\x3E');\" value=\"删除帐号\" /></td></tr>\r\n"})
    EXPECT_TRUE(Has(page, row)) << row << "\n" << page;
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
    EXPECT_TRUE(Has(SignIn(c.name, c.password, &session), kSignedIn)) << c.name;
    EXPECT_EQ(c.role, RoleOf(session)) << c.name;
  }
  // Names and passwords that signing in would refuse are never stored.
  for (const char* refused : {"-", "*", "@", "(", ")", "\"", "'", "=", "&", "+", "%", "?", "/", "\\", "!"}) {
    EXPECT_EQ("ERR", Add(std::string("name") + refused, "secret1")) << refused;
    EXPECT_EQ("ERR", Add(std::string("user") + refused + "x", std::string("secret") + refused)) << refused;
  }
  EXPECT_EQ("none", BaseValue("select qrtb9 from qrtb7 where qrtb8 > 7"));
  // The two options are stored as flags.
  EXPECT_EQ("OK", Add("flags", "secret", "&str3=1&str4=1&str5=7"));
  EXPECT_EQ("1|1", BaseValue("select qrtb20 || '|' || qrtb21 from qrtb7 where qrtb9 = 'flags'"));
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
  SignIn("clerk1", "secret1", &clerk1);
  SignIn("clerk2", "secret2", &clerk2);
  ASSERT_EQ(7, RoleOf(clerk1));
  ASSERT_TRUE(Has(Get("/Table.html", clerk1).body, "clerk1"));

  EXPECT_EQ("OK", Get("/DelAdmin.html?str1=40", admin_).body);
  EXPECT_EQ(0, RoleOf(clerk1));
  EXPECT_EQ(7, RoleOf(clerk2));
  EXPECT_EQ(1, RoleOf(teacher));
  EXPECT_EQ(8, RoleOf(admin_));
  EXPECT_TRUE(Has(Get("/Table.html", clerk1).body, "您的登陆已经超时"));
  EXPECT_TRUE(Has(SignIn("clerk1", "secret1"), kWrongPassword));

  for (const char* id : {"40", "1", "0", "x", "-1"})
    EXPECT_EQ("ERR", Get(std::string("/DelAdmin.html?str1=") + id, admin_).body) << id;
  EXPECT_EQ(8, RoleOf(admin_));
}

TEST_F(AccountPagesTest, AClerkBoundToItsAddressIsRefusedFromAnother) {
  ASSERT_EQ("OK", Add("boundclerk", "secret1", "&str3=1&str4=1"));
  EXPECT_TRUE(Has(Get("/AdUserList.html", admin_).body, "固定IP登陆：从未登陆"));
  EXPECT_TRUE(Has(SignIn("boundclerk", "secret1"), kSignedIn));
  EXPECT_TRUE(Has(Get("/AdUserList.html", admin_).body, "固定IP登陆：127.0.0.1"));
  EXPECT_TRUE(Has(SignInFrom("192.168.3.4", "boundclerk", "secret1"), "该帐号不允许从当前电脑登陆"));
  EXPECT_TRUE(Has(SignIn("boundclerk", "secret1"), kSignedIn));
  // An unbound clerk may move.
  ASSERT_EQ("OK", Add("freeclerk", "secret1", "&str3=1"));
  EXPECT_TRUE(Has(SignIn("freeclerk", "secret1"), kSignedIn));
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
  EXPECT_TRUE(Has(SignIn("admin", old_password), kWrongPassword));
  EXPECT_TRUE(Has(SignIn("admin", "newpass1"), kSignedIn));

  // A print administrator changes its own password, whatever id it names.
  AddStaff("40, 'printer', 'secret1', 6, 0, 0, ''");
  SessionCookie printer;
  SignIn("printer", "secret1", &printer);
  EXPECT_EQ("OK", change("secret1", "secret2", printer));
  EXPECT_EQ("secret2", BaseValue("select qrtb10 from qrtb7 where qrtb8 = 40"));
  EXPECT_EQ("newpass1", BaseValue("select qrtb10 from qrtb7 where qrtb8 = 1"));
}

}  // namespace

}  // namespace korva
