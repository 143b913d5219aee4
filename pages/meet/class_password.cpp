#include "pages/meet/class_password.h"

#include <string>

#include "database/data_lock.h"
#include "database/store_classes.h"
#include "pages/meet/class_frame.h"
#include "web/form_field.h"
#include "web/login.h"
#include "web/response.h"

namespace korva {

void ServeClassPasswordPage(std::string& reply, const LoginNode& session) {
  AssertDataLockHeld();
  const char* content =
      "<tr><td align=\"right\">请输入原密码：</td><td><input type=\"password\" name=\"oldpassword\" "
      "id=\"oldpassword\" size=\"20\" maxlength=\"50\" /></td></tr>\r\n"
      "<tr><td align=\"right\">请输入新密码：</td><td><input type=\"password\" name=\"newpassword\" "
      "id=\"newpassword\" size=\"20\" maxlength=\"50\" /></td></tr>\r\n"
      "<tr><td align=\"right\">请重新输入新密码：</td><td><input type=\"password\" name=\"newpassword2\" "
      "id=\"newpassword2\" size=\"20\" maxlength=\"50\" /></td></tr>\r\n"
      "<tr><td></td><td><input type=\"button\" name=\"changAn\" id=\"changAn\" value=\"修改\" "
      "onclick=\"bjchangpass()\" /> <input type=\"button\" name=\"quxiao\" id=\"quxiao\" value=\"返回\" "
      "onclick=\"window.location.href='/ShowClass.html'\" /></td></tr>\r\n";
  AppendHtmlPage(session, BuildClassFramePage(session, content), reply);
}

namespace {

// "/ChangPass.html": the class teacher's password form.
void ClassPasswordPageRoute(RouteContext& ctx) { ServeClassPasswordPage(ctx.reply, ctx.session); }

// "OK" when the old password matched and the new one was stored, else "ER".
// A new password that the field filter emptied, or one shorter than the
// page allows, would leave the class open to anyone, and one that the
// sign-in refuses would lock the teacher out: refused.
void ChangeTeacherPasswordRoute(RouteContext& ctx) {
  const std::string& source = ctx.request.Method == "POST" ? ctx.request.Body : ctx.request.Path;
  std::string old_password;
  std::string new_password;
  GetFormField(source, "oldword=", 100, old_password);
  GetFormField(source, "newword=", 100, new_password);
  bool changed = new_password.size() >= kMinClassPasswordBytes && !IsRefusedLoginText(new_password, false) &&
                 ChangeClassPassword(ctx.session.GradeId, ctx.session.ClassId, old_password, new_password) == 0;
  AppendHtmlPage(ctx.session, changed ? "OK" : "ER", ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/ChangPass.html", .roles = kTeacher, .code = 15, .handler = ClassPasswordPageRoute},
    {.path = "/ChangTeacPW.html", .roles = kTeacher, .code = 54, .handler = ChangeTeacherPasswordRoute,
     .access = Access::kWrite, .empty = EmptyReply::kEmptyBody},
};

}  // namespace

RouteTable ClassPasswordRoutes() { return kRows; }

}  // namespace korva
