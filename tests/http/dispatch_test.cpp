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

namespace {

// The last call of the administration result page hook.
struct ResultPageCall {
  int code = -1;
  std::string message;
};
ResultPageCall last_result_page;

void FakeResultPage(int code, std::string_view message, LoginNode& session, std::string& reply) {
  last_result_page = {code, std::string(message)};
  if (session.Role != kRoleAdmin) return;
  std::string body = "result " + std::to_string(code);
  reply += FormatHtmlHeader(session, body.size()) + body;
}

int handler_result = 0;
std::string handler_message;
bool handler_builds_page = false;

void TestHandler(RouteContext& ctx) {
  ctx.result = handler_result;
  ctx.message = handler_message;
  if (handler_builds_page) AppendHtmlPage(ctx.session, "handler page", ctx.reply);
}

void SilentHandler(RouteContext&) {}

void ThrowingHandler(RouteContext&) { throw std::runtime_error("broken"); }

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
    last_result_page = {};
    handler_result = 0;
    handler_message.clear();
    handler_builds_page = false;
  }
  void TearDown() override {
    for (int code : registered_) RegisterRoute(code, nullptr);
    SetAdminResultPageHook(nullptr);
    ServerTest::TearDown();
  }
  void Register(int code, RouteHandler handler, EmptyReply empty = EmptyReply::kSessionExpired) {
    RegisterRoute(code, handler, empty);
    registered_.push_back(code);
  }
  std::vector<int> registered_;
};

TEST_F(DispatchTest, PageHeaderIsExactlyTheFixedOne) {
  HttpResponse reply = Get("/AdminIndex.html");
  int session = CookieNumber(reply);
  std::regex fixed(
      "HTTP/1\\.1 200 OK\r\nDate: (Sunday|Monday|Tuesday|Wednesday|Thursday|Friday|Saturday), [0-9]{2} "
      "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2} GMT\r\n"
      "Content-Type: text/html; charset=gb2312\r\nServer: BrimlyWsv1\\.7\r\nContent-Length: " +
      std::to_string(reply.body.size()) +
      "\r\nCache-Control: no-cache\r\nConnection: Keep-Alive\r\nExpires: Wed,11 Jan 1984 05:00:00 GMT\r\n"
      "Pragma: no-cache\r\nCache-Control: no-cache\r\nSet-Cookie: session=brimly" +
      std::to_string(session) + "E\r\n");
  EXPECT_TRUE(std::regex_match(reply.head, fixed)) << reply.head;
}

TEST_F(DispatchTest, RouteWithoutHandlerAnswersTheSessionExpiredPage) {
  int session = LoginAdmin();
  HttpResponse reply = Get("/ShowYards.html", session);
  EXPECT_EQ(200, reply.status);
  EXPECT_NE(std::string::npos, reply.body.find("请重新登陆"));
}

TEST_F(DispatchTest, EmptyRepliesAreAlwaysAnswered) {
  int admin = LoginAdmin();
  Register(39, SilentHandler, EmptyReply::kAdminResult);
  Register(3, SilentHandler, EmptyReply::kSessionExpired);
  Register(4, SilentHandler, EmptyReply::kEmptyBody);
  Register(6, ThrowingHandler, EmptyReply::kEmptyBody);

  HttpResponse admin_page = Get("/ShowYards.html", admin);
  EXPECT_EQ("result 99", admin_page.body);
  HttpResponse page = Get("/GongGao.html");
  EXPECT_NE(std::string::npos, page.body.find("请重新登陆"));
  HttpResponse feed = Get("/GetPbDate.html");
  EXPECT_EQ("0", feed.Header("Content-Length"));
  EXPECT_EQ("", feed.body);
  HttpResponse thrown = Get("/GetPbDate2.html");
  EXPECT_EQ(200, thrown.status);
  EXPECT_EQ("0", thrown.Header("Content-Length"));

  // A set-up post whose handler throws must not read as result 0 (done).
  Register(142, ThrowingHandler, EmptyReply::kAdminResult);
  HttpResponse failed_post = Post("/JianLiYdh.html", "BiSaiName=x", admin);
  EXPECT_EQ("result 99", failed_post.body);
}

TEST_F(DispatchTest, SetupIncompleteStageGetsAPageNotSilence) {
  int admin = LoginAdmin();
  SetSetupStageHook([] { return 5; });
  HttpResponse reply = Get("/SetupMeet.html", admin);
  SetSetupStageHook(nullptr);
  EXPECT_NE(std::string::npos, reply.body.find("设置尚未完成"));
  EXPECT_NE(std::string::npos, reply.body.find("Admin.html"));
}

TEST_F(DispatchTest, SetupPostsGoToTheResultPageWithTheirBase) {
  int admin = LoginAdmin();
  struct Case {
    int route;
    const char* path;
    int result;
    int code;
  } cases[] = {
      {142, "/JianLiYdh.html", 11, 11},   {143, "/ChangYdhName.html", 1, 21}, {144, "/ChangeGrade.html", 2, 32},
      {145, "/ChangGrdeMatch.html", 1, 41}, {150, "/AddYard.html", 3, 53},   {151, "/DelYard.html", 1, 61},
      {152, "/AddMatch.html", 2, 72},     {153, "/DelMatch.html", 0, 70},     {155, "/AddGrade.html", 1, 81},
      {156, "/DelGrade.html", 0, 80},     {162, "/ChongPaiBiSai.html", 1, 56},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    Register(c.route, TestHandler);
    handler_result = c.result;
    handler_message = "why";
    handler_builds_page = true;  // replaced by the result page
    HttpResponse reply = Post(c.path, "x=1", admin);
    EXPECT_EQ("result " + std::to_string(c.code), reply.body);
    EXPECT_EQ("why", last_result_page.message);
  }
}

TEST_F(DispatchTest, GroupEventsSuccessBecomesFourOnlyWhenEveryRoundIsPlaced) {
  int admin = LoginAdmin();
  Register(145, TestHandler);
  handler_result = 0;
  EXPECT_EQ("result 44", Post("/ChangGrdeMatch.html", "x=1", admin).body);
  {
    DataGuard hold(DataLock);
    RoundNode unplaced;
    Model().RoundList.push_back(unplaced);
  }
  EXPECT_EQ("result 40", Post("/ChangGrdeMatch.html", "x=1", admin).body);
  DataGuard hold(DataLock);
  Model().RoundList.clear();
}

TEST_F(DispatchTest, RedirectsAndFailurePagesAfterClassNameScoringAndSchedulePosts) {
  int admin = LoginAdmin();
  Register(158, TestHandler);
  Register(159, TestHandler);
  Register(161, TestHandler);
  handler_result = 7;
  EXPECT_NE(std::string::npos, Post("/EditCSname.html", "x=1", admin).body.find("'/SetupGrade.html?id=7'"));
  handler_result = 0;
  handler_message = "名称重复";
  EXPECT_NE(std::string::npos,
            Post("/EditCSname.html", "x=1", admin).body.find("Sorry:操作失败，原因是：<br>名称重复"));
  EXPECT_NE(std::string::npos, Post("/AddScore.html", "x=1", admin).body.find("'/ShowScore.html'"));
  handler_message = "?DayID=2";
  EXPECT_NE(std::string::npos, Post("/MatchPlan.html", "x=1", admin).body.find("'/MatchPlan.html?DayID=2'"));
  handler_result = 1;
  EXPECT_EQ("result 92", Post("/MatchPlan.html", "x=1", admin).body);
}

TEST_F(DispatchTest, SchedulePageGetsItsNumbersAndTheSelectionText) {
  int admin = LoginAdmin();
  Register(47, EchoArgsHandler);
  EXPECT_EQ("3,2|YapSel=5-6", Get("/MatchPlan.html?DayID=3&MatchType=2&YapSel=5-6", admin).body);
  SetSetupStageHook([] { return 3; });
  EXPECT_EQ("0,0|", Get("/SetupMeet.html", admin).body);
  SetSetupStageHook(nullptr);
}

TEST_F(DispatchTest, EntryListingsFallBackToTheResultPage) {
  int admin = LoginAdmin();
  Register(48, TestHandler);
  Register(49, TestHandler);
  // No meet and no group events: the listing is not called.
  HttpResponse reply = Get("/ShowBaoMing.html", admin);
  EXPECT_EQ("result 7", reply.body);
  EXPECT_EQ("您还没有建立运动会，请先新建一个运动会！", last_result_page.message);
  Get("/ShowBaoMing2.html", admin);
  EXPECT_EQ(6, last_result_page.code);
  EXPECT_EQ("您还没有设置各竞赛组的比赛！", last_result_page.message);
  {
    DataGuard hold(DataLock);
    Model().GroupEventList.push_back(GroupEventNode{});
  }
  handler_result = 1;
  Get("/ShowBaoMing2.html", admin);
  EXPECT_EQ("数据有错误，建议管理员重新建立运动会！", last_result_page.message);
  DataGuard hold(DataLock);
  Model().GroupEventList.clear();
}

TEST_F(DispatchTest, NewEventWithoutVenuesGoesToTheResultPage) {
  int admin = LoginAdmin();
  Register(41, TestHandler);
  handler_builds_page = true;
  EXPECT_EQ("result 5", Get("/SetupMatch.html", admin).body);
  EXPECT_EQ("您还没有添加场地，请先添加比赛场地！", last_result_page.message);
  EXPECT_EQ("handler page", Get("/SetupMatch.html?id=4", admin).body);
}

TEST_F(DispatchTest, RegistrationSwitchAnswersOneDigit) {
  meet_->OpenNewMeet();
  int admin = LoginAdmin();
  EXPECT_EQ("5", Get("/WebBaoMingClose.html?ID=1", admin).body);  // no rounds
  EXPECT_EQ("6", Get("/WebBaoMingClose.html?ID=7", admin).body);
  EXPECT_EQ("3", Get("/WebBaoMingClose.html?ID=2", admin).body);
  {
    DataGuard hold(DataLock);
    EXPECT_EQ(1, Model().RegistrationClosed);
    Model().RoundList.push_back(RoundNode{});
  }
  EXPECT_EQ("1", Get("/WebBaoMingClose.html?ID=1", admin).body);
  {
    DataGuard hold(DataLock);
    EXPECT_EQ(0, Model().RegistrationClosed);
    Model().LaneList.push_back(LaneNode{});
  }
  EXPECT_EQ("4", Get("/WebBaoMingClose.html?ID=1", admin).body);
}

TEST_F(DispatchTest, AdvancedFunctionsAndReportsMenusAreFramed) {
  {
    DataGuard hold(DataLock);
    Model().MeetName = "<b>运动会</b>";
  }
  int admin = LoginAdmin();
  HttpResponse advanced = Get("/Adft.html", admin);
  EXPECT_NE(std::string::npos, advanced.body.find("模拟报名"));
  EXPECT_NE(std::string::npos, advanced.body.find("af.js"));
  EXPECT_NE(std::string::npos, advanced.body.find("&lt;b&gt;运动会&lt;/b&gt;"));
  EXPECT_EQ(std::string::npos, advanced.body.find("<%="));
  EXPECT_NE(std::string::npos, Get("/Table.html", admin).body.find("总分表"));
}

TEST_F(DispatchTest, SuspendedServiceAndFirefoxGetTheirPages) {
  WebSuspended = 1;
  EXPECT_NE(std::string::npos, Get("/admin.css").body.find("网页服务已经被管理员关闭，请稍后访问！"));
  WebSuspended = 0;
  HttpResponse firefox = Ask("GET / HTTP/1.1\r\nUser-Agent: Mozilla/5.0 Firefox/120.0\r\n\r\n");
  EXPECT_NE(std::string::npos, firefox.body.find("火狐"));
}

}  // namespace
