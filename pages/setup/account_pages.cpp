#include "pages/setup/account_pages.h"

#include <string>
#include <vector>

#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/model.h"
#include "database/queries.h"
#include "database/store_accounts.h"
#include "web/escape.h"
#include "web/form_field.h"
#include "web/login.h"
#include "web/response.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr std::size_t kFieldMax = 100;
constexpr std::size_t kSafetyTextMax = 99;

// A button that shows text in an alert box.
std::string AlertButton(std::string_view text) {
  return "<input name=\"V1\" type=\"button\" onclick=\"alert('" + EscapeHtml(EscapeScript(text)) +
         "');\" value=\"查看密码\" />";
}

void AppendAdminPage(RouteContext& ctx, std::string_view content) {
  AppendHtmlPage(ctx.session,
                 BuildFramedPage(Template::kAdminFrame, ctx.session, kAdminPageTitle, kAdminScriptTag, content),
                 ctx.reply);
}

// GET "/UserList.html" (administrator): the class-teacher accounts of the
// open meet with their passwords.
void ServeClassAccountsPage(RouteContext& ctx) {
  AssertDataLockHeld();
  std::string content =
      "<tr><td><div class=\"TabDivHui\">班级帐号查看</div><div class=\"TabDivBai\"><a href=\"AdUserList.html\">管理员帐"
      "号设置</a></div></td></tr><tr><td><table width=\"99%\" border=\"1\">\r\n<tr align=\"center\"><td>序号</td><td>"
      "班级</td><td>领队</td><td>教练</td><td>密码</td><td>备注</td></tr>\r\n";
  int number = 0;
  for (const ClassNode& c : Model().ClassList) {
    content += "<tr align=\"center\"><td>" + std::to_string(++number) + "</td><td>" + EscapeHtml(c.ClassName) +
               "</td><td>" + EscapeHtml(c.LeaderName) + "</td><td>" + EscapeHtml(c.CoachName) + "</td><td>" +
               AlertButton("该班的登陆密码为：" + c.Password) + "</td><td></td></tr>\r\n";
  }
  content +=
      "</table></td></tr><tr><td><img src=\"tip.jpg\" />提示：<br />1、点击“查看密码”，可查看该班的登陆密码；<br />"
      "2、新建运动会时，会将所有班级的登陆密码重置为“9352”；</td></tr>";
  AppendAdminPage(ctx, content);
}

// What the safety column says of a clerk's two sign-in limits.
std::string SafetyText(const StaffAccount& account) {
  if (!account.FixedAddress && !account.MeetDaysOnly) return "无限制";
  std::string text;
  if (account.FixedAddress)
    text += "固定IP登陆：" + (account.LastAddress.empty() ? std::string("从未登陆") : EscapeHtml(account.LastAddress));
  if (account.FixedAddress > 0 && account.MeetDaysOnly > 0) text += "<br />";
  if (account.MeetDaysOnly) text += "仅运动会期间有效";
  return std::string(CutGbk(text, kSafetyTextMax));
}

std::string StaffRow(int number, const StaffAccount& account) {
  std::string cells =
      "<tr align=\"center\"><td>" + std::to_string(number) + "</td><td>" + EscapeHtml(account.Name) + "</td><td>";
  if (account.Role == kRoleAdmin) {
    return cells + "<strong>系统管理员</strong></td><td>无限制</td><td><input name=\"V1\" type=\"button\" "
                   "onclick=\"ChangAdminPass(" + std::to_string(account.Id) + ");\" value=\"修改密码\" /></td><td>"
                   "</td></tr>\r\n";
  }
  return cells + (account.Role == kRoleScoreClerk ? "成绩录入员" : "打印管理员") + "</td><td>" +
         SafetyText(account) + "</td><td>" + AlertButton("该帐号的密码为：" + account.Password) +
         "</td><td><input name=\"V2\" type=\"button\" onclick=\"DelAdUser(" + std::to_string(account.Id) + ",'" +
         EscapeHtml(EscapeScript(account.Name)) + "');\" value=\"删除帐号\" /></td></tr>\r\n";
}

// GET "/AdUserList.html" (administrator): the staff accounts, the form that
// adds a clerk or print administrator, and the administrator's own
// password button.
void ServeStaffAccountsPage(RouteContext& ctx) {
  AssertDataLockHeld();
  std::vector<StaffAccount> accounts;
  if (!ReadStaffAccounts(accounts)) return;  // the result page for a failure
  std::string content =
      "<tr><td><div class=\"TabDivBai\"><a href=\"UserList.html\">班级帐号查看</a></div><div class=\"TabDivHui\">管理"
      "员帐号设置</div></td></tr><tr><td><table width=\"99%\" border=\"1\">\r\n<tr align=\"center\"><td>序号</td><td>"
      "帐号</td><td>权限</td><td>安全选项</td><td>密码</td><td>操作</td></tr>\r\n";
  int number = 0;
  for (const StaffAccount& account : accounts) content += StaffRow(++number, account);
  content += "</table>";
  std::string form;
  LoadHtmlTemplate(Template::kAddAdminForm, form);
  content += form;
  content +=
      "</td></tr><tr><td><img src=\"tip.jpg\" />提示：<br />1、成绩录入员可以录入比赛成绩，也可以打印检录单、成绩单和奖状；"
      "打印管理员只能打印；<br />2、强烈建议为成绩录入员勾选两个安全选项；<br />3、新建运动会时，管理员帐号的密码不会改变；<br />"
      "4、成绩录入员与打印管理员在此添加与删除。</td></tr>";
  AppendAdminPage(ctx, content);
}

// A name or password that could never sign in is not stored.
bool CanSignInWith(std::string_view text) { return !text.empty() && !IsRefusedLoginText(text, true); }

// GET "/AddAdmin.html?str1=<name>&str2=<password>&str3=<1 clerk, else print
// administrator>&str4=<fixed address>&str5=<meet days only>"
// (administrator): "OK" added, "CM" the name is taken, "ERR" otherwise.
void AddAccountRoute(RouteContext& ctx) {
  const std::string& query = ctx.request.Path;
  std::string name;
  std::string password;
  GetFormField(query, "str1=", kFieldMax, name);
  GetFormField(query, "str2=", kFieldMax, password);
  int role = GetFormInt(query, "str3=", kFieldMax) == 1 ? kRoleScoreClerk : kRolePrintAdmin;
  int fixed_address = GetFormInt(query, "str4=", kFieldMax);
  int meet_days_only = GetFormInt(query, "str5=", kFieldMax);
  int added = 1;
  if (CanSignInWith(name) && CanSignInWith(password))
    added = AddAccount(name, password, role, fixed_address, meet_days_only);
  AppendHtmlPage(ctx.session, added == 0 ? "OK" : added == 2 ? "CM" : "ERR", ctx.reply);
}

// GET "/DelAdmin.html?str1=<id>" (administrator): deletes a clerk or print
// administrator; every session signed in to it ends at once. "OK" or
// "ERR".
void DeleteAccountRoute(RouteContext& ctx) {
  int account_id = GetFormInt(ctx.request.Path, "str1=", kFieldMax);
  bool deleted = account_id > 0 && DeleteAccount(account_id) == 0;
  if (deleted) EndStaffSessions(account_id);
  AppendHtmlPage(ctx.session, deleted ? "OK" : "ERR", ctx.reply);
}

// GET "/CaAdPs.html?str1=<id>&str2=<current>&str3=<new>" (roles 6 and
// above): changes the password of the account signed in on this session,
// which must give its current password again (a wrong one signs the
// session out). "OK" or "ERR".
void ChangePasswordRoute(RouteContext& ctx) {
  const std::string& query = ctx.request.Path;
  std::string current;
  std::string fresh;
  GetFormField(query, "str2=", kFieldMax, current);
  GetFormField(query, "str3=", kFieldMax, fresh);
  bool changed = !current.empty() && fresh.size() >= kMinStaffPasswordBytes && CanSignInWith(fresh) &&
                 CheckLogin(*ctx.shared, ctx.session.UserName, current, true) != 0;
  ctx.Refresh();
  changed = changed && SaveStaffPassword(ctx.session.AccountId, fresh) == 0;
  AppendHtmlPage(ctx.session, changed ? "OK" : "ERR", ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/UserList.html", .roles = kAdmin, .code = 77, .handler = ServeClassAccountsPage,
     .empty = EmptyReply::kAdminResult},
    {.path = "/AdUserList.html", .roles = kAdmin, .code = 78, .handler = ServeStaffAccountsPage,
     .empty = EmptyReply::kAdminResult},
    {.path = "/DelAdmin.html", .roles = kAdmin, .code = 79, .handler = DeleteAccountRoute, .access = Access::kWrite,
     .empty = EmptyReply::kEmptyBody},
    {.path = "/CaAdPs.html", .roles = kStaff, .code = 80, .handler = ChangePasswordRoute, .access = Access::kWrite,
     .empty = EmptyReply::kEmptyBody},
    {.path = "/AddAdmin.html", .roles = kAdmin, .code = 81, .handler = AddAccountRoute, .access = Access::kWrite,
     .empty = EmptyReply::kEmptyBody},
};

}  // namespace

RouteTable AccountPageRoutes() { return kRows; }

}  // namespace korva
