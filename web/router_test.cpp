// The role gate of every route: for each request, the code each role gets.
#include "web/router.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>
#include <vector>

#include "database/data_lock.h"
#include "database/model.h"
#include "web/route_table.h"
#include "web/web_server.h"

namespace korva {

namespace {

constexpr int kRoles[] = {0, 1, 6, 7, 8};
using Codes = std::array<int, 5>;  // the code for each of kRoles

// Masks of kRoles (bit i: kRoles[i]).
constexpr unsigned kAll = 0b11111, kLoggedIn = 0b11110, kStaff = 0b11100, kClerks = 0b11000, kAdmin = 0b10000,
                   kTeacher = 0b00010;

// Requests by the roles that may use them, each with its code.
const std::pair<unsigned, std::vector<std::pair<std::string_view, int>>> kGates[] = {
    {kClerks,  // roles above 6
     {{"GET /upcj.html?str=1=2", 61}, {"POST /upcj.html", 61}, {"GET /ydhupdatestcj2016.html?x=1", 62}}},
    {kAdmin,  // administrator
     {{"GET /ShowTopScore.html", 85}, {"GET /uptopcj.html?a=1", 86}, {"POST /ChongPaiBiSai.html", 162},
      {"GET /ajaxfun.html?Dstr=1", 5}, {"GET /JianLiYdh.html", 32}, {"POST /JianLiYdh.html", 142},
      {"GET /SetupMeetName.html", 33}, {"GET /SetupMeetGrade.html", 34}, {"GET /SetupGradeMatch.html", 35},
      {"GET /SetupYard.html?id=2", 38}, {"GET /ShowYards.html", 39}, {"GET /ShowMatch.html", 40},
      {"GET /SetupMatch.html", 41}, {"GET /SetupSchool.html", 42}, {"GET /SetupGrade.html?id=1", 43},
      {"GET /EditClassName.html", 44}, {"GET /ShowScore.html", 45}, {"GET /SetupScore.html", 46},
      {"GET /MatchPlan.html?DayID=1", 47}, {"POST /MatchPlan.html", 161}, {"GET /MakeCXC1990.html", 50},
      {"GET /MakeCXC1991.html", 57}, {"GET /YdhCXCJingDu1991.html", 51}, {"GET /BookControl.html", 52},
      {"GET /WebBaoMingClose.html?ID=1", 53}, {"GET /MoveBiSai.html?str=1", 60}, {"GET /MeetList.html", 74},
      {"GET /setupDqYdh.html?str=2", 75}, {"GET /DelYdh.html?str1=2", 76}, {"GET /UserList.html", 77},
      {"GET /AdUserList.html", 78}, {"GET /DelAdmin.html?str1=2", 79}, {"GET /AddAdmin.html?str1=x", 81},
      {"GET /Adft.html", 82}, {"GET /gjgn.html?str1=1", 84}, {"GET /getgnstr.html?Dstr=1-0", 88},
      {"POST /ChangYdhName.html", 143}, {"POST /ChangeGrade.html", 144}, {"POST /ChangGrdeMatch.html", 145},
      {"POST /AddYard.html", 150}, {"POST /DelYard.html", 151}, {"POST /AddMatch.html", 152},
      {"POST /DelMatch.html", 153}, {"POST /AddGrade.html", 155}, {"POST /DelGrade.html", 156},
      {"GET /AddOrDelClass.html?a=1", 157}, {"POST /EditCSname.html", 158}, {"POST /AddScore.html", 159},
      {"POST /DelScore.html", 160}}},
    {kStaff,  // roles 6 and above
     {{"GET /CaAdPs.html?str1=x", 80}, {"GET /MUpJzDt.html?zjdt=1", 90}, {"GET /Table.html", 91},
      {"GET /Print1.html", 64}, {"GET /Print2.html", 65}, {"GET /Print3.html", 66}, {"GET /Print4.html", 67},
      {"GET /Print5.html", 89}, {"GET /ViewTable.html?str=1-2", 63}, {"GET /printzx.html?str=1-1-1", 68},
      {"GET /GetGsbStr.html?str=1", 69}, {"GET /FindStudent.html?str=a", 70}, {"GET /ViewOneST.html?str=1", 71},
      {"GET /ViewOneCS.html?str=1-1", 72}, {"GET /PrintOne.html?cjid=1-", 73}}},
    {kTeacher,  // class teacher
     {{"GET /ShowClass.html", 12}, {"GET /BoyEnroll.html?id=3", 13}, {"GET /GirlEnroll.html", 14},
      {"GET /ChangPass.html", 15}, {"GET /SeeClassCJ.html", 22}, {"GET /ChangTeacPW.html?oldword=a", 54},
      {"GET /AddLingDui.html?name=a", 114}, {"POST /DelST.html", 115}}},
    {kLoggedIn,  // roles 1 and above
     {{"GET /ShowBaoMing.html", 48}, {"GET /ShowBaoMing2.html", 49}}},
    {kAll,  // anyone
     {{"GET /GongGao.html", 3}, {"GET /GetPbDate.html?x=1", 4}, {"GET /GetPbDate2.html", 6},
      {"GET /index.html", 10}, {"POST /index.html", 11}, {"GET /AdminIndex.html", 20},
      {"POST /AdminIndex.html", 21}, {"GET /admin.css", 303}, {"GET /view.css?t=1", 303}, {"GET /tip.jpg", 300},
      {"GET /favicon.ico", 300}, {"GET /Notify.mp3", 302}, {"GET /book.doc", 301}, {"GET /book.docx", 301}}},
};

// Paths whose code depends on the role, and requests no role may make.
const std::pair<std::string_view, Codes> kByRole[] = {
    {"GET /AddStudent.html", {0, 113, 0, 0, 113}}, {"GET /Admin.html", {0, 0, 17, 16, 31}},
    {"GET /InputScore.html", {0, 0, 18, 16, 56}}, {"GET /ChangYdhName.html", {}},
    {"POST /AddOrDelClass.html", {}}, {"GET /nothing.html", {}}, {"GET /ShowClass.htmlx", {}},
};

int Route(std::string_view method, std::string_view path, int role, int browser = kBrowserChrome) {
  HttpRequest request;
  request.Method = method;
  request.Path = path;
  request.Browser = browser;
  return RouteRequest(request, role);
}

// request is "METHOD path".
void ExpectCodes(std::string_view request, const Codes& codes) {
  std::size_t blank = request.find(' ');
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(codes[i], Route(request.substr(0, blank), request.substr(blank + 1), kRoles[i]))
        << request << " role " << kRoles[i];
  }
}

TEST(RouteRequest, EveryRouteAnswersItsRolesOnly) {
  for (const auto& [roles, requests] : kGates) {
    for (const auto& [request, code] : requests) {
      Codes codes{};
      for (int i = 0; i < 5; ++i) codes[i] = (roles >> i & 1) ? code : 0;
      ExpectCodes(request, codes);
    }
  }
  for (const auto& [request, codes] : kByRole) ExpectCodes(request, codes);
}

TEST(RouteRequest, TestsComeInTheirOrder) {
  // Firefox before everything but suspension; other methods before paths.
  EXPECT_EQ(2, Route("GET", "/admin.css", 8, kBrowserFirefox));
  WebSuspended = 1;
  EXPECT_EQ(99, Route("GET", "/admin.css", 8, kBrowserFirefox));
  WebSuspended = 0;
  EXPECT_EQ(0, Route("PUT", "/Admin.html", 8));
  // Extensions come before paths, whatever the role, and are read from the
  // path, not from the query.
  EXPECT_EQ(300, Route("GET", "/Admin.jpg", 0));
  EXPECT_EQ(301, Route("GET", "/%E7%A7%A9.doc?x=1", 0));
  EXPECT_EQ(61, Route("GET", "/upcj.html?str=a.jpg", 7));
  EXPECT_EQ(0, Route("GET", "/upcj.html?str=a.jpg", 6));
}

TEST(RouteRequest, HomeAndSetupMeetDependOnTheMeet) {
  {
    DataGuard hold(DataLock);
    Model().CurrentMeetId = 0;
    EXPECT_EQ(30, Route("GET", "/", 0));
    Model().CurrentMeetId = 3;
    EXPECT_EQ(1, Route("GET", "/?x=1", 8));
    EXPECT_EQ(1, Route("GET", "/Welcome.html", 0));  // where the redirect of kind 9 goes
    Model().CurrentMeetId = 0;
  }
  static int stage = 0;
  SetSetupStageHook([] { return stage; });
  const int expected[] = {33, 34, 35, 36, 37, 37, 37, 37, 32};
  for (stage = 0; stage <= 8; ++stage) EXPECT_EQ(expected[stage], Route("GET", "/SetupMeet.html", 8)) << stage;
  EXPECT_EQ(0, Route("GET", "/SetupMeet.html", 7));
  SetSetupStageHook(nullptr);
}

}  // namespace

}  // namespace korva
