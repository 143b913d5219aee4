#include "pages/meet/results_board.h"

#include "database/data_lock.h"
#include "database/lookups.h"
#include "database/model.h"
#include "pages/meet/class_score_board.h"
#include "web/escape.h"
#include "web/form_field.h"
#include "web/response.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr std::size_t kFieldBytes = 100;

std::string NowIdInput(int sequence) {
  return "<input name=\"NowID\" id=\"NowID\" type=\"hidden\" value=\"" + std::to_string(sequence) + "\">\r\n";
}

const char* Selected(bool selected) { return selected ? " selected=\"selected\"" : ""; }

// The grade select: "全部" and every grade that has a competition group, in
// ClassList order (a grade's classes stand together).
std::string GradeSelect(int grade_id) {
  std::string select = std::string("<select size=\"1\" name=\"CsList\" id=\"CsList\" "
                                   "onchange=\"ChangeOneGrade();return false;\">\r\n<option value=\"0\"") +
                       Selected(grade_id == 0) + ">全部</option>\r\n";
  int last_grade = 0;
  for (const ClassNode& class_node : Model().ClassList) {
    if (class_node.GradeId == last_grade) continue;
    if (!FindGroupByGradeAndSex(class_node.GradeId, 1) && !FindGroupByGradeAndSex(class_node.GradeId, 2)) continue;
    last_grade = class_node.GradeId;
    select += "<option value=\"" + std::to_string(class_node.GradeId) + "\"" +
              Selected(class_node.GradeId == grade_id) + ">" + EscapeHtml(class_node.GradeName) + "</option>\r\n";
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

// The points feed: the class points board of GradeId. The page sends a
// followed class (ClassId) that is always 0.
void ServeScoreBoardFeed(RouteContext& ctx) {
  AssertDataLockHeld();
  const std::string& query = ctx.request.Path;
  AppendHtmlPage(ctx.session, BuildClassScoreBoard(GetFormInt(query, "GradeId=", kFieldBytes), 0), ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/GongGao.html", .roles = kAnyone, .code = 3, .handler = ServeResultBoardPage},
    {.path = "/GetPbDate.html", .roles = kAnyone, .code = 4, .handler = ServeResultBoardFeed,
     .empty = EmptyReply::kEmptyBody, .session = false},
    {.path = "/GetPbDate2.html", .roles = kAnyone, .code = 6, .handler = ServeScoreBoardFeed,
     .empty = EmptyReply::kEmptyBody, .session = false},
};

}  // namespace

std::string BuildResultBoardFeed(int seen, int grade_id) {
  const std::vector<ResultPrintItem>& queue = Model().PrintQueue;
  std::string reply;
  for (const ResultPrintItem& item : queue) {
    if (item.Sequence <= seen) break;
    if (seen > 0 && item.Refresh == 1) return "Refresh";
    if (grade_id != 0 && item.GradeId != grade_id) continue;
    if (reply.empty() && &item != &queue.front()) reply += NowIdInput(queue.front().Sequence);
    reply += NowIdInput(item.Sequence) + item.ResultTable;
  }
  if (seen == 0 && reply.empty()) return "Start";
  return reply;
}

RouteTable ResultsBoardRoutes() { return kRows; }

}  // namespace korva
