// The dispatcher's own answers: exact header bytes, the replies built from
// a handler's result, the empty-reply rule, the fixed small replies and the
// service-closed and refused-browser pages.
#include <gtest/gtest.h>

#include <regex>

#include "database/data_lock.h"
#include "database/model.h"
#include "tests/http/server_fixture.h"
#include "web/response.h"
#include "web/route_table.h"

namespace korva {

namespace {

// The message of the last call of the administration result page hook,
// which answers "result <code>" to the administrator only.
std::string result_message;

void FakeResultPage(int code, std::string_view message, LoginNode& session, std::string& reply) {
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
void EchoArgsHandler(RouteContext& ctx) {
  std::string body = std::to_string(ctx.args[0]) + "," + std::to_string(ctx.args[1]) + "|" + ctx.reply;
  ctx.reply.clear();
  AppendHtmlPage(ctx.session, body, ctx.reply);
}

class DispatchTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    SetAdminResultPageHook(FakeResultPage);
    handler_result = 0;
    handler_message.clear();
    handler_builds_page = false;
    admin_ = LoginAdmin();
  }
  void TearDown() override {
    for (int code : registered_) RegisterRoute(code, nullptr);
    SetAdminResultPageHook(nullptr);
    SetSetupStageHook(nullptr);
    ServerTest::TearDown();
  }
  void Register(int code, RouteHandler handler, EmptyReply empty = EmptyReply::kSessionExpired) {
    RegisterRoute(code, handler, empty);
    registered_.push_back(code);
  }
  std::string AdminGet(const std::string& path) { return Get(path, admin_).body; }
  std::string AdminPost(const std::string& path) { return Post(path, "x=1", admin_).body; }

  std::vector<int> registered_;
  int admin_ = 0;
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
      std::to_string(CookieNumber(reply)) + "E\r\n");
  EXPECT_TRUE(std::regex_match(reply.head, fixed)) << reply.head;
}

TEST_F(DispatchTest, EveryRouteGetsAWholeAnswer) {
  EXPECT_NE(std::string::npos, AdminGet("/ShowYards.html").find("请重新登陆"));  // no handler yet
  RouteHandler silent = [](RouteContext&) {};
  RouteHandler throwing = [](RouteContext&) { throw std::runtime_error("broken"); };
  Register(39, silent, EmptyReply::kAdminResult);
  Register(3, silent, EmptyReply::kSessionExpired);
  Register(4, silent, EmptyReply::kEmptyBody);
  Register(6, throwing, EmptyReply::kEmptyBody);
  Register(142, throwing, EmptyReply::kAdminResult);
  EXPECT_EQ("result 99", AdminGet("/ShowYards.html"));
  EXPECT_NE(std::string::npos, Get("/GongGao.html").body.find("请重新登陆"));
  for (const char* feed : {"/GetPbDate.html", "/GetPbDate2.html"}) {
    HttpResponse reply = Get(feed);
    EXPECT_EQ(200, reply.status);
    EXPECT_EQ("0", reply.Header("Content-Length"));
  }
  // A set-up post whose handler throws must not read as result 0 (done).
  EXPECT_EQ("result 99", AdminPost("/JianLiYdh.html"));
  // Set-up stages 4 to 7 have no page of their own.
  SetSetupStageHook([] { return 5; });
  std::string incomplete = AdminGet("/SetupMeet.html");
  EXPECT_NE(std::string::npos, incomplete.find("设置尚未完成"));
  EXPECT_NE(std::string::npos, incomplete.find("Admin.html"));
}

TEST_F(DispatchTest, SetupPostsGoToTheResultPageWithTheirBase) {
  const std::tuple<int, const char*, int, int> cases[] = {
      {142, "/JianLiYdh.html", 11, 11}, {143, "/ChangYdhName.html", 1, 21}, {144, "/ChangeGrade.html", 2, 32},
      {145, "/ChangGrdeMatch.html", 1, 41}, {150, "/AddYard.html", 3, 53}, {151, "/DelYard.html", 1, 61},
      {152, "/AddMatch.html", 2, 72}, {153, "/DelMatch.html", 0, 70}, {155, "/AddGrade.html", 1, 81},
      {156, "/DelGrade.html", 0, 80}, {162, "/ChongPaiBiSai.html", 1, 56},
  };
  handler_message = "why";
  handler_builds_page = true;  // replaced by the result page
  for (const auto& [route, path, result, code] : cases) {
    Register(route, TestHandler);
    handler_result = result;
    EXPECT_EQ("result " + std::to_string(code), AdminPost(path)) << path;
    EXPECT_EQ("why", result_message);
  }
  // The group events' success becomes 4 only while every enabled round is placed.
  handler_result = 0;
  EXPECT_EQ("result 44", AdminPost("/ChangGrdeMatch.html"));
  {
    DataGuard hold(DataLock);
    Model().RoundList.push_back(RoundNode{});
  }
  EXPECT_EQ("result 40", AdminPost("/ChangGrdeMatch.html"));
  DataGuard hold(DataLock);
  Model().RoundList.clear();
}

TEST_F(DispatchTest, RedirectsAndFailurePagesAfterClassNameScoringAndSchedulePosts) {
  for (int route : {158, 159, 161}) Register(route, TestHandler);
  handler_result = 7;
  EXPECT_NE(std::string::npos, AdminPost("/EditCSname.html").find("'/SetupGrade.html?id=7'"));
  handler_result = 0;
  handler_message = "名称重复";
  EXPECT_NE(std::string::npos, AdminPost("/EditCSname.html").find("Sorry:操作失败，原因是：<br>名称重复"));
  EXPECT_NE(std::string::npos, AdminPost("/AddScore.html").find("'/ShowScore.html'"));
  handler_message = "?DayID=2";
  EXPECT_NE(std::string::npos, AdminPost("/MatchPlan.html").find("'/MatchPlan.html?DayID=2'"));
  handler_result = 1;
  EXPECT_EQ("result 92", AdminPost("/MatchPlan.html"));
}

TEST_F(DispatchTest, PagesThatTheDispatcherPreparesOrReplaces) {
  Register(47, EchoArgsHandler);
  EXPECT_EQ("3,2|YapSel=5-6", AdminGet("/MatchPlan.html?DayID=3&MatchType=2&YapSel=5-6"));
  SetSetupStageHook([] { return 3; });
  EXPECT_EQ("0,0|", AdminGet("/SetupMeet.html"));

  Register(41, TestHandler);
  handler_builds_page = true;
  EXPECT_EQ("result 5", AdminGet("/SetupMatch.html"));
  EXPECT_EQ("您还没有添加场地，请先添加比赛场地！", result_message);
  EXPECT_EQ("handler page", AdminGet("/SetupMatch.html?id=4"));

  // The entry listings: without a meet and group events the listing is not called.
  Register(48, TestHandler);
  Register(49, TestHandler);
  EXPECT_EQ("result 7", AdminGet("/ShowBaoMing.html"));
  EXPECT_EQ("您还没有建立运动会，请先新建一个运动会！", result_message);
  EXPECT_EQ("result 6", AdminGet("/ShowBaoMing2.html"));
  EXPECT_EQ("您还没有设置各竞赛组的比赛！", result_message);
  {
    DataGuard hold(DataLock);
    Model().GroupEventList.push_back(GroupEventNode{});
  }
  handler_result = 1;
  AdminGet("/ShowBaoMing2.html");
  EXPECT_EQ("数据有错误，建议管理员重新建立运动会！", result_message);
  DataGuard hold(DataLock);
  Model().GroupEventList.clear();
}

TEST_F(DispatchTest, RegistrationSwitchAnswersOneDigit) {
  meet_->OpenNewMeet();
  EXPECT_EQ("5", AdminGet("/WebBaoMingClose.html?ID=1"));  // no rounds
  EXPECT_EQ("6", AdminGet("/WebBaoMingClose.html?ID=7"));
  EXPECT_EQ("3", AdminGet("/WebBaoMingClose.html?ID=2"));
  {
    DataGuard hold(DataLock);
    EXPECT_EQ(1, Model().RegistrationClosed);
    Model().RoundList.push_back(RoundNode{});
  }
  EXPECT_EQ("1", AdminGet("/WebBaoMingClose.html?ID=1"));
  {
    DataGuard hold(DataLock);
    EXPECT_EQ(0, Model().RegistrationClosed);
    Model().LaneList.push_back(LaneNode{});
  }
  EXPECT_EQ("4", AdminGet("/WebBaoMingClose.html?ID=1"));
}

TEST_F(DispatchTest, MenusSuspensionAndFirefoxGetTheirPages) {
  {
    DataGuard hold(DataLock);
    Model().MeetName = "<b>运动会</b>";
  }
  std::string advanced = AdminGet("/Adft.html");
  EXPECT_NE(std::string::npos, advanced.find("模拟报名"));
  EXPECT_NE(std::string::npos, advanced.find("<script src=\"af.js\""));
  EXPECT_NE(std::string::npos, advanced.find("&lt;b&gt;运动会&lt;/b&gt;"));
  EXPECT_EQ(std::string::npos, advanced.find("<%="));
  EXPECT_NE(std::string::npos, AdminGet("/Table.html").find("总分表"));

  WebSuspended = 1;
  EXPECT_NE(std::string::npos, Get("/admin.css").body.find("网页服务已经被管理员关闭，请稍后访问！"));
  WebSuspended = 0;
  HttpResponse firefox = Ask("GET / HTTP/1.1\r\nUser-Agent: Mozilla/5.0 Firefox/120.0\r\n\r\n");
  EXPECT_NE(std::string::npos, firefox.body.find("火狐"));
}

}  // namespace

}  // namespace korva
