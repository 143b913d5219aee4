#include "pages/meet/class_results.h"

#include "database/data_lock.h"
#include "database/lookups.h"
#include "database/model.h"
#include "engine/round_lookups.h"
#include "engine/score_text.h"
#include "pages/meet/class_frame.h"
#include "pages/meet/completion_time.h"
#include "pages/meet/round_context.h"
#include "web/escape.h"
#include "web/response.h"

namespace korva {

namespace {

// "5-3 9:05" from the completion stamp MMDDhhmm; 0 is a round not yet run.
std::string FinishTimeText(int stamp) {
  return stamp == 0 ? "还没有比赛！" : FormatCompletionTime(stamp);
}

// A preliminary tells whether the athlete went through; other rounds give
// the place.
std::string PlaceText(const LaneNode& lane, const RoundNode& round) {
  if (round.Kind == kPrelim) {
    if (lane.Result == kNoResult) return "";
    return IsAthleteInFinal(round.Id, lane.AthleteId) ? "进决赛" : "未进决赛";
  }
  return lane.Place != 0 ? "第" + std::to_string(lane.Place) + "名" : "";
}

}  // namespace

void ServeClassResultsPage(std::string& reply, const LoginNode& session) {
  AssertDataLockHeld();
  const ClassNode* cls = FindClassNode(session.ClassId, session.GradeId);
  if (cls == nullptr) {
    AppendHtmlPage(session, "提交的数据有误；", reply);
    return;
  }
  std::string rows;
  int row_number = 0;
  PointsValue total = 0;
  const LaneNode* previous = nullptr;
  for (const LaneNode& lane : Model().LaneList) {
    if (lane.ClassId != cls->ClassId) continue;
    // The members of a class team share one lane: one row, under the first.
    const bool same_lane = previous != nullptr && previous->RoundId == lane.RoundId &&
                           previous->Heat == lane.Heat && previous->Lane == lane.Lane;
    previous = &lane;
    if (same_lane) continue;
    RoundContext context;
    if (ResolveRoundContext(lane.RoundId, context) != 0) continue;
    const AthleteNode* athlete = FindAthleteById(lane.AthleteId);
    if (athlete == nullptr) continue;
    std::string result = FormatScoreText(lane.Result, context.Event->Unit);
    if (!result.empty()) result += context.Event->Unit;
    std::string points;
    if (lane.Points != 0) {
      points = FormatPoints(lane.Points);
      total += lane.Points;
    }
    rows += "<tr align=\"center\"><td>" + std::to_string(++row_number) + "</td><td>" + EscapeHtml(athlete->Name) +
            "</td><td>" + EscapeHtml(context.Group->GradeName) + " " + (context.Group->Sex == 1 ? "男子" : "女子") +
            " " + EscapeHtml(context.Event->Name) + " " + (context.Round->Kind == kPrelim ? "预赛" : "决赛") +
            "</td><td>" + EscapeHtml(result) + "</td><td>" + PlaceText(lane, *context.Round) + "</td><td>" + points +
            "</td><td>" + FinishTimeText(context.Round->CompletionStamp) + "</td></tr>\r\n";
  }
  const std::string content =
      "<h3 align=\"center\">比赛成绩列表</h3>\r\n\t\t <div><div style=\"float:left\">当前班级总得分：" +
      FormatPoints(total) +
      "</div><div style=\"float:right\">[本网页会自动刷新<span id=\"miao\"></span>]</div></div>\t\t <script "
      "language=\"JavaScript\" type=\"text/javascript\">suaxin();</script>"
      "<table width=\"99%\" border=\"1\"><tr align=\"center\"><td>序号</td><td>姓名</td><td>比赛名称</td>"
      "<td>成绩</td><td>名次或进决</td><td>得分</td><td>比赛完成时间</td></tr>" +
      rows;
  AppendHtmlPage(session, BuildClassFramePage(session, content), reply);
}

namespace {

// "/SeeClassCJ.html": the class teacher's results.
void ClassResultsRoute(RouteContext& ctx) { ServeClassResultsPage(ctx.reply, ctx.session); }

constexpr RouteRow kRows[] = {
    {.path = "/SeeClassCJ.html", .roles = kTeacher, .code = 22, .handler = ClassResultsRoute},
};

}  // namespace

RouteTable ClassResultsRoutes() { return kRows; }

}  // namespace korva
