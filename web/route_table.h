#pragma once
// The table from route code to page handler. The page folders register
// their handlers at start-up (RegisterSetupPages, RegisterMeetPages); the
// dispatcher looks them up. A route without a handler answers the
// session-expired page.
#include <string>
#include <string_view>

#include "web/http_request.h"
#include "web/login_list.h"

namespace korva {

// What the dispatcher sends when a handler leaves its reply empty.
enum class EmptyReply {
  kSessionExpired,  // an ordinary page: the session-expired page
  kAdminResult,     // an administrator page: the result page with code 99
  kEmptyBody,       // AJAX, fragment or print frame: the header with an empty body
};

struct RouteContext {
  RouteContext(const HttpRequest& request_in, LoginNode& session_in, std::string& reply_in)
      : request(request_in), session(session_in), reply(reply_in) {}

  const HttpRequest& request;
  // The web session as it stood when the request arrived: a copy, so other
  // threads never change it under the handler, and changes made to it are
  // not kept.
  LoginNode& session;
  std::string& reply;  // the whole reply, header included, in GBK
  // The route code being answered, so one handler can serve several codes
  // (13 and 14, 16/18/56, 17/64..67/89, 36 and 47).
  int route = 0;
  // Numbers the dispatcher read for the handler: DayID and MatchType for the
  // schedule page (routes 36 and 47; 0 and 0 for 36).
  int args[2] = {0, 0};
  // The handler's integer result and sentence, for the routes whose answer
  // the dispatcher builds from them (the reply the handler built is then
  // replaced):
  //   12: 1 page sent; 0 -> class login page with message 3.
  //   13, 14: 0 page sent; non-zero -> class login page with message 3.
  //   115: 0 -> redirect to /ShowClass.html; else the handler's own page.
  //   48, 49: non-zero -> the administration result page (codes 6 and 7).
  //   142..145, 150..153, 155, 156, 162: the administration result page with
  //     the route's base plus result, and message.
  //   161: 0 -> redirect to /MatchPlan.html + message; else result page 92.
  //   158: non-zero (the grade id) -> redirect to /SetupGrade.html?id=;
  //   159, 160: 0 -> redirect to /ShowScore.html; other results of the
  //     three -> a framed failure page showing message.
  int result = 0;
  std::string message;
};

using RouteHandler = void (*)(RouteContext& ctx);

struct RouteEntry {
  RouteHandler handler = nullptr;
  EmptyReply empty = EmptyReply::kSessionExpired;
  // The dispatcher holds DataLock around the handler unless this is false
  // (progress polls that must answer while the order book is written).
  bool hold_data_lock = true;
};

void RegisterRoute(int code, RouteHandler handler, EmptyReply empty = EmptyReply::kSessionExpired,
                   bool hold_data_lock = true);
// The entry of a route code; handler null when none is registered.
RouteEntry FindRoute(int code);

// Services of the page folders that the web server calls. Each is set once
// at start-up, before the server listens; until it is set the server answers
// as documented at each caller.

// The administration result page (ServeSetupResultPage): writes the whole
// reply for code and message; leaves it empty for a non-administrator.
using AdminResultPageHook = void (*)(int code, std::string_view message, LoginNode& session,
                                     std::string& reply);
void SetAdminResultPageHook(AdminResultPageHook hook);
// Calls the hook; without one the reply stays empty.
void ServeAdminResultPage(int code, std::string_view message, LoginNode& session, std::string& reply);

// The print style sheet "/view.css" (BuildCertificateCss) for a layout key
// (the session's OwnerKey). Without it the sheet is empty.
using CertificateCssHook = void (*)(int layout_key, std::string& css);
void SetCertificateCssHook(CertificateCssHook hook);
void BuildCertificateCssFor(int layout_key, std::string& css);

// GetSetupStage (0 to 8) for "/SetupMeet.html"; the caller holds DataLock.
// Without it the stage reads 0.
using SetupStageHook = int (*)();
void SetSetupStageHook(SetupStageHook hook);
int SetupStageOfMeet();

// CheckModelConsistency for route 53: 0 registration not complete, 1
// complete. Without it the result is 0.
using ModelConsistencyHook = int (*)();
void SetModelConsistencyHook(ModelConsistencyHook hook);
int ModelConsistencyOfMeet();

}  // namespace korva
