#include "web/router.h"

#include "database/data_lock.h"
#include "database/model.h"
#include "web/route_table.h"
#include "web/web_server.h"

namespace korva {

namespace {

constexpr unsigned Role(int role) { return 1u << role; }
constexpr unsigned kAnyone = Role(0) | Role(1) | Role(6) | Role(7) | Role(8);
constexpr unsigned kTeacher = Role(1);
constexpr unsigned kLoggedIn = Role(1) | Role(6) | Role(7) | Role(8);
constexpr unsigned kStaff = Role(6) | Role(7) | Role(8);     // roles 6 and above
constexpr unsigned kClerks = Role(7) | Role(8);              // roles above 6
constexpr unsigned kAdmin = Role(8);

enum Method { kGet = 1, kPost = 2, kEither = 3 };

struct PathRoute {
  std::string_view path;
  int methods;
  unsigned roles;
  int code;
};

// One path may appear on several rows (other roles or methods); the first
// row that fits the request wins.
constexpr PathRoute kPathRoutes[] = {
    {"/index.html", kGet, kAnyone, kRouteClassLoginPage},
    {"/index.html", kPost, kAnyone, kRouteClassLogin},
    {"/AdminIndex.html", kGet, kAnyone, kRouteStaffLoginPage},
    {"/AdminIndex.html", kPost, kAnyone, kRouteStaffLogin},
    {"/af.js", kEither, kAnyone, kRouteScriptOrStyle},
    {"/admin.js", kEither, kAnyone, kRouteScriptOrStyle},
    {"/inscore.js", kEither, kAnyone, kRouteScriptOrStyle},
    {"/admin.css", kEither, kAnyone, kRouteScriptOrStyle},
    {"/view.css", kEither, kAnyone, kRouteScriptOrStyle},
    // Competition engine.
    {"/ydhupdatestcj2016.html", kEither, kClerks, 62},
    {"/ShowTopScore.html", kEither, kAdmin, 85},
    {"/uptopcj.html", kEither, kAdmin, 86},
    {"/ChongPaiBiSai.html", kPost, kAdmin, 162},
    // Set-up pages.
    {"/ajaxfun.html", kEither, kAdmin, 5},
    {"/Admin.html", kEither, kAdmin, 31},
    {"/Admin.html", kEither, Role(7), 16},
    {"/Admin.html", kEither, Role(6), 17},
    {"/JianLiYdh.html", kGet, kAdmin, 32},
    {"/JianLiYdh.html", kPost, kAdmin, 142},
    {"/SetupMeetName.html", kEither, kAdmin, 33},
    {"/SetupMeetGrade.html", kEither, kAdmin, 34},
    {"/SetupGradeMatch.html", kEither, kAdmin, 35},
    {"/SetupYard.html", kEither, kAdmin, 38},
    {"/ShowYards.html", kEither, kAdmin, 39},
    {"/ShowMatch.html", kEither, kAdmin, 40},
    {"/SetupMatch.html", kEither, kAdmin, 41},
    {"/SetupSchool.html", kEither, kAdmin, 42},
    {"/SetupGrade.html", kEither, kAdmin, 43},
    {"/EditClassName.html", kEither, kAdmin, 44},
    {"/ShowScore.html", kEither, kAdmin, 45},
    {"/SetupScore.html", kEither, kAdmin, 46},
    {"/MatchPlan.html", kGet, kAdmin, 47},
    {"/MatchPlan.html", kPost, kAdmin, 161},
    {"/MakeCXC1990.html", kEither, kAdmin, 50},
    {"/MakeCXC1991.html", kEither, kAdmin, 57},
    {"/YdhCXCJingDu1991.html", kEither, kAdmin, 51},
    {"/BookControl.html", kEither, kAdmin, 52},
    {"/WebBaoMingClose.html", kEither, kAdmin, 53},
    {"/MoveBiSai.html", kEither, kAdmin, 60},
    {"/MeetList.html", kEither, kAdmin, 74},
    {"/setupDqYdh.html", kEither, kAdmin, 75},
    {"/DelYdh.html", kEither, kAdmin, 76},
    {"/UserList.html", kEither, kAdmin, 77},
    {"/AdUserList.html", kEither, kAdmin, 78},
    {"/DelAdmin.html", kEither, kAdmin, 79},
    {"/CaAdPs.html", kEither, kStaff, 80},
    {"/AddAdmin.html", kEither, kAdmin, 81},
    {"/Adft.html", kEither, kAdmin, kRouteAdvancedFunctions},
    {"/gjgn.html", kEither, kAdmin, 84},
    {"/getgnstr.html", kEither, kAdmin, 88},
    {"/MUpJzDt.html", kEither, kStaff, 90},
    {"/Table.html", kEither, kStaff, kRouteTablesMenu},
    {"/ChangYdhName.html", kPost, kAdmin, 143},
    {"/ChangeGrade.html", kPost, kAdmin, 144},
    {"/ChangGrdeMatch.html", kPost, kAdmin, 145},
    {"/AddYard.html", kPost, kAdmin, 150},
    {"/DelYard.html", kPost, kAdmin, 151},
    {"/AddMatch.html", kPost, kAdmin, 152},
    {"/DelMatch.html", kPost, kAdmin, 153},
    {"/AddGrade.html", kPost, kAdmin, 155},
    {"/DelGrade.html", kPost, kAdmin, 156},
    {"/AddOrDelClass.html", kGet, kAdmin, 157},
    {"/EditCSname.html", kPost, kAdmin, 158},
    {"/AddScore.html", kPost, kAdmin, 159},
    {"/DelScore.html", kPost, kAdmin, 160},
    // Registration.
    {"/ShowClass.html", kEither, kTeacher, 12},
    {"/BoyEnroll.html", kEither, kTeacher, 13},
    {"/GirlEnroll.html", kEither, kTeacher, 14},
    {"/ChangPass.html", kEither, kTeacher, 15},
    {"/SeeClassCJ.html", kEither, kTeacher, 22},
    {"/ChangTeacPW.html", kEither, kTeacher, 54},
    {"/AddStudent.html", kEither, Role(1) | Role(8), 113},
    {"/AddLingDui.html", kEither, kTeacher, 114},
    {"/DelST.html", kPost, kTeacher, 115},
    {"/ShowBaoMing.html", kEither, kLoggedIn, 48},
    {"/ShowBaoMing2.html", kEither, kLoggedIn, 49},
    // Score entry, printing and the results board.
    {"/InputScore.html", kEither, Role(7), 16},
    {"/InputScore.html", kEither, Role(6), 18},
    {"/InputScore.html", kEither, kAdmin, 56},
    {"/Print1.html", kEither, kStaff, 64},
    {"/Print2.html", kEither, kStaff, 65},
    {"/Print3.html", kEither, kStaff, 66},
    {"/Print4.html", kEither, kStaff, 67},
    {"/Print5.html", kEither, kStaff, 89},
    {"/ViewTable.html", kEither, kStaff, 63},
    {"/printzx.html", kEither, kStaff, 68},
    {"/GetGsbStr.html", kEither, kStaff, 69},
    {"/FindStudent.html", kEither, kStaff, 70},
    {"/ViewOneST.html", kEither, kStaff, 71},
    {"/ViewOneCS.html", kEither, kStaff, 72},
    {"/PrintOne.html", kEither, kStaff, 73},
    {"/GongGao.html", kEither, kAnyone, 3},
    {"/GetPbDate.html", kEither, kAnyone, 4},
    {"/GetPbDate2.html", kEither, kAnyone, 6},
};

// The page of the current set-up stage.
int SetupMeetRoute() {
  DataGuard hold(DataLock);
  switch (SetupStageOfMeet()) {
    case 0: return 33;
    case 1: return 34;
    case 2: return 35;
    case 3: return 36;
    case 8: return 32;
    default: return kRouteSetupIncomplete;
  }
}

int HomeRoute() {
  DataGuard hold(DataLock);
  return Model().CurrentMeetId != 0 ? kRouteHome : kRouteNoMeetHome;
}

}  // namespace

std::string_view BasePath(std::string_view path) {
  std::size_t query = path.find('?');
  return query == std::string_view::npos ? path : path.substr(0, query);
}

int RouteRequest(const HttpRequest& request, int role) {
  if (WebSuspended) return kRouteSuspended;
  if (request.Browser == kBrowserFirefox) return kRouteFirefox;
  int method = request.Method == "GET" ? kGet : request.Method == "POST" ? kPost : 0;
  if (method == 0) return kRouteNone;
  std::string_view path = request.Path;
  if (path.starts_with("/upcj.html")) return (kClerks & Role(role)) ? 61 : kRouteNone;

  std::string_view base = BasePath(path);
  std::size_t dot = base.rfind('.');
  if (dot != std::string_view::npos) {
    std::string_view ext = base.substr(dot + 1);
    if (ext == "jpg" || ext == "ico" || ext == "gif") return kRouteImage;
    if (ext == "mp3") return kRouteSound;
    if (ext == "doc" || ext == "docx") return kRouteDocument;
  }
  if (role < 0 || role > 8) return kRouteNone;
  if (base == "/" || base == "/Welcome.html") return HomeRoute();
  if (base == "/SetupMeet.html") return role == kRoleAdmin ? SetupMeetRoute() : kRouteNone;
  for (const PathRoute& r : kPathRoutes) {
    if (r.path == base && (r.methods & method) && (r.roles & Role(role))) return r.code;
  }
  return kRouteNone;
}

}  // namespace korva
