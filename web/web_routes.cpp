#include "web/web_routes.h"

#include <string>

#include "database/model.h"
#include "web/form_field.h"
#include "web/login.h"
#include "web/response.h"
#include "web/session.h"
#include "web/static_files.h"

namespace korva {

namespace {

void ClassLoginPage(RouteContext& ctx) { ServeClassLoginPage(ctx.session, kLoginNoMessage, ctx.reply); }

void StaffLoginPage(RouteContext& ctx) { ServeStaffLoginPage(ctx.session, kLoginNoMessage, ctx.reply); }

// "/" and "/Welcome.html": the class teachers' login while a meet is open,
// else the staff login.
void HomePage(RouteContext& ctx) {
  if (Model().CurrentMeetId != 0) {
    ctx.route = kRouteHome;
    ClassLoginPage(ctx);
  } else {
    ctx.route = kRouteNoMeetHome;
    StaffLoginPage(ctx);
  }
}

// Login posts 11 (class teacher) and 21 (staff): the redirect to the
// role's home, or the login page again with the reason.
void LoginPost(RouteContext& ctx) {
  bool staff = ctx.route == kRouteStaffLogin;
  auto serve_page = [&](int message) {
    ctx.Refresh();
    if (staff) {
      ServeStaffLoginPage(ctx.session, message, ctx.reply);
    } else {
      ServeClassLoginPage(ctx.session, message, ctx.reply);
    }
  };
  if (IsLoginLockedOut(ctx.session)) {
    serve_page(kLoginLockedOut);
    return;
  }
  std::string name;
  std::string password;
  GetFormField(ctx.request.Body, staff ? "UserName=" : "BanJi=", 100, name);
  GetFormField(ctx.request.Body, "PassWord=", 100, password);
  if (CheckLogin(*ctx.shared, name, password, staff)) {
    ctx.Refresh();
    ServeRedirectPage(staff ? 1 : 2, "", ctx.session, ctx.reply);
    return;
  }
  ctx.Refresh();
  serve_page(IsLoginLockedOut(ctx.session) ? kLoginLockedOut : ctx.session.Reason);
}

// "退出登陆" (the class teacher's pages) and "退出" (the print
// administrator's): the login ends and the cookie number with it, so the
// next person at a shared computer starts signed out; then the sign-in page
// the link names ("?staff=1": the staff one, else "/").
void SignOutRoute(RouteContext& ctx) {
  SignOut(*ctx.shared);
  ctx.Refresh();
  std::string staff;
  GetFormField(ctx.request.Path, "staff=", 2, staff);
  if (staff == "1") {
    ServeRedirectToPath("/AdminIndex.html", ctx.session, ctx.reply);
  } else {
    ServeRedirectPage(0, "", ctx.session, ctx.reply);
  }
}

void RefusedBrowserPage(RouteContext& ctx) {
  AppendHtmlPage(ctx.session,
                 "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />"
                 "<title>QV网络运动会管理系统</title></head><body>"
                 "<p>本系统不支持火狐浏览器，请使用IE、Edge或Chrome浏览器访问！</p></body></html>",
                 ctx.reply);
}

void ServiceClosedPage(RouteContext& ctx) { ServeServiceClosedPage(ctx.session, ctx.reply); }

void ScriptOrStyle(RouteContext& ctx) { ServeScriptOrStyle(ctx.request, ctx.reply); }

void ImageOrSound(RouteContext& ctx) { ServeImageFile(ctx.request, ctx.reply); }

// The download count changes: ServeDocumentFile takes DataLock to write it.
void Document(RouteContext& ctx) { ServeDocumentFile(ctx.request, ctx.reply); }

using enum Access;
using enum Method;

constexpr RouteRow kRows[] = {
    {.path = "/index.html", .method = kGet, .roles = kAnyone, .code = kRouteClassLoginPage,
     .handler = ClassLoginPage},
    {.path = "/index.html", .method = kPost, .roles = kAnyone, .code = kRouteClassLogin, .handler = LoginPost,
     .access = kNone, .changes = true},
    {.path = "/AdminIndex.html", .method = kGet, .roles = kAnyone, .code = kRouteStaffLoginPage,
     .handler = StaffLoginPage},
    {.path = "/AdminIndex.html", .method = kPost, .roles = kAnyone, .code = kRouteStaffLogin,
     .handler = LoginPost, .access = kNone, .changes = true},
    {.path = "/", .roles = kAnyone, .code = kRouteHome, .handler = HomePage},
    {.path = "/Welcome.html", .roles = kAnyone, .code = kRouteHome, .handler = HomePage},
    {.path = "/TuiChu.html", .roles = kAnyone, .code = kRouteSignOut, .handler = SignOutRoute, .access = kNone,
     .changes = true},
    // Reached by their code only: the router chooses them.
    {.roles = kAnyone, .code = kRouteFirefox, .handler = RefusedBrowserPage, .access = kNone},
    {.roles = kAnyone, .code = kRouteSuspended, .handler = ServiceClosedPage, .access = kNone},
    {.roles = kAnyone, .code = kRouteImage, .handler = ImageOrSound, .access = kNone, .session = false},
    {.roles = kAnyone, .code = kRouteSound, .handler = ImageOrSound, .access = kNone, .session = false},
    {.roles = kAnyone, .code = kRouteDocument, .handler = Document, .access = kNone, .session = false},
    {.path = "/af.js", .roles = kAnyone, .code = kRouteScriptOrStyle, .handler = ScriptOrStyle,
     .session = false},
    {.path = "/admin.js", .roles = kAnyone, .code = kRouteScriptOrStyle, .handler = ScriptOrStyle,
     .session = false},
    {.path = "/inscore.js", .roles = kAnyone, .code = kRouteScriptOrStyle, .handler = ScriptOrStyle,
     .session = false},
    {.path = "/admin.css", .roles = kAnyone, .code = kRouteScriptOrStyle, .handler = ScriptOrStyle,
     .session = false},
};

}  // namespace

RouteTable WebServerRoutes() { return kRows; }

}  // namespace korva
