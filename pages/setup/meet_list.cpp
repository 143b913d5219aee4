#include "pages/setup/meet_list.h"

#include <string>
#include <vector>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/model.h"
#include "database/open_meet.h"
#include "database/queries.h"
#include "database/store_meets.h"
#include "web/escape.h"
#include "web/form_field.h"
#include "web/login.h"
#include "web/response.h"
#include "web/templates.h"
#include "web/web_server.h"

namespace korva {

namespace {

constexpr std::size_t kFieldMax = 100;

constexpr const char* kSwitchFailed = "更改当前数据库失败！";
constexpr const char* kDeleteFailed = "删除运动会失败！";
constexpr const char* kDeleteRefused = "删除运动会失败！你的登陆信息有误，请重新登陆！";

// Every other request gets the service-closed page while it is alive.
class SuspendWebService {
 public:
  SuspendWebService() : before_(WebSuspended.exchange(1)) {}
  ~SuspendWebService() { WebSuspended = before_; }
  SuspendWebService(const SuspendWebService&) = delete;
  SuspendWebService& operator=(const SuspendWebService&) = delete;

 private:
  int before_;
};

std::string MeetRow(int number, const MeetRegistryRow& meet) {
  std::string name = EscapeHtml(meet.Name);
  std::string cells = "<tr align=\"center\"><td>" + std::to_string(number) + "</td><td>" + name + "</td><td>" +
                      EscapeHtml(meet.DateText) + "</td><td>";
  if (meet.Current == 1) return cells + "当前运动会</td></tr>\r\n";
  std::string arguments = std::to_string(meet.Id) + ",'" + EscapeHtml(EscapeScript(meet.Name)) + "'";
  return cells + "\r\n<input name=\"an11\" type=\"button\" value=\"设为当前运动会\" onClick=\"setdqydh(" + arguments +
         ");\">\r\n<input name=\"an12\" type=\"button\" value=\"删除此运动会\" onClick=\"delydh(" + arguments +
         ");\">\r\n</td></tr>\r\n";
}

// GET "/MeetList.html" (administrator): every registered meet, the current
// one first, with buttons to make another one current or delete it.
void ServeMeetListPage(RouteContext& ctx) {
  AssertDataLockHeld();
  std::vector<MeetRegistryRow> meets;
  if (!ReadMeetList(meets)) return;  // the result page for a failure
  std::string content =
      "<tr><td><div class=\"TabDivHui\">运动会列表</div><div class=\"TabDivBai\"><a href=\"JianLiYdh.html\">新建运动会"
      "</a></div>\r\n</td></tr><tr><td><table width=\"99%\" border=\"1\">\r\n<tr align=\"center\"><td>序号</td><td>运动会"
      "名称</td><td>举办时间</td><td>操作</td></tr>";
  int number = 0;
  for (const MeetRegistryRow& meet : meets) content += MeetRow(++number, meet);
  content += "</table></td></tr>";
  AppendHtmlPage(ctx.session,
                 BuildFramedPage(Template::kAdminFrame, ctx.session, kAdminPageTitle, kAdminScriptTag, content),
                 ctx.reply);
}

// GET "/setupDqYdh.html?str=<id>" (administrator): makes that meet current.
// The site answers with the service-closed page meanwhile. Only when the
// meet is open does every web session end, the administrator's own too;
// a meet that can't be opened leaves the previous one open, its sessions
// signed in, and the answer says so.
void SwitchMeetRoute(RouteContext& ctx) {
  AssertDataLockHeld(true);
  int meet_id = GetFormInt(ctx.request.Path, "str=", kFieldMax);
  bool switched = false;
  if (meet_id > 0 && meet_id != Model().CurrentMeetId) {
    SuspendWebService closed;
    int opened = OpenCurrentMeet(meet_id);
    if (opened == 3) ShowDataErrorCode(45534);
    switched = opened == 0;
    if (switched) FreeLoginList();
  }
  AppendHtmlPage(ctx.session, switched ? "OK" : kSwitchFailed, ctx.reply);
}

// GET "/DelYdh.html?str1=<id>&str2=<account>&str3=<password>"
// (administrator): deletes a meet that is not current, with its file, once
// the staff account's credentials are given again. The credentials sign
// this session in as that account; wrong ones sign it out.
void DeleteMeetRoute(RouteContext& ctx) {
  AssertDataLockHeld(true);
  const std::string& query = ctx.request.Path;
  int meet_id = GetFormInt(query, "str1=", kFieldMax);
  std::string name;
  std::string password;
  GetFormField(query, "str2=", kFieldMax, name);
  GetFormField(query, "str3=", kFieldMax, password);
  bool signed_in = CheckLogin(*ctx.shared, name, password, true) != 0;
  ctx.Refresh();
  const char* answer = kDeleteRefused;
  if (signed_in && meet_id > 0 && meet_id != Model().CurrentMeetId)
    answer = DeleteMeet(meet_id) == 0 ? "OK" : kDeleteFailed;
  AppendHtmlPage(ctx.session, answer, ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/MeetList.html", .roles = kAdmin, .code = 74, .handler = ServeMeetListPage,
     .empty = EmptyReply::kAdminResult},
    {.path = "/setupDqYdh.html", .roles = kAdmin, .code = 75, .handler = SwitchMeetRoute, .access = Access::kWrite,
     .empty = EmptyReply::kEmptyBody},
    {.path = "/DelYdh.html", .roles = kAdmin, .code = 76, .handler = DeleteMeetRoute, .access = Access::kWrite,
     .empty = EmptyReply::kEmptyBody},
};

}  // namespace

RouteTable MeetListRoutes() { return kRows; }

}  // namespace korva
