#include "web/dispatcher.h"

#include <ctime>
#include <exception>
#include <mutex>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/lookups.h"
#include "database/model.h"
#include "database/store_classes.h"
#include "database/store_meets.h"
#include "web/form_field.h"
#include "web/login.h"
#include "web/network.h"
#include "web/response.h"
#include "web/route_table.h"
#include "web/router.h"
#include "web/session.h"
#include "web/static_files.h"
#include "web/templates.h"

namespace korva {

namespace {

// The request with the shared session it belongs to and the copy that the
// handlers read.
struct Exchange {
  const HttpRequest& request;
  LoginPtr shared;
  LoginNode session;
  std::string& reply;
};

// Bases of the administration result page after a set-up post.
int ResultPageBase(int route) {
  switch (route) {
    case 142: return 0;
    case 143: return 20;
    case 144: return 30;
    case 145: return 40;
    case 150: return 50;
    case 162: return 55;
    case 151: return 60;
    case 152: case 153: return 70;
    case 155: case 156: return 80;
    default: return -1;
  }
}

// True when every enabled round has its half-day session and its order.
bool AllEnabledRoundsPlaced() {
  for (const RoundNode& round : Model().RoundList) {
    if (round.Disabled == 0 && (round.Session == 0 || round.Order == 0)) return false;
  }
  return true;
}

void ServeFramedMessage(LoginNode& session, std::string_view content, std::string& reply) {
  AppendHtmlPage(session, BuildFramedPage(132, session, kAdminPageTitle, kAdminScriptTag, content), reply);
}

void ServeFailurePage(LoginNode& session, std::string_view message, std::string& reply) {
  std::string content = "<tr><td><font color=\"#FF0000\">Sorry:操作失败，原因是：<br>";
  content += message;
  content += "</font></td></tr><tr><td><br /><a href=\"javascript:history.back();\">点此返回</a></td></tr>";
  ServeFramedMessage(session, content, reply);
}

void ServeSetupIncompletePage(LoginNode& session, std::string& reply) {
  ServeFramedMessage(session,
                     "<tr><td><font color=\"#FF0000\">当前运动会的设置尚未完成，无法继续！</font></td></tr>"
                     "<tr><td><br /><a href=\"Admin.html\">点此返回管理员首页</a></td></tr>",
                     reply);
}

void ServeFirefoxPage(LoginNode& session, std::string& reply) {
  AppendHtmlPage(session,
                 "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />"
                 "<title>QV网络运动会管理系统</title></head><body>"
                 "<p>本系统不支持火狐浏览器，请使用IE、Edge或Chrome浏览器访问！</p></body></html>",
                 reply);
}

// The advanced-functions page (82) and the reports menu (91).
void ServeMenuPage(LoginNode& session, int menu_template, std::string& reply) {
  std::string menu;
  LoadHtmlTemplate(menu_template, menu);
  AppendHtmlPage(session, BuildFramedPage(132, session, kAdminPageTitle, kAfScriptTag, menu), reply);
}

// Login posts 11 (class teacher) and 21 (staff).
void HandleLoginPost(Exchange& ex, bool staff) {
  const std::string& body = ex.request.Body;
  auto serve_page = [&](int message) {
    ex.session = SnapshotSession(ex.shared);
    if (staff) {
      ServeStaffLoginPage(ex.session, message, ex.reply);
    } else {
      ServeClassLoginPage(ex.session, message, ex.reply);
    }
  };
  if (IsLoginLockedOut(SnapshotSession(ex.shared))) {
    serve_page(kLoginLockedOut);
    return;
  }
  std::string name;
  std::string password;
  GetFormField(body, staff ? "UserName=" : "BanJi=", 100, name);
  GetFormField(body, "PassWord=", 100, password);
  if (CheckLogin(*ex.shared, name, password, staff)) {
    ex.session = SnapshotSession(ex.shared);
    ServeRedirectPage(staff ? 1 : 2, "", ex.session, ex.reply);
    return;
  }
  LoginNode after = SnapshotSession(ex.shared);
  serve_page(IsLoginLockedOut(after) ? kLoginLockedOut : after.Reason);
}

// Route 53: open (ID 1) or close (ID 2) registration; one digit.
std::string SwitchRegistration(const std::string& path) {
  int id = GetFormInt(path, "ID=", 100);
  DataGuard hold(DataLock);
  if (id == 1) {
    if (!Model().LaneList.empty()) return "4";
    if (Model().RoundList.empty()) return "5";
    if (SetRegistrationClosed(1) != 0) return "6";
    return ModelConsistencyOfMeet() == 0 ? "1" : "2";
  }
  if (id == 2) return SetRegistrationClosed(2) == 0 ? "3" : "6";
  return "6";
}

// Route 54: the class teacher's password change.
std::string ChangeTeacherPassword(const Exchange& ex) {
  const std::string& source = ex.request.Method == "POST" ? ex.request.Body : ex.request.Path;
  std::string old_password;
  std::string new_password;
  GetFormField(source, "oldword=", 100, old_password);
  GetFormField(source, "newword=", 100, new_password);
  DataGuard hold(DataLock);
  return ChangeClassPassword(ex.session.GradeId, ex.session.ClassId, old_password, new_password) == 0 ? "OK"
                                                                                                      : "ER";
}

// Route 114: the class's leader name.
std::string SaveLeaderName(const Exchange& ex) {
  std::string name;
  GetFormField(ex.request.Path, "name=", 100, name);
  // A name the field filter emptied would wipe the stored one; an empty box
  // clears it.
  if (name.empty() && HasRawFormValue(ex.request.Path, "name=")) return "error";
  DataGuard hold(DataLock);
  if (SetClassTeacherName(name, ex.session.ClassId) != 0) return "error";
  if (ClassNode* node = FindClassNode(ex.session.ClassId, ex.session.GradeId)) node->LeaderName = name;
  return "ok";
}

void AnswerEmpty(EmptyReply kind, LoginNode& session, std::string& reply) {
  reply.clear();
  switch (kind) {
    case EmptyReply::kAdminResult:
      ServeAdminResultPage(99, "", session, reply);
      if (reply.empty()) ServeSessionExpiredPage(session, reply);
      break;
    case EmptyReply::kEmptyBody:
      AppendHtmlPage(session, "", reply);
      break;
    case EmptyReply::kSessionExpired:
      ServeSessionExpiredPage(session, reply);
      break;
  }
}

// Runs a handler, under DataLock when its entry asks for it. False when it
// threw: its result then means nothing (0 would read as success), so the
// caller answers as for an empty reply.
bool RunHandler(const RouteEntry& entry, RouteContext& ctx) {
  try {
    std::unique_lock<std::recursive_mutex> hold(DataLock, std::defer_lock);
    if (entry.hold_data_lock) hold.lock();
    entry.handler(ctx);
    return true;
  } catch (const std::exception& e) {
    LogServerMessage(std::string("route ") + std::to_string(ctx.route) + ": " + e.what());
    ctx.reply.clear();
    return false;
  }
}

// The answers the dispatcher builds from a handler's result.
void AnswerFromResult(Exchange& ex, RouteContext& ctx) {
  int code = ctx.route;
  LoginNode& session = ex.session;
  std::string& reply = ex.reply;
  if (int base = ResultPageBase(code); base >= 0) {
    int result = ctx.result;
    if (code == 145 && result == 0) {
      DataGuard hold(DataLock);
      if (AllEnabledRoundsPlaced()) result = 4;
    }
    reply.clear();
    ServeAdminResultPage(base + result, ctx.message, session, reply);
    return;
  }
  switch (code) {
    case 12:
      if (ctx.result == 0) {
        reply.clear();
        ServeClassLoginPage(session, kLoginMeetNotReady, reply);
      }
      break;
    case 13: case 14:
      if (ctx.result != 0) {
        reply.clear();
        ServeClassLoginPage(session, kLoginMeetNotReady, reply);
      }
      break;
    case 115:
      if (ctx.result == 0) {
        reply.clear();
        ServeRedirectPage(2, "", session, reply);
      }
      break;
    case 48: case 49:
      if (ctx.result != 0) {
        reply.clear();
        bool no_meet;
        {
          DataGuard hold(DataLock);
          no_meet = Model().CurrentMeetId == 0;
        }
        if (code == 48 && no_meet) {
          ServeAdminResultPage(7, "您还没有建立运动会，请先新建一个运动会！", session, reply);
        } else {
          ServeAdminResultPage(6, ctx.result == 1 ? "数据有错误，建议管理员重新建立运动会！" : "您还没有设置各竞赛组的比赛！",
                               session, reply);
        }
      }
      break;
    case 161:
      reply.clear();
      if (ctx.result == 0) {
        ServeRedirectPage(5, ctx.message, session, reply);
      } else {
        ServeAdminResultPage(92, ctx.message, session, reply);
      }
      break;
    case 158: case 159: case 160:
      reply.clear();
      if (code == 158 && ctx.result != 0) {
        ServeRedirectPage(3, std::to_string(ctx.result), session, reply);
      } else if (code != 158 && ctx.result == 0) {
        ServeRedirectPage(4, "", session, reply);
      } else if (session.Role == kRoleAdmin) {
        ServeFailurePage(session, ctx.message, reply);
      }
      break;
    default:
      break;
  }
}

// A route whose handler a page folder registered.
void DispatchToHandler(Exchange& ex, int code) {
  RouteEntry entry = FindRoute(code == 36 ? 47 : code);
  if (!entry.handler) {
    ServeSessionExpiredPage(ex.session, ex.reply);
    return;
  }
  RouteContext ctx{ex.request, ex.session, ex.reply};
  ctx.route = code;
  std::string prefill;
  if (code == 47) {
    ctx.args[0] = GetFormInt(ex.request.Path, "DayID=", 100);
    ctx.args[1] = GetFormInt(ex.request.Path, "MatchType=", 100);
    std::size_t at = ex.request.Path.find("YapSel=");
    if (at != std::string::npos) prefill = ex.request.Path.substr(at);
    ex.reply += prefill;
  }
  bool skip_handler = false;
  if (code == 41 && GetFormInt(ex.request.Path, "id=", 100) == 0) {
    DataGuard hold(DataLock);
    if (Model().VenueList.empty()) {
      ServeAdminResultPage(5, "您还没有添加场地，请先添加比赛场地！", ex.session, ex.reply);
      if (ex.reply.empty()) AnswerEmpty(entry.empty, ex.session, ex.reply);
      return;
    }
  }
  if (code == 48 || code == 49) {
    DataGuard hold(DataLock);
    if (Model().GroupEventList.empty()) {
      ctx.result = 2;
      skip_handler = true;
    }
  }
  if (!skip_handler && !RunHandler(entry, ctx)) {
    ex.reply.clear();
    AnswerEmpty(entry.empty, ex.session, ex.reply);
    return;
  }
  AnswerFromResult(ex, ctx);
  if (ex.reply.empty() || ex.reply == prefill) AnswerEmpty(entry.empty, ex.session, ex.reply);
}

void Dispatch(Exchange& ex, int code) {
  LoginNode& session = ex.session;
  std::string& reply = ex.reply;
  switch (code) {
    case kRouteNone: ServeSessionExpiredPage(session, reply); return;
    case kRouteSuspended: ServeServiceClosedPage(session, reply); return;
    case kRouteFirefox: ServeFirefoxPage(session, reply); return;
    case kRouteHome:
    case kRouteClassLoginPage: ServeClassLoginPage(session, kLoginNoMessage, reply); return;
    case kRouteNoMeetHome:
    case kRouteStaffLoginPage: ServeStaffLoginPage(session, kLoginNoMessage, reply); return;
    case kRouteClassLogin: HandleLoginPost(ex, false); return;
    case kRouteStaffLogin: HandleLoginPost(ex, true); return;
    case kRouteSetupIncomplete:
      // The set-up pages send the administrator on to the missing piece;
      // without them the request still gets an answer.
      if (FindRoute(code).handler) {
        DispatchToHandler(ex, code);
      } else {
        ServeSetupIncompletePage(session, reply);
      }
      return;
    case kRouteAdvancedFunctions: ServeMenuPage(session, 170, reply); return;
    case kRouteTablesMenu: ServeMenuPage(session, 174, reply); return;
    case kRouteImage:
    case kRouteSound: ServeImageFile(ex.request, reply); return;
    case kRouteDocument: ServeDocumentFile(ex.request, reply); return;
    case kRouteScriptOrStyle: ServeScriptOrStyle(ex.request, session, reply); return;
    case 53: AppendHtmlPage(session, SwitchRegistration(ex.request.Path), reply); return;
    case 54: AppendHtmlPage(session, ChangeTeacherPassword(ex), reply); return;
    case 114: AppendHtmlPage(session, SaveLeaderName(ex), reply); return;
    default: DispatchToHandler(ex, code); return;
  }
}

}  // namespace

void HandleHttpRequest(const HttpRequest& request, std::string& reply) {
  LoginPtr shared = FindOrCreateSession(request.SessionNumber, request.ClientAddress, std::time(nullptr));
  // This request's reply is built apart, so the empty test sees only it.
  std::string own;
  Exchange ex{request, shared, SnapshotSession(shared), own};
  int role = ex.session.Role;
  if (role > kRolePrintAdmin && !IsLocalNetworkAddress(request.ClientAddress)) role = kRoleNone;
  Dispatch(ex, RouteRequest(request, role));
  if (own.empty()) ServeSessionExpiredPage(ex.session, own);
  reply += own;
}

}  // namespace korva
