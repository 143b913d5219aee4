// Requests that another site's page makes the browser send with our cookie:
// refused on every row that changes something, without a new session;
// answered where they only read, and from the site itself, a typed address
// included.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/http/server_fixture.h"
#include "web/route_table.h"
#include "web/session.h"

namespace korva {

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Every file of a data folder and its bytes (the shared-memory index of a
// write-ahead log changes with reads too, and is left out).
std::map<std::string, std::string> DataFiles(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || name.ends_with("-shm")) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    files[name] = bytes.str();
  }
  return files;
}

std::string Cookies(SessionCookie session, std::uint64_t site) {
  return "Cookie: session=brimly" + std::to_string(session.number) + "E; site=brimly" + std::to_string(site) + "E\r\n";
}

class ForgedRequestTest : public RegistrationServerTest {
 protected:
  HttpResponse DeleteAthlete3(SessionCookie teacher, const std::string& headers) {
    return Ask(RequestText("POST", "/DelST.html", teacher, "sex=1&manc1=3", headers));
  }
  std::vector<std::string> Names() { return Stored("SELECT qrtb410 FROM qrtb409 ORDER BY qrtb411"); }
};

TEST_F(ForgedRequestTest, EveryChangingRowRefusesAnotherSitesRequestsAndMakesNoSession) {
  OpenMeet(AthleteSql(3, "丙", 1, 101, 1, {}));
  SessionCookie admin = LoginAdmin();
  SessionCookie teacher = LoginTeacher();
  const auto before = DataFiles(meet_->folder());
  const std::size_t sessions = SessionCount();
  // With the session cookie, as another site's page gets the browser to send
  // it: marked as such, or unmarked (plain http to a host name, the page's
  // address hidden) and so without the companion cookie.
  const struct {
    const char* marks;
    bool companion;
  } forged[] = {
      {"Sec-Fetch-Site: cross-site\r\n", true},   {"Sec-Fetch-Site: same-site\r\n", true},
      {"Origin: http://evil.example\r\n", true},  {"Origin: null\r\n", true},
      {"Referer: http://evil.example/a.html\r\n", true},
      {"Origin: http://localhost.evil.example\r\n", true}, {"Origin: http://localhost:8080\r\n", true},
      {"Origin: http://evil.example\r\nReferer: http://localhost/\r\n", true},
      {"", false},
  };
  int rows = 0;
  for (const RouteRow* row : AllRouteRows()) {
    if (row->path.empty() || !ChangesSomething(*row)) continue;
    SessionCookie session = row->roles & Role(kRoleAdmin) ? admin : teacher;
    const char* method = row->method == Method::kPost ? "POST" : "GET";
    ++rows;
    for (const auto& [marks, companion] : forged) {
      SessionCookie lax_only{};
      std::string headers = marks;
      headers += companion ? Cookies(session, session.number) : Cookies(session, session.number + 1);
      HttpResponse reply = Ask(RequestText(method, std::string(row->path), lax_only, "", headers));
      EXPECT_EQ(403, reply.status) << row->path << " " << marks;
      EXPECT_EQ("", reply.Header("Set-Cookie")) << row->path;
      // Without any cookie (a form another site posts): no session either.
      if (*marks) {
        HttpResponse bare = Ask(RequestText(method, std::string(row->path), {}, "", marks));
        EXPECT_EQ("", bare.Header("Set-Cookie")) << row->path << " " << marks;
      }
    }
  }
  EXPECT_GT(rows, 40);
  EXPECT_EQ(before, DataFiles(meet_->folder()));
  EXPECT_EQ(sessions, SessionCount());
  EXPECT_THAT(Get("/Admin.html", admin).body, HasSubstr("admin"));
  EXPECT_THAT(Get("/ShowClass.html", teacher).body, HasSubstr("丙"));
}

TEST_F(ForgedRequestTest, TheSiteATypedAddressAndReadsElsewhereAreAnswered) {
  OpenMeet(AthleteSql(3, "丙", 1, 101, 1, {}) + AthleteSql(4, "丁", 1, 101, 1, {}));
  SessionCookie teacher = LoginTeacher();  // the requests below say "Host: localhost"
  // Reading is harmless: the class page answers whoever asks with the cookie.
  HttpResponse page = Ask(RequestText("GET", "/ShowClass.html", teacher, {}, "Sec-Fetch-Site: cross-site\r\n"));
  EXPECT_THAT(page.body, HasSubstr("丙"));
  // A link from another site to a page makes no session of its own.
  EXPECT_EQ("", Ask(RequestText("GET", "/", {}, {}, "Sec-Fetch-Site: cross-site\r\n")).Header("Set-Cookie"));
  // The site's own pages, a typed address (the companion cookie), and a
  // browser that sends only a Referer.
  for (const char* own : {"Sec-Fetch-Site: same-origin\r\nOrigin: http://evil.example\r\n", "Sec-Fetch-Site: none\r\n",
                          "Origin: http://LOCALHOST:80\r\nReferer: http://evil.example/\r\n", "",
                          "Referer: http://localhost/ShowClass.html\r\n"}) {
    EXPECT_EQ(200, DeleteAthlete3(teacher, own).status) << own;
  }
  EXPECT_THAT(Names(), ElementsAre("丁"));
  SessionCookie admin = LoginAdmin();
  EXPECT_EQ("3", Get("/WebBaoMingClose.html?ID=2", admin).body);
  // "退出登陆" ends the session and sends the teacher to the class login;
  // "退出" of the print administrator's frame to the staff one.
  HttpResponse out = Get("/TuiChu.html", teacher);
  EXPECT_THAT(out.body, HasSubstr("window.location.href='/'"));
  EXPECT_NE(teacher, CookieNumber(out));
  EXPECT_THAT(Get("/ShowClass.html", teacher).body, HasSubstr("请重新登陆"));
  EXPECT_THAT(Get("/ShowClass.html", CookieNumber(out)).body, HasSubstr("请重新登陆"));
  EXPECT_THAT(Get("/TuiChu.html?staff=1", admin).body, HasSubstr("/AdminIndex.html"));
  EXPECT_THAT(Get("/Admin.html", admin).body, HasSubstr("请重新登陆"));
}

}  // namespace

}  // namespace korva
