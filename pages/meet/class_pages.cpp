#include "pages/meet/class_pages.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "database/model.h"
#include "database/store_athletes.h"
#include "database/store_classes.h"
#include "pages/meet/class_frame.h"
#include "pages/meet/entry_forms.h"
#include "web/escape.h"
#include "web/form_field.h"
#include "web/response.h"
#include "web/templates.h"

namespace korva {

namespace {

constexpr const char* kClassDataErrorText =
    "数据错误，原因是因为1.4版本之前因为没有处理好浏览器两次提交的问题，导致班级数据出错，"
    "请升级软件到最新版，然后使用管理员登陆，将所有班级都删除，每个年级只剩一个班级，再增加班级即可回复正常。";

constexpr const char* kEnrollNote =
    "<p>说明：<br />\r\n"
    "1、“单项限报”是指每个运动员单项比赛最多可报几项，“每项限报”是指同一个竞赛组内（比如某班男子组）"
    "每个单项比赛最多几人可以报名参加该比赛。“每组限报”是指每一个竞赛组（一个班级分为男女两个竞赛组）"
    "最多几人参赛。<br />\r\n"
    "2、团队赛请至少报一人，具体参赛人数请按比赛的规则。<br />\r\n"
    "3、有删除线且带有“满”字的比赛项目表示该比赛已达每项限报，不能再有运动员报该项目。<br />\r\n"
    "4、当该运动员勾选的单项比赛达到“每人限报”限制时，其他单项比赛会变灰且有删除线而不可用，"
    "如想修改，先请取消若干已选的单项比赛，再换报其他单项。<br />\r\n"
    "5、比赛项目后面显示的是该项比赛当前竞赛组也报该项的运动员和其他班级报名该项比赛的人数。</p>\r\n";

// One side of the home page: the boys' or the girls' group of the class.
struct GroupSide {
  int sex = 1;
  const GroupNode* group = nullptr;
  std::string limits_text;
  std::string events;             // "<li>" items of the group's events
  std::vector<int> teams_open;    // team events without an entrant of the class
  std::string rows;
  int athletes = 0;
};

std::string LimitsText(const GroupNode& group) {
  std::string text = "限报" + std::to_string(group.AthletesPerClass) + "人，每人限报" +
                     std::to_string(group.EventsPerAthlete) + "项，每项限报" +
                     std::to_string(group.EntrantsPerEvent) + "人";
  if (GroupHasCombinedEvent(group.Id)) return text + "，全能限报" + std::to_string(group.CombinedLimit) + "人";
  return text + "。";
}

void Strike(std::vector<int>& open, int event_id) {
  open.erase(std::remove(open.begin(), open.end(), event_id), open.end());
}

// The group's events list, its teams and (from the boys' group, or from the
// girls' when the grade has no boys' group) the class's mixed teams.
void CollectGroupEvents(GroupSide& side, bool takes_mixed, std::vector<int>& mixed_open) {
  const std::vector<int>* event_ids = FindGroupEventIds(side.group->Id);
  if (event_ids == nullptr) return;
  for (int event_id : *event_ids) {
    const EventNode* event = FindEventById(event_id);
    if (event == nullptr) {
      ShowDataErrorCode(side.sex == 1 ? 11550 : 8550);
      continue;
    }
    EntryKind kind = EntryKindOf(*event);
    side.events += "<li><img src=\"image1.jpg\" alt=\"\" />" + EscapeHtml(event->Name);
    if (kind == EntryKind::kTeam) {
      side.events += "[团体]";
      side.teams_open.push_back(event->Id);
    } else if (kind == EntryKind::kMixedTeam) {
      side.events += "[男女混团]";
      if (takes_mixed) mixed_open.push_back(event->Id);
    }
    side.events += "</li>\r\n";
  }
}

// One row per athlete of the class and sex, numbered from 1.
void CollectAthleteRows(GroupSide& side, int class_id, bool open, std::vector<int>& mixed_open) {
  const GroupNode& group = *side.group;
  for (const AthleteNode& athlete : ClassAthletes(group.GradeId, class_id)) {
    if (athlete.Sex != side.sex) continue;
    ++side.athletes;
    std::string cell;
    int single = 0;
    int combined = 0;
    for (int contest_id : athlete.ContestIds) {
      const ContestNode* contest = FindContestById(contest_id);
      if (contest == nullptr) continue;
      const EventNode* event = FindEventById(contest->EventId);
      if (event == nullptr) {
        ShowDataErrorCode(side.sex == 1 ? 9550 : 7550);
        continue;
      }
      switch (EntryKindOf(*event)) {
        case EntryKind::kCombined: ++combined; break;
        case EntryKind::kIndividual: ++single; break;
        case EntryKind::kTeam: Strike(side.teams_open, event->Id); break;
        case EntryKind::kMixedTeam: Strike(mixed_open, event->Id); break;
      }
      cell += EscapeHtml(event->Name) + ";";
    }
    if ((combined == 0 && single < group.EventsPerAthlete) ||
        (combined > 0 && single + combined < group.CombinedLimit)) {
      cell += "<font color=\"#FF0000\">(未报满)</font>";
    }
    std::string label;
    if (athlete.Bib != 0) {
      label += '[';
      label += EscapeHtml(athlete.BibText);
      label += ']';
    }
    label += EscapeHtml(athlete.Name);
    std::string id = std::to_string(athlete.Id);
    if (open) {
      side.rows += std::string("<tr><td align=\"center\"><input type=\"checkbox\" name=\"") +
                   (side.sex == 1 ? "manc1" : "mmc1") + "\" value=\"" + id +
                   "\">\r\n</td>\r\n         <td align=\"center\"><a href='/" +
                   (side.sex == 1 ? "BoyEnroll" : "GirlEnroll") + ".html?id=" + id + "'>" + label +
                   "</a></td>\r\n \t\t<td>" + cell + "</td></tr>\r\n";
    } else {
      side.rows += "<tr><td align=\"center\">" + std::to_string(side.athletes) +
                   "</td>\r\n         <td align=\"center\">" + label + "</td>\r\n<td>" + cell +
                   "</td></tr>\r\n";
    }
  }
}

std::string AthleteBlock(const GroupSide& side, bool open) {
  if (side.group == nullptr) return "";
  const bool boys = side.sex == 1;
  const char* sex_name = boys ? "男" : "女";
  if (!open) {
    return std::string(boys ? "男" : "<br />女") + "子运动员：（" + side.limits_text +
           "）<br><table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"2\">"
           "<tr align=\"center\"><td width=\"40\">序号</td><td>姓名</td><td>参赛项目</td></tr>\r\n" +
           side.rows + "</table>\r\n";
  }
  return std::string("<form method=\"POST\" action=\"/DelST.html\" name=\"") +
         (boys ? "BoyForm" : "GirlForm") + "\"><input name=\"sex\" type=\"hidden\" value=\"" +
         std::to_string(side.sex) + "\">" + sex_name + "子运动员：（" + side.limits_text +
         "）<br><table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"2\">"
         "<tr align=\"center\"><td width=\"40\">选择</td><td>姓名</td><td>参赛项目</td></tr>\r\n" +
         side.rows + "</table>\r\n<input type=\"button\" name=\"" + (boys ? "addboy" : "addgirl") +
         "\" value=\"添加" + sex_name + "子运动员\" onclick=\"ck" + (boys ? "3" : "4") +
         "()\" /> <input type=\"submit\" name=\"" + (boys ? "delboy" : "delgirl") + "\" value=\"删除所选" +
         sex_name + "运动员\" onclick=\"return ck" + (boys ? "1" : "2") +
         "()\" /> <input type=\"reset\" value=\"清除选择\" /></form>\r\n";
}

std::string JoinEventNames(const std::vector<int>& event_ids) {
  std::string names;
  for (int event_id : event_ids) {
    const EventNode* event = FindEventById(event_id);
    if (event == nullptr) continue;
    if (!names.empty()) names += "、";
    names += EscapeHtml(event->Name);
  }
  return names;
}

std::string RegistrationNotices(const GroupSide sides[2], const std::vector<int>& mixed_open) {
  std::string notices;
  for (int i = 0; i < 2; ++i) {
    const GroupSide& side = sides[i];
    if (side.group == nullptr) continue;
    const char* sex_name = side.sex == 1 ? "男" : "女";
    if (side.athletes < side.group->AthletesPerClass) {
      notices += std::string(sex_name) + "子组还可报" +
                 std::to_string(side.group->AthletesPerClass - side.athletes) + "名运动员<br>\r\n";
    }
    if (!side.teams_open.empty()) {
      notices += std::string(sex_name) + "子团队赛“" + JoinEventNames(side.teams_open) +
                 "”无人报名，请至少选择一位运动员报名该比赛！实际参赛人数请按照竞赛规则。<br>\r\n";
    }
  }
  if (!mixed_open.empty()) {
    notices += "男女混和团队赛“" + JoinEventNames(mixed_open) +
               "”无人报名，请至少选择一位运动员报名该比赛！实际参赛人数请按照竞赛规则。<br>\r\n";
  }
  return notices;
}

bool HasResult(int athlete_id) {
  for (const LaneNode& lane : Model().LaneList) {
    if (lane.AthleteId == athlete_id && lane.Result != kNoResult) return true;
  }
  return false;
}

}  // namespace

bool ServeClassHomePage(const LoginNode& session, std::string& reply) {
  AssertDataLockHeld();
  std::string page;
  LoadHtmlTemplate(Template::kClassHome, page);
  FillPageHead(page, kAdminPageTitle);
  const ClassNode* class_node = FindClassNode(session.ClassId, session.GradeId);
  if (class_node == nullptr) {
    AppendHtmlPage(session, kClassDataErrorText, reply);
    return true;
  }
  ReplacePlaceholder(page, "领队", EscapeHtml(class_node->LeaderName));
  ReplacePlaceholder(page, "班级", EscapeHtml(class_node->ClassName));
  GroupSide sides[2];
  sides[0].sex = 1;
  sides[0].group = FindGroupByGradeAndSex(class_node->GradeId, 1);
  sides[1].sex = 2;
  sides[1].group = FindGroupByGradeAndSex(class_node->GradeId, 2);
  if (sides[0].group == nullptr && sides[1].group == nullptr) return false;

  const bool open = Model().RegistrationClosed == 0;
  std::vector<int> mixed_open;
  for (GroupSide& side : sides) {
    if (side.group == nullptr) continue;
    side.limits_text = LimitsText(*side.group);
    CollectGroupEvents(side, side.sex == 1 || sides[0].group == nullptr, mixed_open);
    CollectAthleteRows(side, class_node->ClassId, open, mixed_open);
  }
  ReplacePlaceholder(page, "男生每组限报",
                     std::to_string(sides[0].group ? sides[0].group->AthletesPerClass : 0));
  ReplacePlaceholder(page, "女生每组限报",
                     std::to_string(sides[1].group ? sides[1].group->AthletesPerClass : 0));

  std::string events;
  if (!sides[0].events.empty() && sides[0].events == sides[1].events) {
    events = sides[0].events;
  } else {
    events = "<li>" + std::string(sides[0].events.empty() ? "" : "[男子]") + "</li>\r\n" +
             sides[0].events + "<li>" + (sides[1].events.empty() ? "" : "[女子]") + "</li>" +
             sides[1].events + "\r\n";
  }
  ReplacePlaceholder(page, "可报项目", events);
  ReplacePlaceholder(page, "男生运动员", AthleteBlock(sides[0], open));
  ReplacePlaceholder(page, "女生运动员", AthleteBlock(sides[1], open));

  std::string notices;
  if (!open) {
    notices = Model().AthleteList.empty() ? "<br />\r\n运动员报名还未开始，请稍后再试！"
                                          : "<br />\r\n运动员报名已经截止！";
  } else {
    notices = RegistrationNotices(sides, mixed_open);
    if (notices.empty()) {
      notices = "<img src=\"ok1.jpg\" /><font color=\"#0000FF\">恭喜您，报名已全部完成！"
                "单击运动员姓名可修改该运动员的比赛。</font>";
    }
  }
  ReplacePlaceholder(page, "报名提示", notices);
  AppendHtmlPage(session, page, reply);
  return true;
}

bool ServeEnrollPage(int athlete_id, int sex, const LoginNode& session, std::string& reply) {
  AssertDataLockHeld();
  std::string page;
  LoadHtmlTemplate(Template::kEnrollForm, page);
  FillPageHead(page, kAdminPageTitle);
  const ClassNode* class_node = FindClassNode(session.ClassId, session.GradeId);
  if (class_node == nullptr) return false;
  ReplacePlaceholder(page, "班级", EscapeHtml(class_node->ClassName));
  ReplacePlaceholder(page, "性别", sex == 1 ? "男" : "女");
  const GroupNode* group = FindGroupByGradeAndSex(class_node->GradeId, sex);
  if (group == nullptr) return false;
  std::string form;
  BuildAthleteEventForm(session, form, *group, class_node->ClassId, sex, athlete_id);
  ReplacePlaceholder(page, "报名内容", form + kEnrollNote);
  AppendHtmlPage(session, page, reply);
  return true;
}

bool HandleDeleteAthletesPost(std::string_view body, const LoginNode& session, std::string& message) {
  // The caller holds the lock alone for the whole request, so no result can
  // arrive between the check and the deletion.
  AssertDataLockHeld(true);
  if (Model().RegistrationClosed != 0) {
    message = "运动员报名已经截止！";
    return false;
  }
  const int sex = GetFormInt(body, "sex=", 100);
  const char* key = sex == 1 ? "manc1=" : "mmc1=";
  std::string value;
  if ((sex != 1 && sex != 2) || GetFormField(body, key, 100, value) != 1) {
    message = "网页提交的数据有错误！";
    return false;
  }
  bool kept = false;
  std::size_t pos = 0;
  while (GetNextFormField(body, pos, key, 100, value) == 1) {
    const int athlete_id = std::atoi(value.c_str());
    const AthleteNode* athlete = FindAthleteById(athlete_id);
    if (athlete == nullptr) continue;
    if (athlete->Sex != sex || athlete->ClassId != session.ClassId) {
      message = "非法的操作";
      return false;
    }
    if (HasResult(athlete_id)) {
      message += '[';
      message += EscapeHtml(athlete->Name);
      message += "]已经有成绩，不允许删除！<br />\r\n";
      kept = true;
      continue;
    }
    if (DeleteAthlete(athlete_id) != 0) {
      // The failure is answered; a failed reload logs itself.
      static_cast<void>(LoadAthletes());
      static_cast<void>(LoadLanes());
      message += "数据库操作出现错误！";
      return false;
    }
  }
  return !kept;
}

namespace {

// "/ShowClass.html": without a group for the class's grade the class login
// page answers with message 3.
void ClassHomeRoute(RouteContext& ctx) { ctx.result = ServeClassHomePage(ctx.session, ctx.reply) ? 0 : 1; }

// "/BoyEnroll.html" and "/GirlEnroll.html", "?id=" naming the athlete to
// edit.
void EnrollRoute(RouteContext& ctx) {
  int athlete_id = GetFormInt(ctx.request.Path, "?id=", 100);
  int sex = ctx.route == 14 ? 2 : 1;
  ctx.result = ServeEnrollPage(athlete_id, sex, ctx.session, ctx.reply) ? 0 : 1;
}

// POST "/DelST.html": back to the class home page when every ticked athlete
// went, else the class error page with the reason.
void DeleteAthletesRoute(RouteContext& ctx) {
  std::string message;
  ctx.result = HandleDeleteAthletesPost(ctx.request.Body, ctx.session, message) ? 0 : 1;
  if (ctx.result != 0) ServeClassErrorPage(ctx.session, message, ctx.reply);
}

// "/AddLingDui.html?name=": the class's leader name, "ok" or "error". A name
// the field filter emptied would wipe the stored one and is refused; an
// empty box clears it.
void LeaderNameRoute(RouteContext& ctx) {
  std::string name;
  GetFormField(ctx.request.Path, "name=", 100, name);
  bool saved = !(name.empty() && HasRawFormValue(ctx.request.Path, "name=")) &&
               SetClassTeacherName(name, ctx.session.ClassId) == 0;
  if (saved) {
    if (ClassNode* node = FindClassNode(ctx.session.ClassId, ctx.session.GradeId)) node->LeaderName = name;
  }
  AppendHtmlPage(ctx.session, saved ? "ok" : "error", ctx.reply);
}

using enum Access;
using enum Answer;

constexpr RouteRow kRows[] = {
    {.path = "/ShowClass.html", .roles = kTeacher, .code = 12, .handler = ClassHomeRoute,
     .answer = kClassLoginOnFailure},
    {.path = "/BoyEnroll.html", .roles = kTeacher, .code = 13, .handler = EnrollRoute,
     .answer = kClassLoginOnFailure},
    {.path = "/GirlEnroll.html", .roles = kTeacher, .code = 14, .handler = EnrollRoute,
     .answer = kClassLoginOnFailure},
    {.path = "/DelST.html", .method = Method::kPost, .roles = kTeacher, .code = 115,
     .handler = DeleteAthletesRoute, .access = kWrite, .answer = kRedirectOnSuccess, .redirect = 2},
    {.path = "/AddLingDui.html", .roles = kTeacher, .code = 114, .handler = LeaderNameRoute, .access = kWrite,
     .empty = EmptyReply::kEmptyBody},
};

}  // namespace

RouteTable ClassPageRoutes() { return kRows; }

}  // namespace korva
