#include "pages/setup/group_events.h"

#include <algorithm>
#include <cstdlib>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/lookups.h"
#include "database/store_groups.h"
#include "pages/setup/setup_steps.h"
#include "web/escape.h"
#include "web/form_field.h"
#include "web/response.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr std::size_t kMaxSectionBytes = 500;
constexpr std::size_t kFieldMax = 100;
// "bsidz" followed by a group position of at most two digits, then "=".
constexpr std::size_t kMaxBoxNameBytes = 7;
constexpr int kErrNoGroupPosted = 124623;
constexpr int kMixedTeam = 3;

// The event ids of a group section: the values of its "bsidz<n>" boxes, in
// posted order. A box whose group position has three digits or more ends
// the scan.
std::vector<int> SectionEventIds(std::string_view section) {
  std::vector<int> ids;
  std::size_t pos = 0;
  while (ids.size() < static_cast<std::size_t>(kMaxGroupEvents)) {
    std::size_t box = section.find("bsidz", pos);
    if (box == std::string_view::npos) break;
    std::size_t equals = section.find('=', box);
    if (equals == std::string_view::npos || equals - box > kMaxBoxNameBytes) break;
    std::size_t digits = equals + 1;
    int id = 0;
    while (digits < section.size() && section[digits] >= '0' && section[digits] <= '9' && id < 100000000)
      id = id * 10 + (section[digits++] - '0');
    ids.push_back(id);
    pos = equals + 1;
  }
  return ids;
}

bool IsGroup(int group_id) {
  const std::vector<GroupNode>& groups = Model().GroupList;
  return std::any_of(groups.begin(), groups.end(), [&](const GroupNode& g) { return g.Id == group_id; });
}

bool Chosen(const std::vector<GroupEventNode>& selections, int group_id, int event_id) {
  for (const GroupEventNode& s : selections)
    if (s.GroupId == group_id && std::find(s.EventIds.begin(), s.EventIds.end(), event_id) != s.EventIds.end())
      return true;
  return false;
}

// Some round that is held still waits for its half-day session or order.
bool RoundsLeftToSchedule() {
  const std::vector<RoundNode>& rounds = Model().RoundList;
  return std::any_of(rounds.begin(), rounds.end(),
                     [](const RoundNode& r) { return r.Disabled == 0 && (r.Session == 0 || r.Order == 0); });
}

// The script's list of every event name, in EventList order (the order of
// each group's boxes), and the grade of each group by its position.
std::string EventNameList() {
  std::string out;
  for (const EventNode& event : Model().EventList) {
    if (!out.empty()) out += ",";
    out += '"';
    out += EscapeScript(event.Name);
    out += '"';
  }
  return out;
}

std::string GroupGradeList() {
  std::string out;
  for (const GroupNode& group : Model().GroupList) {
    if (!out.empty()) out += ",";
    out += std::to_string(group.GradeId);
  }
  return out;
}

}  // namespace

int ParseGroupEventsPost(std::string_view body, std::vector<GroupEventNode>* selections) {
  if (body.empty()) return kGroupEventsRefused;
  if (body.find("jszid=") == std::string_view::npos) {
    ShowDataErrorCode(kErrNoGroupPosted);
    return kGroupEventsRefused;
  }
  std::vector<std::string_view> sections;
  if (!SplitFormSections(body, "jszid=", "jszid=", kMaxSectionBytes, &sections)) return kGroupEventsRefused;
  for (std::string_view section : sections) {
    GroupEventNode selection;
    selection.GroupId = GetFormInt(section, "jszid=", kFieldMax);
    if (selection.GroupId == 0) return kGroupEventsRefused;
    selection.EventIds = SectionEventIds(section);
    // A group or an event of a group posted twice would get two contests
    // for one event, or lose the events of its first section.
    std::vector<int> ids = selection.EventIds;
    std::sort(ids.begin(), ids.end());
    if (std::adjacent_find(ids.begin(), ids.end()) != ids.end()) return kGroupEventsRefused;
    for (const GroupEventNode& earlier : *selections)
      if (earlier.GroupId == selection.GroupId) return kGroupEventsRefused;
    selections->push_back(std::move(selection));
  }
  return kGroupEventsSaved;
}

int CheckGroupEventSelections(const std::vector<GroupEventNode>& selections) {
  AssertDataLockHeld();
  if (Model().EventList.empty()) return kGroupEventsRefused;
  for (const GroupEventNode& selection : selections) {
    // A group that is not (or no longer) in the meet is a stale or forged
    // form, not a database error.
    if (!IsGroup(selection.GroupId)) return kGroupEventsRefused;
    for (int event_id : selection.EventIds) {
      const EventNode* event = FindEventById(event_id);
      if (!event) return kGroupEventsRefused;
      if (event->TuanTiType != kMixedTeam) continue;
      // A mixed team is one team of the grade's boys and girls: both
      // groups hold it, or neither.
      const GroupNode* other = FindOppositeSexGroup(selection.GroupId);
      if (other && !Chosen(selections, other->Id, event_id)) return kGroupEventsRefused;
    }
  }
  return kGroupEventsSaved;
}

int HandleGroupEventsPost(std::string_view body, std::string* report) {
  AssertDataLockHeld(true);
  std::vector<GroupEventNode> selections;
  if (ParseGroupEventsPost(body, &selections) != kGroupEventsSaved ||
      CheckGroupEventSelections(selections) != kGroupEventsSaved)
    return kGroupEventsRefused;
  // The first selection makes the contests and rounds and opens
  // registration; later ones add and remove events.
  int result = NoGroupEvents() ? CreateGroupContests(report, selections)
                               : ApplyGroupEventSelection(selections, report);
  if (!ReloadGroupLists()) return kGroupEventsFailed;
  if (result == kGroupEventsSaved && !RoundsLeftToSchedule()) result = kGroupEventsAllScheduled;
  return result;
}

std::string BuildGroupEventsForm() {
  const MeetModel& model = Model();
  std::string out;
  const auto& groups = model.GroupList;
  for (std::size_t at = 0; at < groups.size(); ++at) {
    const GroupNode& group = groups[at];
    std::string i = std::to_string(at + 1);
    // The mixed-team boxes reach the other sex of the same grade, which
    // stands next to this group in GroupList.
    int towards_other_sex = 0;
    if (at + 1 < groups.size() && groups[at + 1].GradeId == group.GradeId) towards_other_sex = 1;
    if (at > 0 && groups[at - 1].GradeId == group.GradeId) towards_other_sex = -1;
    const GroupEventNode* chosen = FindGroupEvents(group.Id);

    std::string names, boxes;
    int box = 0;
    for (const EventNode& event : model.EventList) {
      ++box;
      const bool ticked = chosen && std::ranges::find(chosen->EventIds, event.Id) != chosen->EventIds.end();
      std::string name = EscapeHtml(event.Name);
      if (ticked) names += name + ";";
      std::string onclick =
          event.TuanTiType == 3
              ? "setupHunTuanbs(" + i + "," + std::to_string(box) + "," +
                    std::to_string(towards_other_sex) + ")"
              : "setupbs(" + i + "," + std::to_string(group.Sex) + ")";
      boxes += "<label><input type=\"checkbox\" name=\"bsidz" + i + "\" value=\"" +
               std::to_string(event.Id) + "\"" + (ticked ? " checked=\"checked\"" : "") +
               " class=\"" + (event.TuanTiType == 3 ? "setupHunTuanbs" : "setupbs") +
               "\" onclick=\"" + onclick + "\" />" + name + "</label>\r\n";
    }
    out += group.Sex == 2 ? "<table name=\"girljsz\" id=\"girljsz\" width=\"99%\">\r\n"
                          : "<table width=\"99%\">\r\n";
    // One group's boxes are in view at a time: the first group's, then
    // those of the group whose list was last chosen.
    out += "<tr><td width=\"120\">" + EscapeHtml(GroupLabel(group.GradeName, group.Sex)) +
           "<input type=\"hidden\" name=\"jszid\" value=\"" + std::to_string(group.Id) +
           "\" /></td><td><input type=\"text\" name=\"BsLb\" id=\"BsLb" + i +
           "\" readonly=\"readonly\" size=\"90\" value=\"" + names + "\" onfocus=\"HideMatchSelect(" + i +
           ")\" /></td></tr>\r\n";
    out += "<tr><td colspan=\"2\"><table name=\"allbslb\" id=\"allbslb" + i + "\" width=\"100%\"" +
           (at == 0 ? "" : " style=\"display:none\"") + "><tr><td>\r\n" + boxes +
           "</td></tr></table></td></tr>\r\n</table>\r\n";
  }
  return out;
}

void ServeGroupEventsPage(const LoginNode& session, std::string& reply) {
  AssertDataLockHeld();
  if (ServeNoMeetPage(session, reply)) return;
  std::string script;
  LoadHtmlTemplate(Template::kGroupEventsScript, script);
  ReplacePlaceholder(script, "比赛列表", EventNameList());
  ReplacePlaceholder(script, "竞赛组年级", GroupGradeList());
  std::string content;
  LoadHtmlTemplate(Template::kGroupEventsForm, content);
  ReplacePlaceholder(content, "竞赛组列表", BuildGroupEventsForm());
  AppendHtmlPage(session, BuildFramedPage(Template::kAdminFrame, session, kAdminPageTitle, script, content), reply);
}

namespace {

void GroupEventsPageRoute(RouteContext& ctx) { ServeGroupEventsPage(ctx.session, ctx.reply); }

// Answered with the result page: 40 saved with rounds to schedule, 44
// saved with nothing to schedule, 41 refused, 42 saved but the listed
// events kept, 43 database error.
void GroupEventsPostRoute(RouteContext& ctx) {
  std::string report;
  ctx.result = HandleGroupEventsPost(ctx.request.Body, &report);
  ctx.message = ReportHtml(report);
}

constexpr RouteRow kRows[] = {
    {.path = "/SetupGradeMatch.html", .roles = kAdmin, .code = 35, .handler = GroupEventsPageRoute,
     .empty = EmptyReply::kAdminResult},
    {.path = "/ChangGrdeMatch.html", .method = Method::kPost, .roles = kAdmin, .code = 145,
     .handler = GroupEventsPostRoute, .access = Access::kWrite, .empty = EmptyReply::kAdminResult,
     .answer = Answer::kResultPage, .base = 40},
};

}  // namespace

RouteTable GroupEventsRoutes() { return kRows; }

}  // namespace korva
