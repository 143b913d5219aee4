#include "pages/meet/class_password.h"

#include <string>

#include "database/store_classes.h"
#include "web/form_field.h"
#include "web/response.h"

namespace korva {

namespace {

// "OK" when the old password matched and the new one was stored, else "ER".
// A new password that the field filter emptied, or one shorter than the
// page allows, would leave the class open to anyone: refused.
void ChangeTeacherPasswordRoute(RouteContext& ctx) {
  const std::string& source = ctx.request.Method == "POST" ? ctx.request.Body : ctx.request.Path;
  std::string old_password;
  std::string new_password;
  GetFormField(source, "oldword=", 100, old_password);
  GetFormField(source, "newword=", 100, new_password);
  bool changed = new_password.size() >= kMinClassPasswordBytes &&
                 ChangeClassPassword(ctx.session.GradeId, ctx.session.ClassId, old_password, new_password) == 0;
  AppendHtmlPage(ctx.session, changed ? "OK" : "ER", ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/ChangTeacPW.html", .roles = kTeacher, .code = 54, .handler = ChangeTeacherPasswordRoute,
     .access = Access::kWrite, .empty = EmptyReply::kEmptyBody},
};

}  // namespace

RouteTable ClassPasswordRoutes() { return kRows; }

}  // namespace korva
