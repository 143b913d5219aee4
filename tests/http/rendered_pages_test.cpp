// The pages as the roles reach them: every page built, asked for by a role
// that may have it, has every placeholder filled, and every link a role can
// follow from its home leads to a page it may open.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <deque>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "database/model.h"
#include "tests/http/server_fixture.h"
#include "tests/testing/text_count.h"
#include "web/route_table.h"

namespace korva {

namespace {

// The client functions (admin.js, af.js) that open a page: the call, the
// address it opens, and what follows its first argument (null: it takes
// none).
struct Opener {
  std::string_view call;
  std::string_view path;
  const char* after_argument;
};
constexpr Opener kOpeners[] = {
    {"AddNJ(", "/SetupGrade.html", nullptr},     {"ChangNJ(", "/SetupGrade.html?id=", ""},
    {"M_EDITBJ(", "/EditClassName.html?GDID=", ""}, {"AddBS(", "/SetupMatch.html", nullptr},
    {"ChangeBiSai(", "/SetupMatch.html?id=", ""}, {"AddCD(", "/SetupYard.html", nullptr},
    {"ChangeCD(", "/SetupYard.html?id=", ""},     {"AddFZ(", "/SetupScore.html", nullptr},
    {"ChangeFZ(", "/SetupScore.html?id=", ""},    {"GetGnStr(", "/getgnstr.html?Dstr=", "-0-0-0-0"},
};

bool IsNameCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The quoted text that follows at (after blanks and an '='); empty when
// none, or when the text is only the start of an address built by the
// script ("..." + value).
std::string QuotedAfter(const std::string& page, std::size_t at) {
  at = page.find_first_not_of(" =", at);
  if (at == std::string::npos || (page[at] != '"' && page[at] != '\'')) return {};
  std::size_t end = page.find(page[at], at + 1);
  if (end == std::string::npos) return {};
  std::size_t next = page.find_first_not_of(' ', end + 1);
  if (next != std::string::npos && page[next] == '+') return {};
  return page.substr(at + 1, end - at - 1);
}

// The server address of a link on our pages, empty for what leaves them
// (scripts, other sites, the page itself).
std::string Address(std::string link) {
  if (link.empty() || link.starts_with('#') || link.starts_with("javascript:") || link.starts_with("http:") ||
      link.starts_with("https:") || link.starts_with("mailto:"))
    return {};
  link = link.substr(0, link.find('#'));
  for (std::size_t at = link.find("&amp;"); at != std::string::npos; at = link.find("&amp;", at + 1))
    link.erase(at + 1, 4);
  return link.starts_with('/') ? link : "/" + link;
}

// Every address a page leads to: href and src attributes (menus, tabs,
// frames, images, scripts, style sheets), the fixed addresses buttons send
// the browser to, and the client functions that open a page.
std::vector<std::string> LinksOf(const std::string& page) {
  std::vector<std::string> links;
  for (std::string_view key : {" href", " src", "location.href"}) {
    for (std::size_t at = page.find(key); at != std::string::npos; at = page.find(key, at + 1)) {
      if (std::string link = Address(QuotedAfter(page, at + key.size())); !link.empty()) links.push_back(link);
    }
  }
  for (const Opener& opener : kOpeners) {
    for (std::size_t at = page.find(opener.call); at != std::string::npos; at = page.find(opener.call, at + 1)) {
      if (at > 0 && IsNameCharacter(page[at - 1])) continue;
      std::size_t start = at + opener.call.size();
      std::string argument = page.substr(start, page.find_first_of(",)", start) - start);
      if (!opener.after_argument) {
        links.emplace_back(opener.path);
      } else if (!argument.empty() && argument.find_first_not_of("0123456789") == std::string::npos) {
        links.push_back(std::string(opener.path) + argument + opener.after_argument);
      }
    }
  }
  return links;
}

class RenderedPagesTest : public ScoringServerTest {
 protected:
  SessionCookie SignIn(int role) {
    switch (role) {
      case kRoleClassTeacher: return LoginTeacher();
      case kRolePrintAdmin: return SignInStaff("printer1", "print123");
      case kRoleScoreClerk: return SignInStaff("clerk1", "clerk123");
      default: return LoginAdmin();
    }
  }

  // Follows every link from the start pages, signed in as role (again after
  // a link that signs out); the number of addresses visited.
  int Crawl(int role, std::vector<std::string> start) {
    SessionCookie session = SignIn(role);
    std::set<std::string> seen(start.begin(), start.end());
    std::deque<std::pair<std::string, std::string>> queue;  // address, the page that links it
    for (const std::string& path : start) queue.emplace_back(path, "(home)");
    while (!queue.empty()) {
      auto [path, from] = queue.front();
      queue.pop_front();
      HttpResponse reply = Get(path, session);
      const std::string where = path + " from " + from + " as role " + std::to_string(role);
      EXPECT_EQ(200, reply.status) << where;
      EXPECT_EQ(reply.body.find("您的登陆已经超时"), std::string::npos) << where;
      EXPECT_EQ(reply.body.find("<%="), std::string::npos) << where;
      EXPECT_EQ(reply.body.find("产生未知错误"), std::string::npos) << where;
      if (RoleOf(session) != role) session = SignIn(role);
      if (reply.Header("Content-Type").find("text/html") == std::string::npos) continue;
      for (const std::string& link : LinksOf(reply.body)) {
        if (seen.insert(link).second) queue.emplace_back(link, path);
      }
      if (seen.size() > 500) {
        ADD_FAILURE() << "more than 500 addresses as role " << role;
        break;
      }
    }
    return static_cast<int>(seen.size());
  }
};

// Each role from its home, the class teacher from the site's address: no
// link leads to the session-expired page, a missing file or an unfinished
// page. The catalogue is reached from the administrator's menu.
TEST_F(RenderedPagesTest, EveryLinkOfEveryRoleLeadsToAPageItMayOpen) {
  OpenMeet();
  const std::vector<std::string> home = {"/Admin.html", "/favicon.ico"};
  EXPECT_GT(Crawl(kRoleAdmin, home), 60);
  EXPECT_GT(Crawl(kRoleScoreClerk, home), 8);
  EXPECT_GT(Crawl(kRolePrintAdmin, home), 20);
  EXPECT_GT(Crawl(kRoleClassTeacher, {"/", "/ShowClass.html", "/favicon.ico"}), 30);
  const SessionCookie admin = LoginAdmin();
  const std::vector<std::string> menu = LinksOf(Get("/Admin.html", admin).body);
  EXPECT_NE(std::find(menu.begin(), menu.end(), "/SetupSchool.html"), menu.end());
  const std::vector<std::string> tabs = LinksOf(Get("/SetupSchool.html", admin).body);
  for (const char* tab : {"/ShowMatch.html", "/ShowYards.html", "/ShowScore.html", "/ShowTopScore.html"})
    EXPECT_NE(std::find(tabs.begin(), tabs.end(), tab), tabs.end()) << tab;
}

// Every name a page shows, begun with markup: wherever the marker stands it
// is escaped for HTML or for a script string, and no placeholder is left, on
// every page of every role (pages that change something have their own
// tests).
TEST_F(RenderedPagesTest, NoNameIsShownAsMarkup) {
  const std::string mark = "'<q7>\"'''||";
  FixtureMeetSettings other;
  other.Name = "<q7>\"'其他";
  meet_->AddMeet(other, false);
  AddStaff("40, '<q7>\"''x', '<q7>\"''y', 6, 0, 0, ''");
  OpenMeet("UPDATE qrtb219 SET qrtb221 = " + mark + "qrtb221, qrtb222 = " + mark + "qrtb222;" +
           "UPDATE qrtb234 SET qrtb238 = " + mark + "qrtb238; UPDATE qrtb306 SET qrtb308 = " + mark + "qrtb308;" +
           "UPDATE qrtb292 SET qrtb126 = " + mark + "qrtb126; UPDATE qrtb409 SET qrtb410 = " + mark + "qrtb410;" +
           "UPDATE qrtb7 SET qrtb11 = " + mark + "qrtb11, qrtb12 = " + mark + "qrtb12;" +
           "UPDATE qrtb331 SET qrtb344 = " + mark + "qrtb344; UPDATE base.qrtb137 SET qrtb141 = " + mark + "qrtb141;");
  const SessionCookie sessions[] = {{}, LoginTeacher(), LoginAdmin()};
  const int roles[] = {kRoleNone, kRoleClassTeacher, kRoleAdmin};
  int marked = 0;
  auto check = [&](const std::string& path, SessionCookie session) {
    const std::string body = Get(path, session).body;
    EXPECT_FALSE(Has(body, "<%=")) << path;
    const std::string_view text(body);
    for (std::size_t at = text.find("q7"); at != std::string::npos; at = text.find("q7", at + 2)) {
      const std::string_view before = text.substr(at < 4 ? 0 : at - 4, 4), after = text.substr(at + 2, 15);
      EXPECT_TRUE((before == "&lt;" && after == "&gt;&quot;&#39;") ||
                  (before == "\\x3C" && after.starts_with("\\x3E\\x22\\x27")))
          << path << ": " << GbkToUtf8(std::string(text.substr(at < 40 ? 0 : at - 40, 80)));
    }
    marked += Has(body, "q7") ? 1 : 0;
  };
  for (const RouteRow* row : AllRouteRows()) {
    if (row->path.empty() || row->handler == nullptr || ChangesSomething(*row) || row->method == Method::kPost)
      continue;
    for (int i = 0; i < 3; ++i)
      if (row->roles & Role(roles[i])) check(std::string(row->path), sessions[i]);
  }
  for (const char* path : {"/BoyEnroll.html?id=1", "/GirlEnroll.html?id=101"}) check(path, sessions[1]);
  for (const char* path : {"/SetupGrade.html?id=1", "/EditClassName.html?GDID=1", "/SetupMatch.html?id=901",
                           "/SetupYard.html?id=1", "/InputScore.html?MatchTabe=5", "/InputScore.html?MatchTabe=1"})
    check(path, sessions[2]);
  EXPECT_GT(marked, 10);
}

// Set-up pages whose rows take the lock alone (they are built through store
// functions that do), before and after a meet is opened; without a meet
// they send the administrator to create one.
TEST_F(RenderedPagesTest, SetupPagesBuiltUnderTheWritersLock) {
  const SessionCookie admin = LoginAdmin();
  for (bool meet : {false, true}) {
    if (meet) OpenScoringMeet(*meet_);
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
