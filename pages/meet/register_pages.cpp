#include "pages/meet/register_pages.h"

#include <string>

#include "pages/meet/athlete_registration.h"
#include "pages/meet/class_frame.h"
#include "pages/meet/class_pages.h"
#include "web/form_field.h"
#include "web/response.h"
#include "web/route_table.h"

namespace korva {

namespace {

// Route 12: GET "/ShowClass.html". Result 0 (no group for the class's grade)
// makes the dispatcher answer the class login page with message 3.
void ClassHomeRoute(RouteContext& ctx) { ctx.result = ServeClassHomePage(ctx.reply, ctx.session); }

// Routes 13 and 14: the enrol pages for boys and girls, "?id=" naming the
// athlete to edit. A non-zero result gives the class login page.
void EnrollRoute(RouteContext& ctx) {
  int athlete_id = GetFormInt(ctx.request.Path, "?id=", 100);
  int sex = ctx.route == 14 ? 2 : 1;
  ctx.result = ServeEnrollPage(ctx.reply, athlete_id, sex, ctx.session);
}

// Route 113: GET "/AddStudent.html" (class teacher and administrator). The
// answer is an HTML fragment that the enrol form puts in place of itself.
void AddStudentRoute(RouteContext& ctx) {
  std::string text;
  ctx.result = HandleAddStudent(text, ctx.request.Path, ctx.session);
  if (ctx.result == 0) {
    text += ctx.session.Role == kRoleAdmin
                ? "<div class=\"TabDivBai\"><a href=\"Adft.html\">返回</a></div>"
                : "<div class=\"TabDivBai\"><a href=\"ShowClass.html\">返回班级首面</a></div>";
  }
  AppendHtmlPage(ctx.session, text, ctx.reply);
}

// Route 115: POST "/DelST.html". Result 0 makes the dispatcher answer the
// redirect to the class home page; otherwise the class error page is ours.
void DeleteAthletesRoute(RouteContext& ctx) {
  std::string message;
  ctx.result = HandleDeleteAthletesPost(message, ctx.request.Body, ctx.session);
  if (ctx.result != 0) ServeClassErrorPage(ctx.session, message, ctx.reply);
}

}  // namespace

void RegisterMeetPages() {
  RegisterRoute(12, ClassHomeRoute);
  RegisterRoute(13, EnrollRoute);
  RegisterRoute(14, EnrollRoute);
  RegisterRoute(113, AddStudentRoute, EmptyReply::kEmptyBody);
  RegisterRoute(115, DeleteAthletesRoute);
}

}  // namespace korva
