#include "pages/setup/order_book_control.h"

#include "database/model.h"
#include "database/setup_stage.h"
#include "database/store_meets.h"
#include "web/escape.h"
#include "web/form_field.h"
#include "web/response.h"
#include "web/templates.h"

namespace korva {

namespace {

const char* DocumentKindName(int kind) {
  switch (kind) {
    case 1: return "秩序册";
    case 2: return "检录表";
    case 3: return "成绩表";
    default: return "成绩统计表";
  }
}

std::string DocumentRows() {
  const std::vector<DocumentNode>& documents = Model().DocumentList;
  if (documents.empty()) return "<tr><td colspan=\"4\">目前无文档可供下载！</td></tr>";
  std::string rows;
  for (const DocumentNode& document : documents) {
    rows += "<tr align=\"center\"><td>";
    rows += DocumentKindName(document.Kind);
    rows += "</td><td>" + EscapeHtml(document.TimeText) + "</td><td><a href=\"" + EscapeHtml(document.FilePath) +
            "\" target=\"_blank\">点击下载(请选择保存或另存为)</a></td><td>已下载" +
            std::to_string(document.Downloads) + "次</td></tr>\r\n";
  }
  return rows;
}

std::string ControlContent() {
  const MeetModel& meet = Model();
  if (meet.CurrentMeetId == 0)
    return "<br /><br /><p><strong><h1>当前未建立运动会，请先<a href=\"JianLiYdh.html\">新建一个运动会</a>！</h1></strong></p>";
  const bool complete = CheckModelConsistency();
  std::string content;
  LoadHtmlTemplate(Template::kOrderBookControl, content);
  if (meet.RegistrationClosed != 0) {
    ReplacePlaceholder(content, "报名状态", "已关闭");
    ReplacePlaceholder(content, "报名按钮", "开启网络报名");
  } else {
    ReplacePlaceholder(content, "报名状态", "开启中");
    ReplacePlaceholder(content, "报名按钮", complete ? "关闭网络报名" : "强制关闭网络报名");
  }
  ReplacePlaceholder(content, "报名情况", complete ? "已完成" : "<font color=\"#FF0000\">未报满</font>");
  ReplacePlaceholder(content, "日程安排",
                     AllRoundsScheduled() ? "已完成" : "<font color=\"#FF0000\">未完成</font>");
  ReplacePlaceholder(content, "表册下载", DocumentRows());
  return content;
}

std::string SwitchRegistration(std::string_view path) {
  int id = GetFormInt(path, "ID=", 100);
  if (id == 1) {
    if (!Model().LaneList.empty()) return "4";
    if (Model().RoundList.empty()) return "5";
    if (SetRegistrationClosed(1) != 0) return "6";
    return CheckModelConsistency() ? "2" : "1";
  }
  if (id == 2) return SetRegistrationClosed(2) == 0 ? "3" : "6";
  return "6";
}

void BookControlRoute(RouteContext& ctx) { ServeBookControlPage(ctx.session, ctx.reply); }

void SwitchRegistrationRoute(RouteContext& ctx) {
  AppendHtmlPage(ctx.session, SwitchRegistration(ctx.request.Path), ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/BookControl.html", .roles = kAdmin, .code = 52, .handler = BookControlRoute,
     .empty = EmptyReply::kAdminResult},
    {.path = "/WebBaoMingClose.html", .roles = kAdmin, .code = 53, .handler = SwitchRegistrationRoute,
     .access = Access::kWrite, .empty = EmptyReply::kEmptyBody},
};

}  // namespace

void ServeBookControlPage(const LoginNode& session, std::string& reply) {
  AppendHtmlPage(session,
                 BuildFramedPage(Template::kAdminFrame, session, kAdminPageTitle, kAdminScriptTag, ControlContent()),
                 reply);
}

RouteTable OrderBookControlRoutes() { return kRows; }

}  // namespace korva
