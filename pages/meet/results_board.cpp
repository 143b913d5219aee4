#include "pages/meet/results_board.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "database/data_lock.h"
#include "database/hold_cache.h"
#include "database/lookups.h"
#include "database/model.h"
#include "engine/score_text.h"
#include "pages/meet/class_score_board.h"
#include "web/escape.h"
#include "web/form_field.h"
#include "web/response.h"
#include "web/select_options.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr std::size_t kFieldBytes = 100;

std::string NowIdInput(int sequence) {
  return "<input name=\"NowID\" id=\"NowID\" type=\"hidden\" value=\"" + std::to_string(sequence) + "\">\r\n";
}

const char* RemarkText(int record_flag) {
  return record_flag == 2 ? "破记录" : record_flag == 1 ? "平记录" : "";
}

// The grade select: "全部" and every grade that has a competition group, in
// ClassList order (a grade's classes stand together).
std::string GradeSelect(int grade_id) {
  std::string select = std::string("<select size=\"1\" name=\"CsList\" id=\"CsList\" "
                                   "onchange=\"ChangeOneGrade();return false;\">\r\n") +
                       OptionLine(0, "全部", grade_id == 0);
  int last_grade = 0;
  for (const ClassNode& class_node : Model().ClassList) {
    if (class_node.GradeId == last_grade) continue;
    if (!FindGroupByGradeAndSex(class_node.GradeId, 1) && !FindGroupByGradeAndSex(class_node.GradeId, 2)) continue;
    last_grade = class_node.GradeId;
    select += OptionLine(class_node.GradeId, EscapeHtml(class_node.GradeName), class_node.GradeId == grade_id);
  }
  return select + "</select>\r\n";
}

// The board page, for anyone: a grade's (ClassId, 0 for all) results.
void ServeResultBoardPage(RouteContext& ctx) {
  AssertDataLockHeld();
  const int grade_id = GetFormInt(ctx.request.Path, "ClassId=", kFieldBytes);
  std::string page;
  if (!LoadHtmlTemplate(Template::kResultsBoard, page)) return;
  ReplacePlaceholder(page, "主办单位", EscapeHtml(Model().OrganiserName));
  ReplacePlaceholder(page, "运动会名称", EscapeHtml(Model().MeetName));
  ReplacePlaceholder(page, "ClassList", GradeSelect(grade_id));
  AppendHtmlPage(ctx.session, page, ctx.reply);
}

// The result feed the board polls: CjNo, the newest number it shows, and
// ClassId, its grade.
void ServeResultBoardFeed(RouteContext& ctx) {
  AssertDataLockHeld();
  const std::string& query = ctx.request.Path;
  AppendHtmlPage(ctx.session,
                 BuildResultBoardFeed(GetFormInt(query, "CjNo=", kFieldBytes), GetFormInt(query, "ClassId=", kFieldBytes)),
                 ctx.reply);
}

bool IsGradeOfSomeClass(int grade_id) {
  for (const ClassNode& class_node : Model().ClassList)
    if (class_node.GradeId == grade_id) return true;
  return false;
}

// The class points board of a grade (0: the school). Every board on the
// network polls the same few texts, so each is built once per change of the
// meet rather than per poll. The caller holds DataLock.
std::string PointsBoard(int grade_id) {
  static HoldCache<int, std::string> boards;
  return boards.Get(grade_id, [&](std::string& board) {
    board = BuildClassScoreBoard(grade_id, 0);
    // Only real grades are kept: a query cannot make the cache grow.
    return grade_id == 0 || IsGradeOfSomeClass(grade_id);
  });
}

// The points feed: the class points board of GradeId. The page sends a
// followed class (ClassId) that is always 0.
void ServeScoreBoardFeed(RouteContext& ctx) {
  AssertDataLockHeld();
  AppendHtmlPage(ctx.session, PointsBoard(GetFormInt(ctx.request.Path, "GradeId=", kFieldBytes)), ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/GongGao.html", .roles = kAnyone, .code = 3, .handler = ServeResultBoardPage},
    {.path = "/GetPbDate.html", .roles = kAnyone, .code = 4, .handler = ServeResultBoardFeed,
     .empty = EmptyReply::kEmptyBody, .session = false},
    {.path = "/GetPbDate2.html", .roles = kAnyone, .code = 6, .handler = ServeScoreBoardFeed,
     .empty = EmptyReply::kEmptyBody, .session = false},
};

}  // namespace

std::string BuildResultTableBlock(const ResultPrintItem& item) {
  if (item.ResultRows.empty()) return {};
  const bool prelim = item.RoundKind == kPrelim;
  const std::string unit = EscapeHtml(item.Unit);
  std::string block =
      "<div class=\"GSdiv\">\r\n  <div>\r\n  <div style=\"float:left\">" + EscapeHtml(item.Title) +
      "</div>\r\n <div style=\"float:right\">单位：" + unit +
      "&nbsp;&nbsp;</div>\r\n </div> <br />\r\n <table width=\"99%\" border=\"1\">\r\n  <tr align=\"center\">\r\n"
      "    <td>序号</td>\r\n    <td>号码</td>\r\n    <td>姓名</td>\r\n    <td>班级</td>\r\n"
      "    <td>比赛成绩</td>\r\n    <td>" +
      (prelim ? "进入决赛" : "名次") + "</td>\r\n    <td>得分</td>\r\n\t<td>备注</td>\r\n  </tr>\r\n";
  int r = 0;
  for (const ResultTableRow& row : item.ResultRows) {
    const std::string result =
        row.Result == kNoResult ? std::string() : EscapeHtml(FormatScoreText(row.Result, item.Unit)) + unit;
    const std::string points = row.Points != 0 ? FormatPoints(row.Points) : "&nbsp;";
    block += "<tr align=\"center\">\r\n<td style=\"text-align:center;\">" + std::to_string(++r) +
             "</td>\r\n    <td>" + (item.Individual ? EscapeHtml(row.BibText) : "&nbsp;") + "</td>\r\n    <td>" +
             (item.Individual ? EscapeHtml(row.Name) : "&nbsp;") + "</td>\r\n    <td>" +
             EscapeHtml(row.ClassName) + "</td>\r\n    <td>" + result + "</td>\r\n";
    if (prelim) {
      block += "    <td>录取</td>\r\n\t<td>" + points + "</td>\r\n    <td>";
    } else {
      block += "\t<td>第" + std::to_string(row.Place) + "名</td>\r\n\t<td>" + points + "</td>\r\n    <td>";
    }
    block += std::string(RemarkText(row.RecordFlag)) + "</td>\r\n</tr>\r\n";
  }
  return block + "</table></div>\r\n";
}

namespace {

// The entry's table block, built once: boards poll it under the shared lock
// side by side, so the first to need it fills it in under a mutex of its
// own; writers replace entries only while they hold DataLock alone.
std::shared_ptr<const std::string> TableBlockOf(ResultPrintItem& item) {
  static std::mutex filling;
  std::lock_guard<std::mutex> hold(filling);
  if (!item.TableMarkup.Text) item.TableMarkup.Text = std::make_shared<const std::string>(BuildResultTableBlock(item));
  return item.TableMarkup.Text;
}

}  // namespace

std::string BuildResultBoardFeed(int seen, int grade_id) {
  std::vector<ResultPrintItem>& queue = Model().PrintQueue;
  // A number above every one given out (after a restart, or once the queue
  // was emptied) belongs to tables the board must no longer show.
  if (seen > 0 && (queue.empty() || seen > queue.front().Sequence)) return "Refresh";
  std::string reply;
  for (ResultPrintItem& item : queue) {
    if (item.Sequence <= seen) break;
    if (seen > 0 && item.Refresh == 1) return "Refresh";
    if (grade_id != 0 && item.GradeId != grade_id) continue;
    if (reply.empty() && &item != &queue.front()) reply += NowIdInput(queue.front().Sequence);
    reply += NowIdInput(item.Sequence);
    reply += *TableBlockOf(item);
  }
  if (seen == 0 && reply.empty()) return "Start";
  return reply;
}

RouteTable ResultsBoardRoutes() { return kRows; }

}  // namespace korva
