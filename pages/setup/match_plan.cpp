#include "pages/setup/match_plan.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "database/data_lock.h"
#include "database/lookups.h"
#include "database/model.h"
#include "database/store_rounds.h"
#include "engine/session_start.h"
#include "pages/common/setup_result_page.h"
#include "web/escape.h"
#include "web/form_field.h"
#include "web/response.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr const char* kFormError = "网页提交的数据有错误！";
constexpr const char* kStoreError = "数据库操作发生错误！[NO.660]";

// What the page shows of one round.
struct RoundView {
  const EventNode* event = nullptr;  // the part's own event for a combined-event part
  int venue_id = 0;
  int minutes = 0;                   // stored duration, else the estimate
  std::string label;                 // grade, sex, team, event and "[bracket]", escaped
};

int ClassesOfGrade(int grade_id) {
  return static_cast<int>(std::count_if(Model().ClassList.begin(), Model().ClassList.end(),
                                        [grade_id](const ClassNode& c) { return c.GradeId == grade_id; }));
}

// Fills view for round; false when a node it needs is missing (contest,
// group and venue misses are logged by their look-ups) or its grade has no
// class.
bool ViewRound(const RoundNode& round, RoundView& view) {
  const ContestNode* contest = FindContestById(round.ContestId);
  if (!contest) return false;
  const GroupNode* group = FindGroupById(contest->GroupId);
  if (!group) return false;
  int classes = ClassesOfGrade(group->GradeId);
  if (classes == 0) return false;
  const EventNode* event = FindEventById(round.PartEventId != 0 ? round.PartEventId : contest->EventId);
  const EventNode* combined = round.PartEventId != 0 ? FindEventById(contest->EventId) : nullptr;
  if (!event || (round.PartEventId != 0 && !combined)) return false;
  const VenueNode* venue = FindVenueById(event->ChangDi);
  if (!venue) return false;

  view.event = event;
  view.venue_id = event->ChangDi;
  view.minutes = round.Duration != 0 ? round.Duration
                                     : EstimateRoundMinutes(*venue, *group, *event, classes, round.Kind);
  const char* sex = event->TuanTiType == 3 ? "" : group->Sex == 1 ? "男子" : "女子";
  const char* team = event->TuanTiType == 3 ? "混团" : event->TuanTiType == 2 ? "团体" : "";
  std::string bracket = combined ? EscapeHtml(combined->Name) : round.Kind == kPrelim ? "预赛" : "决赛";
  view.label = EscapeHtml(group->GradeName) + sex + team + EscapeHtml(event->Name) + "[" + bracket + "]";
  return true;
}

// A round of the shown session, as the right list orders it.
struct ScheduledRoundEntry {
  int order = 0;
  int round_id = 0;
  std::string label;
  int venue_id = 0;
  long long seconds = 0;
};

// Built by appending: GCC 12's optimiser warns on "literal" + std::string.
std::string Clock(const std::tm& local) {
  std::string clock = std::to_string(local.tm_hour);
  clock += local.tm_min < 10 ? ":0" : ":";
  clock += std::to_string(local.tm_min);
  return clock;
}

std::string DayText(int session) { return "第" + std::to_string((session - 1) / 2 + 1) + "天"; }

std::string TabBar(int match_type, int day_id, int track_left, int field_left, bool show_tip) {
  auto left = [](int count) { return count == 0 ? std::string("已全部安排") : "还有" + std::to_string(count) + "项比赛待安排"; };
  std::string bar;
  if (show_tip)
    bar += "<tr><td><img src=\"tip.jpg\" />提示：所有比赛已经安排完毕，如果运动员报名已经结束，您可以至“<a "
           "href=\"/BookControl.html\">秩序册管理</a>”中关闭运动员报名，然后生成秩序册。</td></tr>\r\n";
  std::string day = std::to_string(day_id);
  if (match_type == kTrackRounds) {
    bar += "<tr><td><table width=\"99%\" border=\"0\"><tr align=\"center\"><td class=\"bstdd2\"><img "
           "src=\"shizi.gif\" align=\"absbottom\" width=\"30\" height=\"30\" />正在安排径赛(" + left(track_left) +
           ")</td>\r\n <td class=\"bstdt2\"><a href=\"MatchPlan.html?DayID=" + day + "&MatchType=2\">田赛(" +
           left(field_left) + ")</a></td></tr></table></td></tr>\r\n";
  } else {
    bar += "<tr><td><table width=\"99%\" border=\"0\"><tr align=\"center\"><td class=\"bstdt2\"><a "
           "href=\"MatchPlan.html?DayID=" + day + "&MatchType=1\">径赛(" + left(track_left) +
           ")</td>\r\n <td class=\"bstdd2\"><img src=\"shizi.gif\" align=\"absbottom\" width=\"30\" "
           "height=\"30\" />正在安排田赛(" + left(field_left) + ")</a></td></tr></table></td></tr>\r\n";
  }
  return bar;
}

std::string SessionOptions(int day_id) {
  std::string options;
  for (int n = 1; n <= Model().MeetSessionCount; ++n) {
    std::string value = std::to_string(n);
    options += "<option value=\"" + value + "\"" + (n == day_id ? " selected" : "") + ">" + DayText(n) +
               (n % 2 == 1 ? "上午AM" : "下午PM") + "</option>\r\n";
  }
  return options;
}

// The right list: track rounds one after another from the session's start;
// each field venue runs its own sequence from the start.
std::string ScheduledOptions(const std::vector<ScheduledRoundEntry>& entries, int day_id, int match_type,
                             std::string_view selection) {
  std::time_t start = SessionStartTime(day_id);
  std::string options;
  long long offset = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ScheduledRoundEntry& entry = entries[i];
    if (match_type == kFieldRounds && i > 0 && entry.venue_id != entries[i - 1].venue_id) offset = 0;
    std::time_t at = start + offset;
    offset += entry.seconds;
    std::tm local{};
    localtime_r(&at, &local);
    std::string clock = Clock(local);
    std::string id = std::to_string(entry.round_id);
    bool selected = selection.find("-" + id + "-") != std::string_view::npos;
    options += "<option title=\"" + entry.label + " " + clock + "\" value=\"" + id + "\"" +
               (selected ? " selected=\"selected\"" : "") + ">" + entry.label + " " + clock + "</option>\r\n";
  }
  return options;
}

void AppendFramed(const LoginNode& session, std::string_view content, std::string& reply) {
  AppendHtmlPage(session, BuildFramedPage(Template::kAdminFrame, session, kAdminPageTitle, kAdminScriptTag, content),
                 reply);
}

// Rounds whose stored duration is 0 get the estimate the page showed, so
// that what is stored matches what the administrator saw even when the list
// was reloaded since the page was built.
void FillEstimatedDurations(const std::vector<ScheduleEntry>& entries) {
  for (const ScheduleEntry& entry : entries) {
    RoundNode* round = FindRoundById(entry.RoundId);
    RoundView view;
    if (round && round->Duration == 0 && ViewRound(*round, view)) round->Duration = view.minutes;
  }
}

}  // namespace

int ServeMatchPlanPage(const LoginNode& session, std::string& reply, int day_id, int match_type,
                       std::string_view selection) {
  if (day_id < 1) day_id = 1;
  if (match_type != kTrackRounds && match_type != kFieldRounds) match_type = kTrackRounds;
  const MeetModel& meet = Model();
  if (meet.RoundList.empty()) {
    AppendFramed(session,
                 "<tr><td><div class=\"TabDivBai\"><a href=\"SetupMeetName.html\">①设置运动会名称及时间</a></div>"
                 "<div class=\"TabDivBai\"><a href=\"SetupMeetGrade.html\">②选择参赛年级</a></div>"
                 "<div class=\"TabDivBai\"><a href=\"SetupGradeMatch.html\">③设置各年级比赛</a></div>"
                 "<div class=\"TabDivHui\">④日程安排</div></td></tr>"
                 "<tr><td><br /><br /><h1>请先安排各年级的比赛，然后再进行日程安排！</h1></td></tr>",
                 reply);
    return 0;
  }

  int track_left = 0;
  int field_left = 0;
  std::string unscheduled;
  std::vector<ScheduledRoundEntry> entries;
  for (const RoundNode& round : meet.RoundList) {
    RoundView view;
    if (!ViewRound(round, view)) return 1;
    bool track = view.event->BiSaiType == 1;
    if (round.Session == 0) ++(track ? track_left : field_left);
    if (view.event->BiSaiType != match_type) continue;
    std::string id = std::to_string(round.Id);
    std::string minutes = std::to_string(view.minutes);
    if (round.Session == 0 || round.Order == 0) {
      unscheduled += "<option title=\"" + view.label + "(预计需要" + minutes + "分钟)\" value=\"" + id + "\">" +
                     view.label + "(" + minutes + "分钟)</option>\r\n";
    } else if (round.Session == day_id) {
      entries.push_back({round.Order, round.Id, view.label + std::to_string(round.Order), view.venue_id,
                         static_cast<long long>(view.minutes) * 60});
    }
  }
  // Stable, so rounds of equal keys keep the list's order.
  if (match_type == kTrackRounds) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.order < b.order; });
  } else {
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
      return a.venue_id != b.venue_id ? a.venue_id > b.venue_id : a.order < b.order;
    });
  }

  const char* kind = match_type == kTrackRounds ? "径赛" : "田赛";
  std::string heading;
  if (day_id <= meet.MeetSessionCount)
    heading = kind + DayText(day_id) + (day_id % 2 == 1 ? "上午" : "下午") + "已排比赛列表[已排" +
              std::to_string(entries.size()) + "项]";
  std::string hidden = "<input type=\"hidden\" name=\"Isday\" id=\"Isday\" value=\"" + std::to_string(day_id) +
                       "\"><input type=\"hidden\" name=\"IsYard\" id=\"IsYard\" value=\"" +
                       std::to_string(match_type) + "\">";

  std::string content;
  LoadHtmlTemplate(Template::kSchedule, content);
  bool show_tip = track_left == 0 && field_left == 0 && meet.LaneList.empty();
  ReplacePlaceholder(content, "田径赛", TabBar(match_type, day_id, track_left, field_left, show_tip));
  ReplacePlaceholder(content, "待安排列表", unscheduled);
  ReplacePlaceholder(content, "天数", hidden);
  ReplacePlaceholder(content, "天数", hidden);
  ReplacePlaceholder(content, "已排字符", heading);
  ReplacePlaceholder(content, "日期列表", SessionOptions(day_id));
  ReplacePlaceholder(content, "赛型", kind);
  ReplacePlaceholder(content, "已安排列表", ScheduledOptions(entries, day_id, match_type, selection));
  AppendFramed(session, content, reply);
  return 0;
}

int HandleMatchPlanPost(std::string_view body, std::string& reply) {
  int session = GetFormInt(body, "Isday=", 100);
  int kind = GetFormInt(body, "IsYard=", 100);
  int operation = GetFormInt(body, "CaoZuo=", 100);
  std::string_view key = operation == 1 ? "dablist=" : "yablist=";
  if (session == 0 || kind == 0 || operation < 1 || operation > 6 || body.find(key) == std::string_view::npos) {
    reply = kFormError;
    return 1;
  }
  std::string query = "?DayID=" + std::to_string(session) + "&MatchType=" + std::to_string(kind) + "&YapSel=";
  std::vector<ScheduleEntry> entries;
  AssertDataLockHeld(true);
  std::size_t pos = 0;
  for (int position = 0; body.find(key, pos) != std::string_view::npos; ++position) {
    std::string value;
    GetNextFormField(body, pos, key, 100, value);
    int round_id = std::atoi(value.c_str());
    if (!FindRoundById(round_id)) {
      reply = kFormError;
      return 1;
    }
    query += '-';
    query += std::to_string(round_id);
    // Moving down takes the lowest round first, so that a block of rounds
    // moves together.
    if (operation == 4) {
      entries.insert(entries.begin(), ScheduleEntry{position, round_id});
    } else {
      entries.push_back(ScheduleEntry{position, round_id});
    }
  }
  query += "-";

  std::vector<RoundNode> before;
  if (operation == 1 || operation >= 5) {
    before = Model().RoundList;
    FillEstimatedDurations(entries);
  }
  if (ArrangeRounds(entries, session, operation) != 0) {
    if (!before.empty()) std::copy(before.begin(), before.end(), Model().RoundList.begin());
    reply = kStoreError;
    return 1;
  }
  reply = query;
  return 0;
}

namespace {

// GET "/MatchPlan.html?DayID=&MatchType=&YapSel=" (route 47) and
// "/SetupMeet.html" at the scheduling stage (route 36: session 1, track).
// A meet whose lists don't hang together gets the result page, never a
// reply without its header.
void MatchPlanPageRoute(RouteContext& ctx) {
  int day_id = 0;
  int match_type = 0;
  std::string_view selection;
  const std::string& path = ctx.request.Path;
  if (ctx.route == 47) {
    day_id = GetFormInt(path, "DayID=", 100);
    match_type = GetFormInt(path, "MatchType=", 100);
    std::size_t at = path.find("YapSel=");
    if (at != std::string::npos) selection = std::string_view(path).substr(at);
  }
  if (ServeMatchPlanPage(ctx.session, ctx.reply, day_id, match_type, selection) != 0)
    ServeAdminResultPage(6, kMatchPlanDataError, ctx.session, ctx.reply);
}

// POST "/MatchPlan.html": back to the page with the query on success, the
// result page 92 with the sentence otherwise.
void MatchPlanPostRoute(RouteContext& ctx) { ctx.result = HandleMatchPlanPost(ctx.request.Body, ctx.message); }

constexpr RouteRow kRows[] = {
    {.roles = kAdmin, .code = 36, .handler = MatchPlanPageRoute, .empty = EmptyReply::kAdminResult},
    {.path = "/MatchPlan.html", .method = Method::kGet, .roles = kAdmin, .code = 47,
     .handler = MatchPlanPageRoute, .empty = EmptyReply::kAdminResult},
    {.path = "/MatchPlan.html", .method = Method::kPost, .roles = kAdmin, .code = 161,
     .handler = MatchPlanPostRoute, .access = Access::kWrite, .empty = EmptyReply::kAdminResult,
     .answer = Answer::kRedirectElseResultPage, .base = 92, .redirect = 5},
};

}  // namespace

RouteTable MatchPlanRoutes() { return kRows; }

}  // namespace korva
