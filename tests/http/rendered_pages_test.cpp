// Every page that is built, asked for by a role that may have it, comes with
// every placeholder of its templates filled: no "<%=" is left in any answer.
// The pages are found in the installed route tables, so a new page is
// covered as soon as its row has a handler.
#include <gtest/gtest.h>

#include <string>

#include "tests/http/registration_fixture.h"
#include "web/route_table.h"

namespace korva {

namespace {

// Administration pages that show another form with a query: one path each.
const char* const kPathsWithQueries[] = {
    "/SetupGrade.html?id=1",   "/EditClassName.html?GDID=1", "/SetupMatch.html?id=901",
    "/SetupMatch.html?id=904", "/SetupMatch.html?id=905",    "/SetupYard.html?id=1",
    "/SetupYard.html?id=4",    "/SetupScore.html?id=1",
};

class RenderedPagesTest : public RegistrationServerTest {};

TEST_F(RenderedPagesTest, NoPlaceholderIsLeftInAnyPage) {
  OpenMeet();
  const SessionCookie sessions[] = {{}, LoginTeacher(), LoginAdmin()};
  const int roles[] = {kRoleNone, kRoleClassTeacher, kRoleAdmin};
  int pages = 0;
  for (const RouteRow* row : AllRouteRows()) {
    // Pages that change the meet are left to their own tests.
    if (row->path.empty() || row->handler == nullptr || row->access == Access::kWrite ||
        row->method == Method::kPost)
      continue;
    for (int i = 0; i < 3; ++i) {
      if (!(row->roles & Role(roles[i]))) continue;
      std::string path(row->path);
      HttpResponse reply = Get(path, sessions[i]);
      EXPECT_EQ(reply.body.find("<%="), std::string::npos) << path << " as role " << roles[i];
      ++pages;
    }
  }
  EXPECT_GT(pages, 10);
  for (const char* path : kPathsWithQueries) {
    HttpResponse reply = Get(path, sessions[2]);
    EXPECT_NE(reply.body.find("</form>"), std::string::npos) << path;
    EXPECT_EQ(reply.body.find("<%="), std::string::npos) << path;
  }
}

// Set-up pages whose rows take the lock alone (they are built through store
// functions that do), before and after a meet is opened; without a meet
// they send the administrator to create one.
TEST_F(RenderedPagesTest, SetupPagesBuiltUnderTheWritersLock) {
  const SessionCookie admin = LoginAdmin();
  for (bool meet : {false, true}) {
    if (meet) OpenMeet();
    for (const char* path : {"/SetupMeetName.html", "/SetupMeetGrade.html", "/SetupGradeMatch.html"}) {
      std::string body = Get(path, admin).body;
      EXPECT_NE(body.find("</html>"), std::string::npos) << path;
      EXPECT_EQ(body.find("<%="), std::string::npos) << path;
      EXPECT_EQ(meet, body.find("点此开始新建一个运动会") == std::string::npos) << path;
    }
  }
}

}  // namespace

}  // namespace korva
