#include "pages/meet/entry_listings.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/lookups.h"
#include "database/model.h"
#include "pages/common/setup_result_page.h"
#include "pages/meet/class_frame.h"
#include "pages/meet/entry_forms.h"
#include "web/escape.h"
#include "web/response.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr const char* kRedFont = "<font color=\"#FF0000\">";

// A class teacher sees his own grade only; staff see every grade.
bool SeesGrade(const LoginNode& session, int grade_id) {
  return session.Role != kRoleClassTeacher || session.GradeId == grade_id;
}

// The content in the frame of the session's role, header first.
void AppendListingPage(const LoginNode& session, std::string_view content, std::string& reply) {
  if (session.Role == kRoleClassTeacher) {
    AppendHtmlPage(session, BuildClassFramePage(session, content), reply);
  } else {
    AppendHtmlPage(session, BuildFramedPage(StaffFrameOf(session.Role), session, kAdminPageTitle, "", content), reply);
  }
}

std::string JoinEscaped(const std::vector<std::string>& names, std::string_view separator) {
  std::string joined;
  for (const std::string& name : names) {
    if (!joined.empty()) joined += separator;
    joined += EscapeHtml(name);
  }
  return joined;
}

void Strike(std::vector<std::string>& open, const std::string& name) { std::erase(open, name); }

// What the listing by class gathers for one class: its team events still
// without an entrant (boys' teams, girls' teams, mixed teams) and the lines
// of its groups.
struct ClassListing {
  std::vector<std::string> open_teams[2];
  std::vector<std::string> open_mixed;
  std::string lines;
  bool any_group = false;
};

// The group line and athlete lines of one group of the class. 0; 1 on a
// data error.
int ListGroupOfClass(const ClassNode& cls, const GroupNode& group, bool takes_mixed, ClassListing& out) {
  const GroupEventNode* node = FindGroupEvents(group.Id);
  if (node == nullptr) {
    ShowDataErrorCode(19550);
    return 1;
  }
  const std::string sex_prefix = group.Sex == 1 ? "男子" : "女子";
  std::vector<std::string>& open_teams = out.open_teams[group.Sex == 1 ? 0 : 1];
  for (int event_id : node->EventIds) {
    const EventNode* event = FindEventById(event_id);
    if (event == nullptr) {
      ShowDataErrorCode(18550);
      return 1;
    }
    if (event->TuanTiType == 2) open_teams.push_back(sex_prefix + event->Name);
    if (event->TuanTiType == 3 && takes_mixed) out.open_mixed.push_back(event->Name);
  }

  int athletes = 0;
  std::string athlete_lines;
  for (const AthleteNode& athlete : Model().AthleteList) {
    if (athlete.ClassId != cls.ClassId || athlete.Sex != group.Sex) continue;
    ++athletes;
    athlete_lines += "&nbsp;&nbsp;&nbsp;&nbsp;" + EscapeHtml(athlete.Name);
    if (athlete.Name.size() == 2) athlete_lines += "&nbsp;&nbsp;";
    athlete_lines += ":";
    int single = 0;
    int combined = 0;
    std::vector<std::string> entered;
    for (int contest_id : athlete.ContestIds) {
      const ContestNode* contest = FindContestById(contest_id);
      if (contest == nullptr) return 1;
      const EventNode* event = FindEventById(contest->EventId);
      if (event == nullptr) return 1;
      entered.push_back(event->Name);
      switch (EntryKindOf(*event)) {
        case EntryKind::kCombined: ++combined; break;
        case EntryKind::kIndividual: ++single; break;
        case EntryKind::kTeam: Strike(open_teams, sex_prefix + event->Name); break;
        case EntryKind::kMixedTeam: Strike(out.open_mixed, event->Name); break;
      }
    }
    athlete_lines += JoinEscaped(entered, "、");
    if ((combined == 0 && single < group.EventsPerAthlete) ||
        (combined > 0 && single + combined < group.CombinedLimit)) {
      athlete_lines += "<font color=\"#FF0000\">(未报满)</font>";
    }
    athlete_lines += "<br />\r\n";
  }

  const bool short_of_places = athletes < group.AthletesPerClass;
  out.lines += std::string("<strong>[") + (group.Sex == 1 ? "男" : "女") + "子组]</strong>" +
               (short_of_places ? kRedFont : "") + "可报" + std::to_string(group.AthletesPerClass) + "人,已报" +
               std::to_string(athletes) + "人。" + (short_of_places ? "</font>" : "") + "<br />\r\n" +
               athlete_lines;
  out.any_group = true;
  return 0;
}

// Places of a contest: per class the entrants of an individual event, else
// the team's size, times the classes of the grade.
int PlacesOfContest(const GroupNode& group, const EventNode& event) {
  const auto& classes = Model().ClassList;
  const int class_count = static_cast<int>(
      std::count_if(classes.begin(), classes.end(), [&](const ClassNode& c) { return c.GradeId == group.GradeId; }));
  return (event.TuanTiType == 1 ? group.EntrantsPerEvent : event.TuanTiRenShu) * class_count;
}

bool HoldsEntry(const AthleteNode& athlete, int contest_id) {
  return contest_id != 0 &&
         std::find(athlete.ContestIds.begin(), athlete.ContestIds.end(), contest_id) != athlete.ContestIds.end();
}

// The heading and entrant lines of one contest (with its mixed-team
// partner, when there is one).
std::string ListContest(int number, const ContestNode& contest, const GroupNode& group, const EventNode& event,
                        int partner_id) {
  int entrants = 0;
  std::string names;
  for (const AthleteNode& athlete : Model().AthleteList) {
    if (athlete.GradeId != group.GradeId) continue;
    if (!HoldsEntry(athlete, contest.Id) && !HoldsEntry(athlete, partner_id)) continue;
    const ClassNode* cls = FindClassNode(athlete.ClassId, athlete.GradeId);
    names += (cls ? EscapeHtml(cls->ClassName) : "") + "&nbsp;" + EscapeHtml(athlete.Name) +
             (athlete.Name.size() == 4 ? "&nbsp;&nbsp;" : "") + "&nbsp;&nbsp;&nbsp;&nbsp;";
    if (++entrants % 6 == 0) names += "<br />\r\n";
  }
  const int places = PlacesOfContest(group, event);
  const bool off = entrants != places;
  const char* sex = event.TuanTiType == 3 ? "" : group.Sex == 1 ? "男子" : "女子";
  const char* kind = event.TuanTiType == 3 ? "[混团]" : event.TuanTiType == 2 ? "[团队]" : "";
  return std::to_string(number) + "、" + EscapeHtml(group.GradeName) + sex + EscapeHtml(event.Name) + kind + "(" +
         (off ? kRedFont : "") + "可报" + std::to_string(places) + "人,已报" + std::to_string(entrants) + "人" +
         (off ? "</font>" : "") + ")<br />\r\n" + names + "<br /><br />\r\n";
}

}  // namespace

int ServeEntryListByClass(std::string& reply, const LoginNode& session) {
  AssertDataLockHeld();
  std::string content =
      "<tr><td>\r\n<div class=\"TabDivHui\">按班级顺序查看</div>\r\n\t\t<div class=\"TabDivBai\">"
      "<a href=\"/ShowBaoMing2.html\">按比赛顺序查看</a></div><br /><br />\r\n";
  for (const ClassNode& cls : Model().ClassList) {
    if (!SeesGrade(session, cls.GradeId)) continue;
    const GroupNode* boys = FindGroupByGradeAndSex(cls.GradeId, 1);
    const GroupNode* girls = FindGroupByGradeAndSex(cls.GradeId, 2);
    ClassListing listing;
    if (boys != nullptr && ListGroupOfClass(cls, *boys, true, listing) != 0) return 1;
    if (girls != nullptr && ListGroupOfClass(cls, *girls, boys == nullptr, listing) != 0) return 1;
    if (!listing.any_group) continue;
    std::vector<std::string> open = listing.open_teams[0];
    open.insert(open.end(), listing.open_teams[1].begin(), listing.open_teams[1].end());
    open.insert(open.end(), listing.open_mixed.begin(), listing.open_mixed.end());
    std::string warning;
    if (!open.empty()) {
      warning = "<br /><font color=\"#FF0000\">“" + JoinEscaped(open, "、") + "”无人报名，团队赛至少需要报1人！</font>";
    }
    content += "<img src=\"cs.jpg\" /><strong><font size=\"+2\">" + EscapeHtml(cls.ClassName) +
               "：</font></strong>领队：" + EscapeHtml(cls.LeaderName) + "&nbsp;&nbsp;&nbsp;&nbsp;教练：" +
               EscapeHtml(cls.CoachName) + warning + "<br />\r\n" + listing.lines;
  }
  content += "</td></tr>";
  AppendListingPage(session, content, reply);
  return 0;
}

int ServeEntryListByEvent(std::string& reply, const LoginNode& session) {
  AssertDataLockHeld();
  std::string content =
      "<tr><td><div class=\"TabDivBai\"><a href=\"/ShowBaoMing.html\">[按班级顺序查看]</a></div>\t\t "
      "<div class=\"TabDivHui\">按比赛顺序查看</div><br /><br />\r\n";
  int number = 0;
  for (const ContestNode& contest : Model().ContestList) {
    const GroupNode* group = FindGroupById(contest.GroupId);
    const EventNode* event = FindEventById(contest.EventId);
    if (group == nullptr || event == nullptr) return 1;
    if (!SeesGrade(session, group->GradeId)) continue;
    int partner_id = 0;
    if (event->TuanTiType == 3) {
      if (const ContestNode* partner = FindOppositeSexContest(group->Id, event->Id)) {
        if (group->Sex == 1) continue;  // the pair is listed under the girls' contest
        partner_id = partner->Id;
      }
    }
    content += ListContest(++number, contest, *group, *event, partner_id);
  }
  content += "</td></tr>";
  AppendListingPage(session, content, reply);
  return 0;
}

namespace {

// A listing that cannot be made gets the administration result page: no
// meet yet, no events chosen yet, or inconsistent data (result 1).
void ServeListingRefusal(RouteContext& ctx, int result) {
  ctx.reply.clear();
  if (ctx.route == 48 && Model().CurrentMeetId == 0) {
    ServeAdminResultPage(7, "您还没有建立运动会，请先新建一个运动会！", ctx.session, ctx.reply);
  } else {
    ServeAdminResultPage(6, result == 1 ? "数据有错误，建议管理员重新建立运动会！" : "您还没有设置各竞赛组的比赛！",
                         ctx.session, ctx.reply);
  }
}

// "/ShowBaoMing.html" (48) and "/ShowBaoMing2.html" (49), for every
// signed-in role. Before any group has its events there is nothing to list.
void EntryListingRoute(RouteContext& ctx) {
  if (NoGroupEvents()) {
    ServeListingRefusal(ctx, 2);
    return;
  }
  const int result = ctx.route == 48 ? ServeEntryListByClass(ctx.reply, ctx.session)
                                     : ServeEntryListByEvent(ctx.reply, ctx.session);
  if (result != 0) ServeListingRefusal(ctx, result);
}

constexpr RouteRow kRows[] = {
    {.path = "/ShowBaoMing.html", .roles = kLoggedIn, .code = 48, .handler = EntryListingRoute},
    {.path = "/ShowBaoMing2.html", .roles = kLoggedIn, .code = 49, .handler = EntryListingRoute},
};

}  // namespace

RouteTable EntryListingRoutes() { return kRows; }

}  // namespace korva
