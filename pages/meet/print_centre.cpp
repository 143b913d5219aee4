#include "pages/meet/print_centre.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <string_view>
#include <vector>

#include "database/lookups.h"
#include "pages/common/number_list.h"
#include "pages/meet/completion_time.h"
#include "web/escape.h"
#include "web/http_request.h"
#include "web/response.h"
#include "web/select_options.h"
#include "web/templates.h"

namespace korva {

namespace {

enum PageCode { kCheckInPage = 64, kResultsPage = 65, kCertificatesPage = 66, kSearchPage = 67, kLayoutPage = 89 };

// List kinds of the paging feed: 1 result sheets (every counted round), 2
// certificates (finals and direct finals only).
constexpr int kResultList = 1;
constexpr int kCertificateList = 2;
constexpr int kRowsPerPage = 12;

struct Tab {
  int code;
  const char* path;
  const char* name;
};
constexpr Tab kTabs[] = {{kCheckInPage, "Print1.html", "检录表打印"},
                         {kResultsPage, "Print2.html", "成绩表打印"},
                         {kCertificatesPage, "Print3.html", "奖状打印"},
                         {kSearchPage, "Print4.html", "检索打印"},
                         {kLayoutPage, "Print5.html", "奖状设置"}};

std::string TabBar(int page_code, std::string_view extra = {}) {
  std::string bar = "<div class=\"TabBar\">";
  for (const Tab& tab : kTabs)
    bar += std::string("<div class=\"") + (tab.code == page_code ? "TabDivHui" : "TabDivBai") + "\"><a href=\"" +
           tab.path + "\">" + tab.name + "</a></div>";
  return bar + std::string(extra) + "</div>\r\n";
}

constexpr const char* kStateLine = "<div id=\"BotRetDiv\"></div>\r\n";

// ---- Print1: check-in sheets by half-day session ----

std::string CheckInPage(int browser_kind) {
  static constexpr const char* kTitles[] = {"打印这一天%s径赛检录表(预赛与直接决赛的比赛)",
                                            "打印这一天%s田赛检录表(预赛与直接决赛的比赛)",
                                            "打印这一天%s径赛(预赛后才生成决赛的比赛)",
                                            "打印这一天%s田赛(预赛后才生成决赛的比赛)"};
  std::string page =
      TabBar(kCheckInPage) +
      "<table width=\"99%\" border=\"1\">\r\n<tr align=\"center\"><td rowspan=\"2\">序号</td><td rowspan=\"2\">日期</td>"
      "<td colspan=\"2\">预赛和直决赛检录表<br />(比赛前就可以打印)</td>"
      "<td colspan=\"2\">预赛后才能生成的决赛检录表<br />(预赛完成才能打印)</td></tr>\r\n"
      "<tr align=\"center\"><td>径赛</td><td>田赛</td><td>径赛</td><td>田赛</td></tr>\r\n";
  for (int s = 1; s <= Model().MeetSessionCount; ++s) {
    const std::string half = s % 2 == 1 ? "上午" : "下午";
    page += "<tr align=\"center\"><td>" + std::to_string(s) + "</td><td>第" + std::to_string((s + 1) / 2) + "天" +
            half + "</td>";
    for (int kind = 1; kind <= 4; ++kind) {
      std::string title = kTitles[kind - 1];
      title.replace(title.find("%s"), 2, half);
      page += "<td><input name=\"sqptan\" type=\"button\" value=\"打印\" title=\"" + title + "\" onClick=\"sqprint(" +
              std::to_string(s) + "," + std::to_string(kind) + ");\"></td>";
    }
    page += "</tr>\r\n";
  }
  page += std::string("</table>\r\n") + kStateLine +
          "<ol class=\"PrintTips\">\r\n"
          "<li>请使用IE10以上、Edge或谷歌浏览器打印，低版本浏览器打印时文字分页排版会错乱。</li>\r\n"
          "<li>按一次“打印”按钮打印这半天的全部检录表。</li>\r\n"
          "<li>预赛和直接决赛的检录表在生成秩序册后即可打印；决赛检录表要在预赛成绩录入完成、决赛分组后才能打印。</li>\r\n"
          "<li>请使用A4纸打印。</li>\r\n"
          "<li>赛前打印的表册较多，生成时可能要等待一段时间，请耐心等候。</li>\r\n"
          "<li>打印前请在浏览器的打印设置中取消页眉和页脚。</li>\r\n"
          "</ol>\r\n";
  if (browser_kind < 5)
    page += "<script type=\"text/javascript\">alert('当前浏览器版本太低，打印时文字分页排版会错乱，请及时升级您的浏览器，"
            "至少使用IE10或者更新的浏览器，XP下请使用谷歌浏览器！');</script>";
  return page;
}

// ---- Print2 and Print3: the lists of counted rounds ----

bool InList(const ResultPrintItem& item, int list) { return list == kResultList || item.RoundKind > kPrelim; }

// Views raise the entry's counters beside this page, under the shared lock
// too (CountRoundPrint), so they are read atomically.
int PrintsOf(const ResultPrintItem& item, int list) {
  int& prints = const_cast<int&>(list == kResultList ? item.ResultPrints : item.CertificatePrints);
  return std::atomic_ref<int>(prints).load(std::memory_order_relaxed);
}

std::string ListRow(const ResultPrintItem& item, int list, const char* line_end) {
  const std::string round = std::to_string(item.RoundId);
  return "<tr align=\"center\"><td>" + std::to_string(item.Sequence) + "</td><td>" + EscapeHtml(item.Title) +
         "</td><td>" + FormatCompletionTime(item.CompletionStamp) +
         "</td><td><input name=\"au3\" type=\"button\" id=\"au3\" onClick=\"cjan2(" + (list == kResultList ? "3" : "4") +
         "," + round + ");\" value=\"打印【" + (list == kResultList ? "成绩表" : "奖状") + "】\"></td><td><div id=\"PrNm" +
         round + "\">" + (PrintsOf(item, list) != 0 ? "已打印" : "未打") + "</div></td></tr>" + line_end;
}

// One page of a list: the paging buttons, the page number, the table head
// and the rows. The entries of the list, the page (from 1) and whether an
// entry follows it.
struct ListPage {
  std::vector<const ResultPrintItem*> Rows;
  int Page = 1;
  bool More = false;
};

ListPage PageOfList(int list, int page) {
  std::vector<const ResultPrintItem*> entries;
  for (const ResultPrintItem& item : Model().PrintQueue)
    if (InList(item, list)) entries.push_back(&item);
  const int pages = std::max<int>(1, (static_cast<int>(entries.size()) + kRowsPerPage - 1) / kRowsPerPage);
  ListPage shown;
  shown.Page = std::clamp(page, 1, pages);
  const std::size_t first = static_cast<std::size_t>(shown.Page - 1) * kRowsPerPage;
  const std::size_t end = std::min(entries.size(), first + kRowsPerPage);
  shown.Rows.assign(entries.begin() + static_cast<std::ptrdiff_t>(first), entries.begin() + static_cast<std::ptrdiff_t>(end));
  shown.More = end < entries.size();
  return shown;
}

std::string PagingButtons(const ListPage& shown, int list) {
  const std::string kind = std::to_string(list);
  const char* first_off = shown.Page == 1 ? " disabled" : "";
  return std::string("<div class=\"FanYe\" id=\"FanYe\"><input type=\"button\" id=\"a1\" value=\"第一页\" "
                     "onClick=\"location.reload();\"") +
         first_off + "> <input type=\"button\" id=\"a2\" value=\"前一页\" onClick=\"fanyian(1," + kind + ");\"" +
         first_off + "> <input type=\"button\" id=\"a3\" value=\"后一页\" onClick=\"fanyian(2," + kind + ");\"" +
         (shown.More ? "" : " disabled") + "></div>\r\n<input type=\"hidden\" id=\"fygsnutw\" value=\"1\">"
         "<input type=\"hidden\" id=\"fygsnu\" value=\"" + std::to_string(shown.Page) + "\">\r\n";
}

std::string ListTableHead(int list) {
  return std::string("<table width=\"99%\" border=\"1\">\r\n<tr align=\"center\"><td>序号</td><td>可打印") +
         (list == kResultList ? "成绩表" : "奖状") + "的比赛</td><td>生成时间</td><td>操作</td><td>打印状态</td></tr>\r\n";
}

std::string QueuePage(int page_code) {
  const int list = page_code == kResultsPage ? kResultList : kCertificateList;
  const ListPage shown = PageOfList(list, 1);
  std::string page = TabBar(page_code, "<span class=\"DaoJiShi\" id=\"daojishistr\">60秒后更新</span>") +
                     "<div id=\"FanYeHTML\">" + PagingButtons(shown, list) + ListTableHead(list);
  bool unprinted = false;
  for (const ResultPrintItem* item : shown.Rows) {
    page += ListRow(*item, list, list == kResultList ? "\r\n" : "");
    unprinted = unprinted || PrintsOf(*item, list) == 0;
  }
  if (shown.Rows.empty())
    page += std::string("<tr align=\"center\"><td></td><td>") +
            (list == kResultList ? "无成绩表可打印，请录入比赛成绩。" : "无奖状可打印，请录入比赛成绩。") +
            "</td><td></td><td></td><td></td></tr>";
  page += std::string("</table></div>\r\n") + kStateLine + "<ol class=\"PrintTips\">\r\n" +
          "<li>请使用IE10以上、Edge或谷歌浏览器打印。</li>\r\n" +
          (list == kResultList ? "<li>这里列出已完成比赛的成绩表，成绩录入完成后即可打印。</li>\r\n<li>请使用A4纸打印。</li>\r\n"
                               : "<li>这里列出已完成的决赛，可以打印获奖者的奖状。</li>\r\n<li>请使用16开奖状纸打印。</li>\r\n") +
          "<li>本页每60秒自动更新一次，有新的比赛完成时会有声音提示。</li>\r\n</ol>\r\n"
          "<script type=\"text/javascript\">pcStartCountdown();</script>\r\n";
  if (unprinted)
    page += "<audio src=\"Notify.mp3\" id=\"audio\" autoplay=\"autoplay\">当前浏览器不支持声音提示，请使用更高版本的浏览器！</audio>\r\n";
  return page;
}

// ---- Print4: search ----

std::string SearchPage() {
  std::string page = TabBar(kSearchPage) + "<fieldset><legend>按运动员查找</legend>运动员号码或姓名："
                     "<input type=\"text\" id=\"namestr\" size=\"10\" maxlength=\"10\"> "
                     "<input type=\"button\" id=\"findst\" value=\"查找\" onClick=\"FindOneST();\"></fieldset>\r\n"
                     "<fieldset><legend>按班级查找</legend><select size=\"1\" id=\"banji\">\r\n";
  for (const ClassNode& c : Model().ClassList)
    if (FindGroupByGradeAndSex(c.GradeId, 1) || FindGroupByGradeAndSex(c.GradeId, 2))
      page += OptionLine(std::to_string(c.GradeId) + "-" + std::to_string(c.ClassId), EscapeHtml(c.ClassName), false);
  page += "</select>\r\n <input type=\"button\" id=\"findCS\" value=\"查看\" onClick=\"findCS();\"></fieldset>\r\n"
          "<div id=\"ShowMessage\">当前检索结果：未检索</div>\r\n";
  return page + kStateLine;
}

// ---- Print5: certificate layout ----

std::string LayoutPage() {
  return TabBar(kLayoutPage) +
         "<p>奖状套打效果预览,红色虚线为奖状边框,每个管理员均单独设置。</p>\r\n"
         "<input type=\"button\" value=\"应用当前设置\" onClick=\"location.reload(true);\"> "
         "<input type=\"button\" id=\"sdjz\" value=\"试打一张\" onClick=\"ShiDaJZ();\">\r\n" +
         kStateLine +
         "<iframe id=\"JzYuLan\" src=\"ViewTable.html?str=5-0-0-0\" width=\"100%\" height=\"600\" frameborder=\"0\"></iframe>\r\n"
         "<ol class=\"PrintTips\">\r\n"
         "<li>每按一次移动按钮，该行的新位置立即保存，按“应用当前设置”或刷新页面后生效。</li>\r\n"
         "<li>每个打印管理员都有自己的奖状设置，互不影响。</li>\r\n"
         "<li>没有设置过的管理员使用默认的奖状格式。</li>\r\n"
         "</ol>\r\n";
}

void PrintCentreRoute(RouteContext& ctx) {
  ServePrintCenterPage(ctx.session, ctx.reply, ctx.route == 17 ? kCertificatesPage : ctx.route, ctx.request.Browser);
}

// "/GetGsbStr.html?str=page-direction-list": the page before (direction 1)
// or after the one shown, of the result-sheet list (1) or the certificate
// list (other), for the container FanYeHTML.
void PrintListRoute(RouteContext& ctx) {
  constexpr std::string_view kQuery = "/GetGsbStr.html?str=";
  std::string_view path = ctx.request.Path;
  std::array<int, 3> n{};
  if (path.substr(0, kQuery.size()) != kQuery || ReadDashNumbers(path.substr(kQuery.size()), n) != 3) {
    AppendHtmlPage(ctx.session, "用户提交的请求有错误！", ctx.reply);
    return;
  }
  if (Model().PrintQueue.empty()) {
    AppendHtmlPage(ctx.session, "当前无比赛可以打印！(1)", ctx.reply);
    return;
  }
  const int list = n[2] == kResultList ? kResultList : kCertificateList;
  // Page numbers come from the browser: kept far from overflow.
  const int page = std::clamp(n[0], -1000000, 1000000);
  const ListPage shown = PageOfList(list, n[1] == 1 ? page - 1 : page + 1);
  std::string body = PagingButtons(shown, list) + ListTableHead(list);
  for (const ResultPrintItem* item : shown.Rows) body += ListRow(*item, list, "");
  AppendHtmlPage(ctx.session, body + "</table>", ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/Admin.html", .roles = Role(kRolePrintAdmin), .code = 17, .handler = PrintCentreRoute},
    {.path = "/Print1.html", .roles = kStaff, .code = 64, .handler = PrintCentreRoute},
    {.path = "/Print2.html", .roles = kStaff, .code = 65, .handler = PrintCentreRoute},
    {.path = "/Print3.html", .roles = kStaff, .code = 66, .handler = PrintCentreRoute},
    {.path = "/Print4.html", .roles = kStaff, .code = 67, .handler = PrintCentreRoute},
    {.path = "/Print5.html", .roles = kStaff, .code = 89, .handler = PrintCentreRoute},
    {.path = "/GetGsbStr.html", .roles = kStaff, .code = 69, .handler = PrintListRoute,
     .empty = EmptyReply::kEmptyBody},
};

}  // namespace

void ServePrintCenterPage(const LoginNode& session, std::string& reply, int page_code, int browser_kind) {
  std::string content;
  switch (page_code) {
    case kCheckInPage: content = CheckInPage(browser_kind); break;
    case kResultsPage:
    case kCertificatesPage: content = QueuePage(page_code); break;
    case kSearchPage: content = SearchPage(); break;
    case kLayoutPage: content = LayoutPage(); break;
    default: return;
  }
  AppendHtmlPage(session,
                 BuildFramedPage(StaffFrameOf(session.Role), session, kAdminPageTitle, kInscoreScriptTag,
                                 "<tr><td>" + content + "</td></tr>"),
                 reply);
}

RouteTable PrintCentreRoutes() { return kRows; }

}  // namespace korva
