#include "pages/setup/ajax_functions.h"

#include <algorithm>
#include <string>
#include <vector>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "database/store_rounds.h"
#include "engine/round_lookups.h"
#include "pages/common/number_list.h"
#include "web/escape.h"
#include "web/form_field.h"
#include "web/response.h"

namespace korva {

namespace {

constexpr std::size_t kRequestBytes = 100;  // path and query, and the Dstr value
constexpr const char* kBadRequestText = "数据发生错误，错误号：09221，请联系开发者！";
constexpr const char* kMissingText = "error";
constexpr const char* kRemoveFailedText = "数据库操作失败，错误号00922，无法删除预赛，请联系开发者！";
constexpr const char* kAddFailedText = "数据库操作失败，错误号00922，无法添加预赛，请联系开发者！";

const char* SexWord(int sex) { return sex == 1 ? "男子" : "女子"; }

// Turns a contest's preliminary into its single final in the old final's
// slot and deletes the final with its lanes. 0 / 1 (message appended).
int RemovePreliminary(ContestNode& contest, const std::string& label, std::string& message) {
  RoundNode* final = FindRoundByContestAndKind(contest.Id, kFinalAfterPrelim);
  if (!final) {
    message += "找不到" + label + "的决赛，无法删除该比赛的预赛！";
    return 1;
  }
  if (RoundHasResults(final->Id)) {
    message += label + "已有决赛成绩，无法删除预赛！";
    return 1;
  }
  RoundNode* prelim = FindRoundByContestAndKind(contest.Id, kPrelim);
  if (!prelim) {
    message += "找不到" + label + "的预赛，无法删除该比赛的预赛！";
    return 1;
  }
  if (RoundHasResults(prelim->Id)) {
    message += label + "已有预赛成绩，无法删除预赛！";
    return 1;
  }
  RoundNode single = *prelim;
  single.Kind = kDirectFinal;
  single.Session = final->Session;
  single.Order = final->Order;
  single.Places = final->Places;
  ContestNode changed = contest;
  changed.HasPrelim = 0;
  const int final_id = final->Id;

  Transaction unit(MeetConnection());
  if (!unit.ok() || SaveRound(single) != 0 || DeleteRound(final_id) != 0 || SaveContestSettings(changed) != 0 ||
      !unit.Commit()) {
    unit.Rollback();
    ReloadRoundsAndLanes();
    message += kRemoveFailedText;
    return 1;
  }
  *prelim = single;
  contest.HasPrelim = 0;
  std::erase_if(Model().RoundList, [&](const RoundNode& r) { return r.Id == final_id; });
  std::erase_if(Model().LaneList, [&](const LaneNode& l) { return l.RoundId == final_id; });
  message += label + "[预赛] 已删除;<br>\r\n";
  return 0;
}

// Turns a contest's single final into its preliminary and adds a final,
// not scheduled yet, behind it. 0 / 1 (message appended).
int AddPreliminary(ContestNode& contest, const std::string& label, std::string& message) {
  RoundNode* single = FindRoundByContestAndKind(contest.Id, kDirectFinal);
  if (!single) {
    message += label + "找不到决赛安排，无法删除预赛！";
    return 1;
  }
  RoundNode prelim = *single;
  prelim.Kind = kPrelim;
  prelim.Places = contest.Qualifiers;
  RoundNode final;
  final.ContestId = contest.Id;
  final.Kind = kFinalAfterPrelim;
  final.Places = contest.Places;
  ContestNode changed = contest;
  changed.HasPrelim = 1;

  Transaction unit(MeetConnection());
  final.Id = unit.ok() ? GetNextId("qrtb444", "qrtb445", false) : 0;
  if (final.Id == 0 || SaveRound(prelim) != 0 || InsertRound(final) != 0 || SaveContestSettings(changed) != 0 ||
      !unit.Commit()) {
    unit.Rollback();
    ReloadRoundsAndLanes();
    message += kAddFailedText;
    return 1;
  }
  const int prelim_id = prelim.Id;
  contest.HasPrelim = 1;
  auto& rounds = Model().RoundList;
  auto at = std::find_if(rounds.begin(), rounds.end(), [&](const RoundNode& r) { return r.Id == prelim_id; });
  *at = prelim;
  rounds.insert(at + 1, final);
  message += label + "[预赛] 已添加，请转至“日程安排”安排比赛;<br>\r\n";
  return 0;
}

// Functions 11 to 14: one step of a preliminary's qualifiers or a final's
// places, copied into the round. The reply "element-value".
std::string StepRoundCount(int function, int contest_id, int element) {
  ContestNode* contest = FindContestById(contest_id);
  if (!contest) return kMissingText;
  const bool qualifiers = function == 11 || function == 12;
  const bool up = function == 12 || function == 14;
  RoundNode* round = nullptr;
  if (qualifiers) {
    round = FindRoundByContestAndKind(contest_id, kPrelim);
  } else {
    round = FindRoundByContestAndKind(contest_id, contest->HasPrelim == 1 ? kFinalAfterPrelim : kDirectFinal);
    // The draw makes the final of a preliminary it found unnecessary a
    // single final: that round ranks the places now.
    if (!round && contest->HasPrelim == 1) round = FindRoundByContestAndKind(contest_id, kDirectFinal);
  }
  if (!round) return kMissingText;
  const int current = qualifiers ? contest->Qualifiers : contest->Places;
  const std::string unchanged = std::to_string(element) + "-" + std::to_string(current);
  // Places may pass the entrants while the final has none yet.
  const bool at_top = qualifiers ? current >= round->Entrants : current == round->Entrants;
  if (up ? at_top : current <= 1) return unchanged;

  const int value = current + (up ? 1 : -1);
  ContestNode changed = *contest;
  (qualifiers ? changed.Qualifiers : changed.Places) = value;
  RoundNode changed_round = *round;
  changed_round.Places = value;
  Transaction unit(MeetConnection());
  if (!unit.ok() || SaveRound(changed_round) != 0 || SaveContestSettings(changed) != 0 || !unit.Commit()) {
    return kMissingText;
  }
  *contest = changed;
  round->Places = value;
  return std::to_string(element) + "-" + std::to_string(value);
}

// Function 15: the contest's own scoring scheme (0 when it is the group's).
std::string SetContestScheme(int scheme_id, int contest_id) {
  ContestNode* contest = FindContestById(contest_id);
  const EventNode* event = contest ? FindEventById(contest->EventId) : nullptr;
  const GroupNode* group = event ? FindGroupById(contest->GroupId) : nullptr;
  const ScoringSchemeNode* scheme = group ? FindScoringScheme(scheme_id) : nullptr;
  if (!scheme) return kMissingText;
  ContestNode changed = *contest;
  changed.SchemeId = scheme_id == group->SchemeId ? 0 : scheme_id;
  if (SaveContestSettings(changed) != 0) return kMissingText;
  contest->SchemeId = changed.SchemeId;
  return EscapeHtml(group->GradeName) + (event->TuanTiType == 3 ? "" : SexWord(group->Sex)) + EscapeHtml(event->Name) +
         "比赛的分制被成功定义为“" + EscapeHtml(scheme->Name) + "”！";
}

std::string RunAjaxFunction(const std::vector<int>& n) {
  auto arg = [&](std::size_t i) { return i < n.size() ? n[i] : 0; };
  switch (n[0]) {
    case 1: {
      std::string message;
      ToggleHeatRound(message, arg(1));
      return message;
    }
    case 11:
    case 12:
    case 13:
    case 14:
      return StepRoundCount(n[0], arg(1), arg(2));
    case 15:
      return SetContestScheme(arg(1), arg(2));
    default:
      return {};
  }
}

// Route 5 (administrator): the reply text behind the page header.
void AjaxFunctionRoute(RouteContext& ctx) {
  AssertDataLockHeld(true);
  std::string dstr;
  std::vector<int> numbers;
  if (ctx.request.Path.size() <= kRequestBytes) {
    GetFormField(ctx.request.Path, "Dstr=", kRequestBytes, dstr);
    numbers = ReadNumberList(dstr, ' ', 5);
  }
  AppendHtmlPage(ctx.session, numbers.empty() ? kBadRequestText : RunAjaxFunction(numbers), ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/ajaxfun.html",
     .roles = kAdmin,
     .code = 5,
     .handler = AjaxFunctionRoute,
     .access = Access::kWrite,
     .empty = EmptyReply::kEmptyBody},
};

}  // namespace

int ToggleHeatRound(std::string& message, int event_id) {
  const EventNode* event = FindEventById(event_id);
  if (!event) {
    message += "找不到比赛项目！";
    return 1;
  }
  // The contests to change, taken first: the round list changes under way.
  std::vector<int> contest_ids;
  for (const ContestNode& contest : Model().ContestList) {
    if (contest.EventId == event_id && contest.HasPrelim != event->YuJueType) contest_ids.push_back(contest.Id);
  }
  for (int contest_id : contest_ids) {
    ContestNode* contest = FindContestById(contest_id);
    const GroupNode* group = contest ? FindGroupById(contest->GroupId) : nullptr;
    if (!group) {
      message += "找不到竞赛组，错误号123566，请联系开发者！";
      return 1;
    }
    const std::string label = EscapeHtml(group->GradeName) + SexWord(group->Sex) + EscapeHtml(event->Name);
    int failed = contest->HasPrelim != 0 ? RemovePreliminary(*contest, label, message)
                                         : AddPreliminary(*contest, label, message);
    if (failed) return 1;
  }
  return 0;
}

RouteTable AjaxFunctionRoutes() { return kRows; }

}  // namespace korva
