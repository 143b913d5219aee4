// Requests that another site's page makes the browser send with our cookie:
// refused where they would change the meet, answered where they only read.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/http/registration_fixture.h"

namespace korva {

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class ForgedRequestTest : public RegistrationServerTest {
 protected:
  HttpResponse DeleteAthlete3(SessionCookie teacher, const std::string& headers) {
    return Ask(RequestText("POST", "/DelST.html", teacher, "sex=1&manc1=3", headers));
  }
  std::vector<std::string> Names() { return Stored("SELECT qrtb410 FROM qrtb409 ORDER BY qrtb411"); }
};

TEST_F(ForgedRequestTest, AnotherSiteIsRefusedOnChangesAndAnsweredOnReads) {
  OpenMeet(AthleteSql(3, "丙", 1, 101, 1, {}));
  SessionCookie teacher = LoginTeacher();  // the requests below say "Host: localhost"
  for (const char* foreign : {"Origin: http://evil.example\r\n", "Origin: null\r\n",
                              "Referer: http://evil.example/page.html\r\n", "Origin: http://localhost.evil.example\r\n",
                              "Origin: http://localhost:8080\r\n", "Origin: http://evil.example\r\nReferer: http://localhost/\r\n"}) {
    EXPECT_EQ(403, DeleteAthlete3(teacher, foreign).status) << foreign;
  }
  EXPECT_THAT(Names(), ElementsAre("丙"));
  // Reading is harmless: the class page answers whoever asks with the cookie.
  HttpResponse page = Ask(RequestText("GET", "/ShowClass.html", teacher, {}, "Origin: http://evil.example\r\n"));
  EXPECT_THAT(page.body, HasSubstr("丙"));
  // The site's own pages, and a typed address, change what they may.
  EXPECT_EQ(200, DeleteAthlete3(teacher, "Origin: http://LOCALHOST:80\r\nReferer: http://evil.example/\r\n").status);
  EXPECT_TRUE(Names().empty());
  SessionCookie admin = LoginAdmin();
  EXPECT_EQ(403, Ask(RequestText("GET", "/WebBaoMingClose.html?ID=2", admin, {},
                                 "Referer: http://evil.example/close.html\r\n")).status);
  EXPECT_EQ("3", Ask(RequestText("GET", "/WebBaoMingClose.html?ID=2", admin, {},
                                 "Referer: http://localhost/BookControl.html\r\n")).body);
  EXPECT_EQ("3", Get("/WebBaoMingClose.html?ID=2", admin).body);
}

}  // namespace

}  // namespace korva
