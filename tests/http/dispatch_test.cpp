// The dispatcher's own answers: exact header bytes, the replies built from
// a handler's result, the empty-reply rule, the fixed small replies and the
// service-closed and refused-browser pages.
#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>
#include <tuple>

#include "database/data_lock.h"
#include "database/model.h"
#include "pages/common/setup_result_page.h"
#include "pages/meet/meet_routes.h"
#include "pages/setup/setup_routes.h"
#include "tests/http/server_fixture.h"
#include "web/login.h"
#include "web/response.h"
#include "web/route_table.h"

namespace korva {

namespace {

// The message of the last call of the test's administration result page,
// which answers "result <code>" to the administrator only.
std::string result_message;

void FakeResultPage(int code, std::string_view message, const LoginNode& session, std::string& reply) {
  result_message = message;
  if (session.Role == kRoleAdmin) AppendHtmlPage(session, "result " + std::to_string(code), reply);
}

// What the test handler gives back; it also builds a page when asked.
int handler_result = 0;
std::string handler_message;
bool handler_builds_page = false;

void TestHandler(RouteContext& ctx) {
  ctx.result = handler_result;
  ctx.message = handler_message;
  if (handler_builds_page) AppendHtmlPage(ctx.session, "handler page", ctx.reply);
}
void Silent(RouteContext&) {}
void Throwing(RouteContext&) { throw std::runtime_error("broken"); }
// Answers which mode of DataLock the dispatcher holds around it.
void LockProbe(RouteContext& ctx) {
  AppendHtmlPage(ctx.session, DataLock.HeldForWrite() ? "write" : DataLock.HeldForRead() ? "read" : "none",
                 ctx.reply);
}
// A reader that tries to write: refused, and the request still answered.
void ReaderWrites(RouteContext&) { DataGuard hold(DataLock); }
// A destructive step confirmed with staff credentials, as the meet deletion
// does: "ok" or "refused", and the session's role afterwards.
std::string confirm_password;
void ConfirmWithCredentials(RouteContext& ctx) {
  bool ok = CheckLogin(*ctx.shared, "admin", confirm_password, true);
  ctx.Refresh();
  AppendHtmlPage(ctx.session, std::string(ok ? "ok " : "refused ") + std::to_string(ctx.session.Role), ctx.reply);
}

using enum Answer;
using enum Access;
constexpr RouteRow kTestRows[] = {
    {.path = "/t/result", .roles = kAdmin, .code = 201, .handler = TestHandler, .access = kWrite,
     .empty = EmptyReply::kAdminResult, .answer = kResultPage, .base = 50},
    {.path = "/t/classlogin", .roles = kAnyone, .code = 202, .handler = TestHandler,
     .answer = kClassLoginOnFailure},
    {.path = "/t/redirect", .roles = kAnyone, .code = 203, .handler = TestHandler,
     .answer = kRedirectOnSuccess, .redirect = 2},
    {.path = "/t/schedule", .roles = kAdmin, .code = 204, .handler = TestHandler,
     .answer = kRedirectElseResultPage, .base = 92, .redirect = 5},
    {.path = "/t/failure", .roles = kAdmin, .code = 205, .handler = TestHandler,
     .answer = kRedirectElseFailure, .base = 81, .redirect = 3},
    {.path = "/t/silent-admin", .roles = kAdmin, .code = 206, .handler = Silent, .empty = EmptyReply::kAdminResult},
    {.path = "/t/silent-page", .roles = kAnyone, .code = 207, .handler = Silent},
    {.path = "/t/silent-ajax", .roles = kAnyone, .code = 208, .handler = Throwing, .empty = EmptyReply::kEmptyBody},
    {.path = "/t/throwing-post", .roles = kAdmin, .code = 209, .handler = Throwing,
     .empty = EmptyReply::kAdminResult, .answer = kResultPage},
    {.path = "/t/unbuilt", .roles = kAnyone, .code = 210},
    {.path = "/t/none", .roles = kAnyone, .code = 211, .handler = LockProbe, .access = kNone},
    {.path = "/t/read", .roles = kAnyone, .code = 212, .handler = LockProbe, .access = kRead},
    {.path = "/t/write", .roles = kAnyone, .code = 213, .handler = LockProbe, .access = kWrite},
    {.path = "/t/reader-writes", .roles = kAnyone, .code = 214, .handler = ReaderWrites,
     .empty = EmptyReply::kEmptyBody},
    {.path = "/t/confirm", .roles = kAdmin, .code = 215, .handler = ConfirmWithCredentials, .access = kNone},
};

class DispatchTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    handler_result = 0;
    handler_message.clear();
    handler_builds_page = false;
    admin_ = LoginAdmin();
  }
  // Adds the test rows behind the real ones, with the test's result page.
  void InstallTestRows() {
    std::vector<RouteTable> tables = SetupRouteTables();
    for (RouteTable t : MeetRouteTables()) tables.push_back(t);
    tables.push_back(kTestRows);
    InstallRouteTables(tables, {FakeResultPage});
  }
};

TEST_F(DispatchTest, PageHeaderIsExactlyTheFixedOne) {
  HttpResponse reply = Get("/AdminIndex.html");
  std::regex fixed(
      "HTTP/1\\.1 200 OK\r\nDate: (Sunday|Monday|Tuesday|Wednesday|Thursday|Friday|Saturday), [0-9]{2} "
      "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2} GMT\r\n"
      "Content-Type: text/html; charset=gb2312\r\nServer: BrimlyWsv1\\.7\r\nContent-Length: " +
      std::to_string(reply.body.size()) +
      "\r\nCache-Control: no-cache\r\nConnection: Keep-Alive\r\nExpires: Wed,11 Jan 1984 05:00:00 GMT\r\n"
      "Pragma: no-cache\r\nCache-Control: no-cache\r\nSet-Cookie: session=brimly" +
      std::to_string(CookieNumber(reply).number) + "E; HttpOnly; SameSite=Lax\r\nSet-Cookie: site=brimly" +
      std::to_string(CookieNumber(reply).number) + "E; HttpOnly; SameSite=Strict\r\n");
  EXPECT_TRUE(std::regex_match(reply.head, fixed)) << reply.head;
}

TEST_F(DispatchTest, EveryRouteGetsAWholeAnswer) {
  InstallTestRows();
  EXPECT_NE(std::string::npos, Get("/t/unbuilt").body.find("请重新登陆"));
  EXPECT_EQ("result 99", Page("/t/silent-admin"));
  EXPECT_NE(std::string::npos, Get("/t/silent-page").body.find("请重新登陆"));
  HttpResponse ajax = Get("/t/silent-ajax");
  EXPECT_EQ(200, ajax.status);
  EXPECT_EQ("0", ajax.Header("Content-Length"));
  // A set-up post whose handler throws must not read as result 0 (done).
  EXPECT_EQ("result 99", Send("/t/throwing-post", "x=1"));
  // A reader that asks to write is refused, and the request still answered.
  EXPECT_EQ("0", Get("/t/reader-writes").Header("Content-Length"));
}

TEST_F(DispatchTest, AConfirmationInAHandlerSignsTheRequestingSessionInOrOut) {
  InstallTestRows();
  confirm_password = meet_->admin_password();
  EXPECT_EQ("ok 8", Page("/t/confirm"));
  EXPECT_EQ("ok 8", Page("/t/confirm"));  // still signed in: the session itself was used
  confirm_password = "wrong";
  EXPECT_EQ("refused 0", Page("/t/confirm"));
  EXPECT_NE(std::string::npos, Page("/t/confirm").find("请重新登陆"));  // signed out for good
}

TEST_F(DispatchTest, HandlersRunUnderTheLockModeOfTheirRow) {
  InstallTestRows();
  EXPECT_EQ("none", Get("/t/none").body);
  EXPECT_EQ("read", Get("/t/read").body);
  EXPECT_EQ("write", Get("/t/write", CookieNumber(Get("/"))).body);
}

TEST_F(DispatchTest, AnswersBuiltFromTheHandlersResult) {
  InstallTestRows();
  handler_message = "why";
  handler_builds_page = true;  // replaced wherever the answer is not the handler's page
  const std::tuple<const char*, int, std::string> cases[] = {
      {"/t/result", 3, "result 53"},
      {"/t/result", 0, "result 50"},
      {"/t/classlogin", 0, "handler page"},
      {"/t/redirect", 1, "handler page"},
      {"/t/schedule", 1, "result 92"},
  };
  for (const auto& [path, result, expected] : cases) {
    handler_result = result;
    EXPECT_EQ(expected, Page(path)) << path << " " << result;
  }
  handler_result = 1;
  EXPECT_NE(std::string::npos, Get("/t/classlogin").body.find("当前运动会未设置完成"));
  handler_result = 0;
  EXPECT_NE(std::string::npos, Get("/t/redirect").body.find("'/ShowClass.html'"));
  handler_message = "?DayID=2";
  EXPECT_NE(std::string::npos, Page("/t/schedule").find("'/MatchPlan.html?DayID=2'"));
  handler_message = "7";
  EXPECT_NE(std::string::npos, Page("/t/failure").find("'/SetupGrade.html?id=7'"));
  // A failure shows the handler's reason as text, never as markup.
  handler_result = 1;
  handler_message = "<b>名称重复";
  EXPECT_EQ("result 81", Page("/t/failure"));
  EXPECT_EQ("&lt;b&gt;名称重复", result_message);
}

TEST_F(DispatchTest, EntryListingsBeforeAnyEventIsChosen) {
  EXPECT_NE(std::string::npos, Page("/ShowBaoMing.html").find("您还没有建立运动会，请先新建一个运动会！"));
  meet_->OpenNewMeet();
  {
    // A group without events still has its node in the list.
    DataGuard hold(DataLock);
    Model().GroupEventList.push_back(GroupEventNode{.GroupId = 1});
  }
  EXPECT_NE(std::string::npos, Page("/ShowBaoMing2.html").find("您还没有设置各竞赛组的比赛！"));
  DataGuard hold(DataLock);
  Model().GroupEventList.clear();
}

TEST_F(DispatchTest, RegistrationSwitchAnswersOneDigit) {
  meet_->OpenNewMeet();
  EXPECT_EQ("5", Page("/WebBaoMingClose.html?ID=1"));  // no rounds
  EXPECT_EQ("6", Page("/WebBaoMingClose.html?ID=7"));
  EXPECT_EQ("3", Page("/WebBaoMingClose.html?ID=2"));
  {
    DataGuard hold(DataLock);
    EXPECT_EQ(1, Model().RegistrationClosed);
    Model().RoundList.push_back(RoundNode{});
  }
  EXPECT_EQ("1", Page("/WebBaoMingClose.html?ID=1"));
  {
    DataGuard hold(DataLock);
    EXPECT_EQ(0, Model().RegistrationClosed);
    Model().LaneList.push_back(LaneNode{});
  }
  EXPECT_EQ("4", Page("/WebBaoMingClose.html?ID=1"));
}

TEST_F(DispatchTest, MenusSuspensionAndFirefoxGetTheirPages) {
  EXPECT_NE(std::string::npos, Page("/Adft.html").find("模拟报名"));
  EXPECT_NE(std::string::npos, Page("/Table.html").find("总分表"));

  WebSuspended = 1;
  EXPECT_NE(std::string::npos, Get("/admin.css").body.find("网页服务已经被管理员关闭，请稍后访问！"));
  WebSuspended = 0;
  HttpResponse firefox = Ask("GET / HTTP/1.1\r\nUser-Agent: Mozilla/5.0 Firefox/120.0\r\n\r\n");
  EXPECT_NE(std::string::npos, firefox.body.find("火狐"));
}

}  // namespace

}  // namespace korva
