#include "web/router.h"

#include "web/web_server.h"

namespace korva {

namespace {

int ExtensionRoute(std::string_view base) {
  std::size_t dot = base.rfind('.');
  if (dot == std::string_view::npos) return kRouteNone;
  std::string_view ext = base.substr(dot + 1);
  if (ext == "jpg" || ext == "ico" || ext == "gif") return kRouteImage;
  if (ext == "mp3") return kRouteSound;
  if (ext == "doc" || ext == "docx") return kRouteDocument;
  return kRouteNone;
}

RouteMatch ByCode(int code) {
  const RouteRow* row = FindRouteRow(code);
  return row ? RouteMatch{code, row} : RouteMatch{};
}

}  // namespace

std::string_view BasePath(std::string_view path) {
  std::size_t query = path.find('?');
  return query == std::string_view::npos ? path : path.substr(0, query);
}

RouteMatch MatchRoute(const HttpRequest& request, int role) {
  if (WebSuspended) return ByCode(kRouteSuspended);
  if (request.Browser == kBrowserFirefox) return ByCode(kRouteFirefox);
  if (request.Method != "GET" && request.Method != "POST") return {};
  std::string_view path = request.Path;
  bool role_known = role >= 0 && role <= 8;
  if (const RouteRow* row = FindPrefixRouteRow(path))
    return role_known && (row->roles & Role(role)) ? RouteMatch{row->code, row} : RouteMatch{};
  std::string_view base = BasePath(path);
  if (int code = ExtensionRoute(base); code != kRouteNone) return ByCode(code);
  if (!role_known) return {};
  const RouteRow* row = FindRouteRow(base, request.Method, role);
  return row ? RouteMatch{row->code, row} : RouteMatch{};
}

int RouteRequest(const HttpRequest& request, int role) { return MatchRoute(request, role).code; }

}  // namespace korva
