#pragma once
// Choosing the route code of a request from its path, method and the web
// session's role.
#include <string_view>

#include "web/http_request.h"

namespace korva {

// Route codes the web server answers itself (the page folders register the
// others).
enum WebRoute {
  kRouteNone = 0,            // unknown path or role: the session-expired page
  kRouteHome = 1,            // "/" with a meet open: the class login page
  kRouteFirefox = 2,         // refused browser
  kRouteClassLoginPage = 10,  // GET "/index.html"
  kRouteClassLogin = 11,     // POST "/index.html"
  kRouteStaffLoginPage = 20,  // GET "/AdminIndex.html"
  kRouteStaffLogin = 21,     // POST "/AdminIndex.html"
  kRouteNoMeetHome = 30,     // "/" without a meet: the staff login page
  kRouteSetupIncomplete = 37,
  kRouteAdvancedFunctions = 82,
  kRouteTablesMenu = 91,
  kRouteSuspended = 99,
  kRouteImage = 300,
  kRouteDocument = 301,
  kRouteSound = 302,
  kRouteScriptOrStyle = 303,
};

// The route code for request and the session's role, tested in this order:
// WebSuspended, Firefox, a method other than GET or POST, "/upcj.html",
// file extensions, then the paths with their roles. Takes DataLock for
// "/SetupMeet.html".
int RouteRequest(const HttpRequest& request, int role);

// The path without its query.
std::string_view BasePath(std::string_view path);

}  // namespace korva
