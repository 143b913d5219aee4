// The installed route tables as a whole: every request finds at most one
// row, administration rows answer the administrator only, and the router's
// tests come in their order.
#include "host/routes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/model.h"
#include "pages/setup/setup_stage_page.h"
#include "web/route_table.h"
#include "web/router.h"
#include "web/web_server.h"

namespace korva {

namespace {

constexpr int kRoles[] = {kRoleNone, kRoleClassTeacher, kRolePrintAdmin, kRoleScoreClerk, kRoleAdmin};

int Route(std::string_view method, std::string_view path, int role, int browser = kBrowserChrome) {
  HttpRequest request;
  request.Method = method;
  request.Path = path;
  request.Browser = browser;
  return RouteRequest(request, role);
}

class RoutesTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallAllRoutes(); }
};

TEST_F(RoutesTest, EveryRequestFindsAtMostOneRow) {
  std::vector<const RouteRow*> rows = AllRouteRows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const RouteRow& a = *rows[i];
    EXPECT_TRUE(a.path.empty() || (a.path.starts_with('/') && a.path.find('?') == std::string_view::npos))
        << a.code;
    for (std::size_t j = i + 1; j < rows.size(); ++j) {
      const RouteRow& b = *rows[j];
      if (a.path.empty() || a.path != b.path) continue;
      bool methods_meet = (static_cast<unsigned>(a.method) & static_cast<unsigned>(b.method)) != 0;
      EXPECT_FALSE(methods_meet && (a.roles & b.roles)) << a.path << " is claimed by " << a.code << " and " << b.code;
    }
  }
}

TEST_F(RoutesTest, AdministrationRowsAnswerTheAdministratorOnly) {
  for (const RouteRow* row : AllRouteRows()) {
    bool administration = row->empty == EmptyReply::kAdminResult || row->answer == Answer::kResultPage ||
                          row->answer == Answer::kRedirectElseResultPage ||
                          row->answer == Answer::kRedirectElseFailure;
    if (administration) {
      EXPECT_EQ(kAdmin, row->roles) << row->path << " " << row->code;
    }
    if (row->path.empty() || row->prefix) continue;
    std::string_view method = row->method == Method::kPost ? "POST" : "GET";
    for (int role : kRoles) {
      int code = Route(method, std::string(row->path) + "?x=1", role);
      if (row->roles & Role(role)) {
        EXPECT_NE(kRouteNone, code) << row->path << " role " << role;
      }
    }
    // A staff session from outside the school network is routed as nobody.
    if (!(row->roles & Role(kRoleNone))) {
      EXPECT_EQ(kRouteNone, Route(method, row->path, kRoleNone)) << row->path;
    }
  }
}

TEST_F(RoutesTest, TestsComeInTheirOrder) {
  // Firefox before everything but suspension; other methods before paths.
  EXPECT_EQ(kRouteFirefox, Route("GET", "/admin.css", 8, kBrowserFirefox));
  WebSuspended = 1;
  EXPECT_EQ(kRouteSuspended, Route("GET", "/admin.css", 8, kBrowserFirefox));
  WebSuspended = 0;
  EXPECT_EQ(kRouteNone, Route("PUT", "/Admin.html", 8));
  // Extensions come before paths, whatever the role, and are read from the
  // path, not from the query.
  EXPECT_EQ(kRouteImage, Route("GET", "/Admin.jpg", 0));
  EXPECT_EQ(kRouteDocument, Route("GET", "/%E7%A7%A9.doc?x=1", 0));
  EXPECT_EQ(61, Route("GET", "/upcj.html?str=a.jpg", 7));
  EXPECT_EQ(kRouteNone, Route("GET", "/upcj.html?str=a.jpg", 6));
  // One path, a code per role.
  const int admin_html[] = {0, 0, 17, 16, 31};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(admin_html[i], Route("GET", "/Admin.html", kRoles[i])) << kRoles[i];
}

TEST_F(RoutesTest, HomeAndSetupMeetHaveRowsOfTheirOwn) {
  // The home page's row chooses the login page by the meet when it runs.
  EXPECT_EQ(kRouteHome, Route("GET", "/", 0));
  EXPECT_EQ(kRouteHome, Route("GET", "/?x=1", 8));
  EXPECT_EQ(kRouteHome, Route("GET", "/Welcome.html", 0));  // where the redirect of kind 9 goes
  // "/SetupMeet.html" serves the page of the stage's route.
  EXPECT_EQ(37, Route("GET", "/SetupMeet.html", 8));
  EXPECT_EQ(kRouteNone, Route("GET", "/SetupMeet.html", 7));
  const int expected[] = {33, 34, 35, 36, 37, 37, 37, 37, 32};
  for (int stage = 0; stage <= 8; ++stage) EXPECT_EQ(expected[stage], SetupMeetRoute(stage)) << stage;
}

}  // namespace

}  // namespace korva
