// The role gate of every route: for each path and method, the code it gets
// for the roles that may use it and 0 for every other role.
#include "web/router.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "database/data_lock.h"
#include "database/model.h"
#include "web/route_table.h"
#include "web/web_server.h"

namespace {

struct Gate {
  const char* method;
  const char* path;
  std::vector<int> roles;  // roles that get code
  int code;
};

const std::vector<int> kAll = {0, 1, 6, 7, 8};
const std::vector<int> kAdmin = {8};
const std::vector<int> kStaff = {6, 7, 8};
const std::vector<int> kClerks = {7, 8};
const std::vector<int> kTeacher = {1};

const Gate kGates[] = {
    {"GET", "/upcj.html?str=1=2", kClerks, 61},
    {"POST", "/upcj.html", kClerks, 61},
    {"GET", "/ydhupdatestcj2016.html?x=1", kClerks, 62},
    {"GET", "/ShowTopScore.html", kAdmin, 85},
    {"GET", "/uptopcj.html?a=1", kAdmin, 86},
    {"POST", "/ChongPaiBiSai.html", kAdmin, 162},
    {"GET", "/ajaxfun.html?Dstr=1", kAdmin, 5},
    {"GET", "/JianLiYdh.html", kAdmin, 32},
    {"POST", "/JianLiYdh.html", kAdmin, 142},
    {"GET", "/SetupMeetName.html", kAdmin, 33},
    {"GET", "/SetupMeetGrade.html", kAdmin, 34},
    {"GET", "/SetupGradeMatch.html", kAdmin, 35},
    {"GET", "/SetupYard.html?id=2", kAdmin, 38},
    {"GET", "/ShowYards.html", kAdmin, 39},
    {"GET", "/ShowMatch.html", kAdmin, 40},
    {"GET", "/SetupMatch.html", kAdmin, 41},
    {"GET", "/SetupSchool.html", kAdmin, 42},
    {"GET", "/SetupGrade.html?id=1", kAdmin, 43},
    {"GET", "/EditClassName.html", kAdmin, 44},
    {"GET", "/ShowScore.html", kAdmin, 45},
    {"GET", "/SetupScore.html", kAdmin, 46},
    {"GET", "/MatchPlan.html?DayID=1", kAdmin, 47},
    {"POST", "/MatchPlan.html", kAdmin, 161},
    {"GET", "/MakeCXC1990.html", kAdmin, 50},
    {"GET", "/MakeCXC1991.html", kAdmin, 57},
    {"GET", "/YdhCXCJingDu1991.html", kAdmin, 51},
    {"GET", "/BookControl.html", kAdmin, 52},
    {"GET", "/WebBaoMingClose.html?ID=1", kAdmin, 53},
    {"GET", "/MoveBiSai.html?str=1", kAdmin, 60},
    {"GET", "/MeetList.html", kAdmin, 74},
    {"GET", "/setupDqYdh.html?str=2", kAdmin, 75},
    {"GET", "/DelYdh.html?str1=2", kAdmin, 76},
    {"GET", "/UserList.html", kAdmin, 77},
    {"GET", "/AdUserList.html", kAdmin, 78},
    {"GET", "/DelAdmin.html?str1=2", kAdmin, 79},
    {"GET", "/CaAdPs.html?str1=x", kStaff, 80},
    {"GET", "/AddAdmin.html?str1=x", kAdmin, 81},
    {"GET", "/Adft.html", kAdmin, 82},
    {"GET", "/gjgn.html?str1=1", kAdmin, 84},
    {"GET", "/getgnstr.html?Dstr=1-0-0-0-0", kAdmin, 88},
    {"GET", "/MUpJzDt.html?zjdt=1", kStaff, 90},
    {"GET", "/Table.html", kStaff, 91},
    {"POST", "/ChangYdhName.html", kAdmin, 143},
    {"POST", "/ChangeGrade.html", kAdmin, 144},
    {"POST", "/ChangGrdeMatch.html", kAdmin, 145},
    {"POST", "/AddYard.html", kAdmin, 150},
    {"POST", "/DelYard.html", kAdmin, 151},
    {"POST", "/AddMatch.html", kAdmin, 152},
    {"POST", "/DelMatch.html", kAdmin, 153},
    {"POST", "/AddGrade.html", kAdmin, 155},
    {"POST", "/DelGrade.html", kAdmin, 156},
    {"GET", "/AddOrDelClass.html?a=1", kAdmin, 157},
    {"POST", "/EditCSname.html", kAdmin, 158},
    {"POST", "/AddScore.html", kAdmin, 159},
    {"POST", "/DelScore.html", kAdmin, 160},
    {"GET", "/ShowClass.html", kTeacher, 12},
    {"GET", "/BoyEnroll.html?id=3", kTeacher, 13},
    {"GET", "/GirlEnroll.html", kTeacher, 14},
    {"GET", "/ChangPass.html", kTeacher, 15},
    {"GET", "/SeeClassCJ.html", kTeacher, 22},
    {"GET", "/ChangTeacPW.html?oldword=a", kTeacher, 54},
    {"GET", "/AddStudent.html?stid=0", {1, 8}, 113},
    {"GET", "/AddLingDui.html?name=a", kTeacher, 114},
    {"POST", "/DelST.html", kTeacher, 115},
    {"GET", "/ShowBaoMing.html", {1, 6, 7, 8}, 48},
    {"GET", "/ShowBaoMing2.html", {1, 6, 7, 8}, 49},
    {"GET", "/Print1.html", kStaff, 64},
    {"GET", "/Print2.html", kStaff, 65},
    {"GET", "/Print3.html", kStaff, 66},
    {"GET", "/Print4.html", kStaff, 67},
    {"GET", "/Print5.html", kStaff, 89},
    {"GET", "/ViewTable.html?str=1-2-0-0", kStaff, 63},
    {"GET", "/printzx.html?str=1-1-1", kStaff, 68},
    {"GET", "/GetGsbStr.html?str=1", kStaff, 69},
    {"GET", "/FindStudent.html?str=a", kStaff, 70},
    {"GET", "/ViewOneST.html?str=1", kStaff, 71},
    {"GET", "/ViewOneCS.html?str=1-1", kStaff, 72},
    {"GET", "/PrintOne.html?cjid=1-", kStaff, 73},
    {"GET", "/GongGao.html", kAll, 3},
    {"GET", "/GetPbDate.html?x=1", kAll, 4},
    {"GET", "/GetPbDate2.html", kAll, 6},
    {"GET", "/index.html", kAll, 10},
    {"POST", "/index.html", kAll, 11},
    {"GET", "/AdminIndex.html", kAll, 20},
    {"POST", "/AdminIndex.html", kAll, 21},
    {"GET", "/admin.css", kAll, 303},
    {"GET", "/view.css?t=1", kAll, 303},
    {"GET", "/tip.jpg", kAll, 300},
    {"GET", "/favicon.ico", kAll, 300},
    {"GET", "/Notify.mp3", kAll, 302},
    {"GET", "/book.doc", kAll, 301},
    {"GET", "/book.docx", kAll, 301},
    // Paths used only by some roles, with a code per role.
    {"GET", "/Admin.html", kAdmin, 31},
    {"GET", "/Admin.html", {7}, 16},
    {"GET", "/Admin.html", {6}, 17},
    {"GET", "/InputScore.html", {7}, 16},
    {"GET", "/InputScore.html", {6}, 18},
    {"GET", "/InputScore.html", kAdmin, 56},
    // POST-only and GET-only paths with the other method.
    {"GET", "/ChangYdhName.html", {}, 0},
    {"POST", "/AddOrDelClass.html", {}, 0},
    {"GET", "/nothing.html", {}, 0},
    {"GET", "/ShowClass.htmlx", {}, 0},
};

int Route(const char* method, const char* path, int role, int browser = kBrowserChrome) {
  HttpRequest request;
  request.Method = method;
  request.Path = path;
  request.Browser = browser;
  return RouteRequest(request, role);
}

// Roles that share a path with another row answer by that row.
bool CoveredByOtherRow(const Gate& gate, int role) {
  for (const Gate& other : kGates) {
    if (&other == &gate || std::string_view(other.path) != gate.path ||
        std::string_view(other.method) != gate.method)
      continue;
    for (int r : other.roles) {
      if (r == role) return true;
    }
  }
  return false;
}

TEST(RouteRequest, EveryRouteAnswersItsRolesOnly) {
  for (const Gate& gate : kGates) {
    for (int role : kAll) {
      bool allowed = false;
      for (int r : gate.roles) allowed |= r == role;
      if (!allowed && CoveredByOtherRow(gate, role)) continue;
      EXPECT_EQ(allowed ? gate.code : 0, Route(gate.method, gate.path, role))
          << gate.method << " " << gate.path << " role " << role;
    }
  }
}

TEST(RouteRequest, TestsComeInTheirOrder) {
  // Firefox before everything but suspension; other methods before paths.
  EXPECT_EQ(2, Route("GET", "/admin.css", 8, kBrowserFirefox));
  WebSuspended = 1;
  EXPECT_EQ(99, Route("GET", "/admin.css", 8, kBrowserFirefox));
  WebSuspended = 0;
  EXPECT_EQ(0, Route("PUT", "/Admin.html", 8));
  // Extensions come before paths, whatever the role.
  EXPECT_EQ(300, Route("GET", "/Admin.jpg", 0));
  EXPECT_EQ(301, Route("GET", "/%E7%A7%A9.doc?x=1", 0));
  // An extension is read from the path, not from the query.
  EXPECT_EQ(61, Route("GET", "/upcj.html?str=a.jpg", 7));
  EXPECT_EQ(0, Route("GET", "/upcj.html?str=a.jpg", 6));
}

TEST(RouteRequest, HomeDependsOnAnOpenMeet) {
  DataGuard hold(DataLock);
  Model().CurrentMeetId = 0;
  EXPECT_EQ(30, Route("GET", "/", 0));
  Model().CurrentMeetId = 3;
  EXPECT_EQ(1, Route("GET", "/", 0));
  EXPECT_EQ(1, Route("GET", "/Welcome.html", 8));
  Model().CurrentMeetId = 0;
}

TEST(RouteRequest, SetupMeetFollowsTheSetupStage) {
  static int stage = 0;
  SetSetupStageHook([] { return stage; });
  const int expected[] = {33, 34, 35, 36, 37, 37, 37, 37, 32};
  for (stage = 0; stage <= 8; ++stage) EXPECT_EQ(expected[stage], Route("GET", "/SetupMeet.html", 8)) << stage;
  EXPECT_EQ(0, Route("GET", "/SetupMeet.html", 7));
  SetSetupStageHook(nullptr);
}

}  // namespace
