#include "pages/meet/single_item_prints.h"

#include <algorithm>
#include <string>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/gbk_text.h"
#include "database/lookups.h"
#include "engine/score_text.h"
#include "pages/common/number_list.h"
#include "pages/meet/certificates.h"
#include "pages/meet/completion_time.h"
#include "pages/meet/print_sheets.h"
#include "pages/meet/round_context.h"
#include "web/escape.h"
#include "web/form_field.h"
#include "web/response.h"

namespace korva {

namespace {

constexpr std::size_t kSearchTextBytes = 50;
constexpr std::size_t kIdTextBytes = 100;
constexpr std::size_t kMaxLaneIdDigits = 9;

std::string Num(int n) { return std::to_string(n); }

// "grade 男子|女子 event" of a round.
std::string EventColumn(const RoundContext& context) {
  return EscapeHtml(context.Group->GradeName) + " " + (context.Group->Sex == 1 ? "男子" : "女子") + " " +
         EscapeHtml(context.Event->Name);
}

std::string ResultText(const LaneNode& lane, const EventNode& event) {
  return EscapeHtml(FormatScoreText(lane.Result, event.Unit));
}

std::string CheckBox(int n, const LaneNode& lane, const char* state) {
  return "<tr align=\"center\"><td><input id=\"bssl" + Num(n) + "\" type=\"checkbox\" value=\"" + Num(lane.Id) +
         "\" " + state + "></td><td>" + Num(n) + "</td><td>";
}

std::string ListClosing(int rows) {
  return "</table><input name=\"MaxL\" type=\"hidden\" id=\"MaxL\" value=\"" + Num(rows) +
         "\"><input name=\"au1\" type=\"button\" id=\"au1\" onClick=\"cjan3();\" "
         "value=\"打印选中的比赛的【奖状】\"><br />";
}

// Route 70: the athletes whose bib is the number the text starts with, or
// whose name holds the text.
void AthleteSearchRoute(RouteContext& ctx) {
  AssertDataLockHeld();
  std::string text;
  GetFormField(ctx.request.Path, "str=", kSearchTextBytes, text);
  if (text.empty()) return;
  const int number = LeadingNumber(text);
  std::string rows;
  int n = 0;
  for (const AthleteNode& athlete : Model().AthleteList) {
    if (athlete.Bib != number && !ContainsGbk(athlete.Name, text)) continue;
    const ClassNode* class_node = FindClassNode(athlete.ClassId, athlete.GradeId);
    if (!class_node) {
      ShowDataErrorCode(21375);
      break;
    }
    rows += "<tr align=\"center\"><td>" + Num(++n) + "</td><td>" + EscapeHtml(athlete.BibText) + "</td><td>" +
            EscapeHtml(athlete.Name) + "</td><td>" + EscapeHtml(class_node->ClassName) +
            "</td><td><input name=\"viewst\" type=\"button\" onClick=\"ViewST(" + Num(athlete.Id) +
            ");\" value=\"查看该运动员的比赛详情\"></td></tr>\r\n";
  }
  const std::string body =
      n == 0 ? "<table border=\"1px\" width=\"99%\">\r\n<tr><td>当前检索结果：无<br /><br /><br /><br /><br /></td></tr>"
               "</table>"
             : "<table border=\"1px\" width=\"99%\">\r\n\t\t <tr align=\"center\"><td>序号</td><td>运动员号码</td>"
               "<td>运动员姓名</td><td>班级</td><td>操作</td></tr>\r\n" +
                   rows + "</table>";
  AppendHtmlPage(ctx.session, body, ctx.reply);
}

// Route 71: the athlete's individual finals, each with a box to tick for
// its certificate (only placed results may be ticked).
void AthleteMatchListRoute(RouteContext& ctx) {
  AssertDataLockHeld();
  AthleteContext who;
  const int athlete_id = GetFormInt(ctx.request.Path, "str=", kIdTextBytes);
  if (FindAthleteAndClass(athlete_id, who) != 0) {
    AppendHtmlPage(ctx.session, "检索不到数据；", ctx.reply);
    return;
  }
  std::string body = EscapeHtml(who.Class->ClassName) + EscapeHtml(who.Athlete->Name) +
                     "的比赛列表：<br />\r\n<table width=\"99%\" border=\"1\"><tr align=\"center\"><td>选择</td>"
                     "<td>序号</td><td>比赛名称</td><td>成绩</td><td>名次</td><td>比赛完成时间</td></tr>";
  int n = 0;
  for (const LaneNode& lane : Model().LaneList) {
    if (lane.AthleteId != athlete_id) continue;
    RoundContext round;
    if (ResolveRoundContext(lane.RoundId, round) != 0) continue;
    if (round.Event->TuanTiType != 1 || round.Round->Kind <= kPrelim) continue;
    ++n;
    const std::string stamp = FormatCompletionTime(round.Round->CompletionStamp);
    if (lane.Place > 0) {
      body += CheckBox(n, lane, "checked") + EventColumn(round) + "</td><td>" + ResultText(lane, *round.Event) +
              EscapeHtml(round.Event->Unit) + "</td><td>第" + Num(lane.Place) + "名</td><td>" + stamp +
              "</td></tr>\r\n";
    } else if (round.Round->CompletionStamp > 0) {
      body += CheckBox(n, lane, "disabled") + EventColumn(round) + "</td><td>" + ResultText(lane, *round.Event) +
              "</td><td>未获</td><td>" + stamp + "</td></tr>\r\n";
    } else {
      body += CheckBox(n, lane, "disabled") + EventColumn(round) +
              "</td><td></td><td></td><td>比赛还未进行</td></tr>\r\n";
    }
  }
  AppendHtmlPage(ctx.session, body + ListClosing(n), ctx.reply);
}

// Route 72: the placed results of a class in finals, a team once.
void ClassAwardListRoute(RouteContext& ctx) {
  AssertDataLockHeld();
  std::string value;
  GetFormField(ctx.request.Path, "str=", kIdTextBytes, value);
  int ids[2] = {};
  const ClassNode* class_node = ReadDashNumbers(value, ids) == 2 ? FindClassNode(ids[1], ids[0]) : nullptr;
  if (!class_node) {
    AppendHtmlPage(ctx.session, "提交的数据有误；", ctx.reply);
    return;
  }
  std::string body = EscapeHtml(class_node->ClassName) +
                     "获奖列表：<br />\r\n<table width=\"99%\" border=\"1\"><tr align=\"center\"><td>选择</td>"
                     "<td>序号</td><td>姓名</td><td>比赛名称</td><td>成绩</td><td>名次</td><td>比赛完成时间</td></tr>";
  int n = 0;
  const LaneNode* taken = nullptr;
  for (const LaneNode& lane : Model().LaneList) {
    if (lane.ClassId != class_node->ClassId || lane.Place <= 0) continue;
    const bool same_unit =
        taken && taken->RoundId == lane.RoundId && taken->Heat == lane.Heat && taken->Lane == lane.Lane;
    taken = &lane;
    if (same_unit) continue;
    RoundContext round;
    if (ResolveRoundContext(lane.RoundId, round) != 0 || round.Round->Kind <= kPrelim) continue;
    const AthleteNode* athlete = FindAthleteById(lane.AthleteId);
    if (!athlete) continue;
    ++n;
    body += CheckBox(n, lane, "checked") + EscapeHtml(athlete->Name) + "</td><td>" + EventColumn(round) +
            "</td><td>" + ResultText(lane, *round.Event) + EscapeHtml(round.Event->Unit) + "</td><td>第" +
            Num(lane.Place) + "名</td><td>" + FormatCompletionTime(round.Round->CompletionStamp) + "</td></tr>\r\n";
  }
  AppendHtmlPage(ctx.session, body + ListClosing(n), ctx.reply);
}

// Route 73: the certificates of the ticked results in the print frame; a
// missing result or round ends the list, and what was built before it
// prints.
void PrintOneRoute(RouteContext& ctx) {
  AssertDataLockHeld();
  const std::string& path = ctx.request.Path;
  const std::size_t equals = path.find('=');
  if (equals == std::string::npos) return;
  std::string certificates;
  int first_done = 0;
  const std::vector<LaneNode>& lanes = Model().LaneList;
  for (int id : ReadLaneRowIds(std::string_view(path).substr(equals + 1))) {
    auto lane = std::find_if(lanes.begin(), lanes.end(), [&](const LaneNode& l) { return l.Id == id; });
    RoundContext round;
    if (lane == lanes.end() || ResolveRoundContext(lane->RoundId, round) != 0) break;
    BuildCertificateText(first_done, *round.Event, certificates, *lane, *round.Group);
  }
  certificates += "<script type=\"text/javascript\">\r\n    parent.printhtml(0);\r\n</script>\r\n";
  AppendHtmlPage(ctx.session, BuildPrintFrame(ctx.session, certificates), ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/FindStudent.html", .roles = kStaff, .code = 70, .handler = AthleteSearchRoute,
     .empty = EmptyReply::kEmptyBody},
    {.path = "/ViewOneST.html", .roles = kStaff, .code = 71, .handler = AthleteMatchListRoute,
     .empty = EmptyReply::kEmptyBody},
    {.path = "/ViewOneCS.html", .roles = kStaff, .code = 72, .handler = ClassAwardListRoute,
     .empty = EmptyReply::kEmptyBody},
    {.path = "/PrintOne.html", .roles = kStaff, .code = 73, .handler = PrintOneRoute, .access = Access::kWrite,
     .empty = EmptyReply::kEmptyBody},
};

}  // namespace

std::vector<int> ReadLaneRowIds(std::string_view text) {
  std::vector<int> ids;
  int id = 0;
  std::size_t digits = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      // Nine digits always fit an int; a longer id is no row of ours.
      if (++digits > kMaxLaneIdDigits) break;
      id = id * 10 + (c - '0');
    } else if (c == '-' && digits > 0) {
      ids.push_back(id);
      id = 0;
      digits = 0;
    } else {
      break;
    }
  }
  return ids;
}

RouteTable SingleItemPrintRoutes() { return kRows; }

}  // namespace korva
