#pragma once
// Choosing the route row of a request from its path, method and the web
// session's role.
#include <string_view>

#include "web/http_request.h"
#include "web/route_table.h"
#include "web/web_routes.h"

namespace korva {

struct RouteMatch {
  int code = kRouteNone;
  const RouteRow* row = nullptr;  // null for kRouteNone
};

// The route of request for the session's role, tested in this order:
// WebSuspended, Firefox, a method other than GET or POST, prefix rows
// ("/upcj.html"), file extensions, then the rows' paths with their roles.
RouteMatch MatchRoute(const HttpRequest& request, int role);

// MatchRoute's code.
int RouteRequest(const HttpRequest& request, int role);

// The path without its query.
std::string_view BasePath(std::string_view path);

}  // namespace korva
