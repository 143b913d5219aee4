#pragma once
// The routes the web server answers itself: sign-in and out, the home path, the
// refused browser and the closed service, and the static files.
#include "web/route_table.h"

namespace korva {

// Codes of the web server's own routes, and the codes the router chooses
// without a path.
enum WebRoute {
  kRouteNone = 0,             // unknown path or role: the session-expired page
  kRouteHome = 1,             // "/" and "/Welcome.html": with a meet open the class login page
  kRouteFirefox = 2,          // refused browser
  kRouteClassLoginPage = 10,  // GET "/index.html"
  kRouteClassLogin = 11,      // POST "/index.html"
  kRouteStaffLoginPage = 20,  // GET "/AdminIndex.html"
  kRouteStaffLogin = 21,      // POST "/AdminIndex.html"
  kRouteSignOut = 25,         // "/TuiChu.html": "退出登陆" and "退出"
  kRouteNoMeetHome = 30,      // "/" without a meet: the staff login page
  kRouteSuspended = 99,
  kRouteImage = 300,
  kRouteDocument = 301,
  kRouteSound = 302,
  kRouteScriptOrStyle = 303,
};

// The web server's rows; always installed first.
RouteTable WebServerRoutes();

}  // namespace korva
