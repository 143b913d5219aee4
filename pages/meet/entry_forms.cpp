#include "pages/meet/entry_forms.h"

#include <string_view>
#include <vector>

#include "database/lookups.h"
#include "web/escape.h"
#include "web/select_options.h"

namespace korva {

namespace {

constexpr const char* kNoContestText = "数据错误，未找到比赛设置！";
constexpr const char* kNoEventsText = "该竞赛没有可以报名的比赛！可能是您还没有设置该竞赛组的比赛!";

bool HoldsContest(const AthleteNode& athlete, int contest_id) {
  for (int id : athlete.ContestIds) {
    if (id == contest_id) return true;
  }
  return false;
}

// The combined and individual entries an athlete holds. Returns false when
// an entry's contest or event is missing.
bool CountEntryKinds(const AthleteNode& athlete, int& combined, int& individual) {
  combined = 0;
  individual = 0;
  for (int contest_id : athlete.ContestIds) {
    const ContestNode* contest = FindContestById(contest_id);
    if (contest == nullptr) return false;
    const EventNode* event = FindEventById(contest->EventId);
    if (event == nullptr) return false;
    if (event->BiSaiType == 3) ++combined;
    if (event->TuanTiType == 1) ++individual;
  }
  return true;
}

// What one event row shows about the class: who else of the class and sex
// entered the contest, and whether the edited athlete holds it.
struct ClassEventFacts {
  int class_size = 0;  // athletes of the class and sex
  int others = 0;      // of them, other than the edited athlete, holding the contest
  bool self = false;   // the edited athlete holds it
  std::string cell;    // "<td>本班：..." up to and including the closing comma
};

ClassEventFacts CollectClassFacts(int grade_id, int class_id, int sex, int contest_id, int athlete_id) {
  ClassEventFacts facts;
  std::string names;
  for (const AthleteNode& athlete : ClassAthletes(grade_id, class_id)) {
    if (athlete.Sex != sex) continue;
    ++facts.class_size;
    if (athlete_id != 0 && athlete.Id == athlete_id) {
      facts.self = HoldsContest(athlete, contest_id);
    } else if (HoldsContest(athlete, contest_id)) {
      ++facts.others;
      names += EscapeHtml(athlete.Name);
      names += "&nbsp;";
    }
  }
  facts.cell = "<td>本班：" + names + (facts.others == 0 ? "无," : ",");
  return facts;
}

// Athletes of the grade and sex in other classes who entered the contest.
int CountOtherClassEntrants(int grade_id, int sex, int class_id, int contest_id) {
  int count = 0;
  for (const AthleteNode& athlete : Model().AthleteList) {
    if (athlete.GradeId == grade_id && athlete.Sex == sex && athlete.ClassId != class_id &&
        HoldsContest(athlete, contest_id)) {
      ++count;
    }
  }
  return count;
}

std::string GroupFullText(const GroupNode& group, int class_size) {
  return "该竞赛组最多限报" + std::to_string(group.AthletesPerClass) + ",当前已报" +
         std::to_string(class_size) + "人,不能再添加运动员!";
}

std::string LimitsLine(const GroupNode& group, bool has_combined) {
  std::string text = "<p><img src=\"tip.jpg\" />当前竞赛组<strong>单项</strong>每人限报" +
                     std::to_string(group.EventsPerAthlete) + "项，";
  if (has_combined) text += "全能限报" + std::to_string(group.CombinedLimit) + "项，";
  text += "每项限报" + std::to_string(group.EntrantsPerEvent) + "人，每组限报" +
          std::to_string(group.AthletesPerClass) + "人";
  text += has_combined ? "；" : "。";
  text += "团队赛至少报一人，实际参赛人数按竞赛规则。</p>";
  return text;
}

std::string Checked(bool on) { return on ? " checked=\"checked\"" : ""; }
std::string Disabled(bool on) { return on ? " disabled=\"disabled\"" : ""; }
std::string StrikePrefix(bool struck) { return struck ? "" : "No"; }

// The check-box cell of a combined event, shared by both forms.
std::string CombinedBoxCell(const EventNode& event, const GroupNode& group,
                            const ClassEventFacts& facts, int athlete_combined) {
  bool disabled = !facts.self && facts.others >= group.CombinedLimit;
  bool named = facts.self || athlete_combined < group.CombinedLimit;
  std::string id = std::to_string(event.Id);
  return "<td><label><input type=\"checkbox\" " +
         std::string(named ? "name=\"StBcQn\"" : "id=\"disableBC\"") + " value=\"" + id + "\"" +
         Checked(facts.self) + Disabled(disabled) + " onClick=\"JianCha(this)\" /><span id=\"QnBcName" +
         id + "\" class=\"" + StrikePrefix(disabled) + "ShanChuXian\">" + EscapeHtml(event.Name) +
         "</span></label></td><td>全能比赛</td>";
}

// The check-box row start of a team or mixed-team event.
std::string TeamBoxCell(const EventNode& event, int team_limit, const ClassEventFacts& facts,
                        bool mixed) {
  bool disabled = !facts.self && facts.others >= team_limit;
  const char* field = mixed ? "StBcHt" : "StBcTd";
  return std::string("<td><label><input type=\"checkbox\" name=\"") + field + "\" id=\"" + field +
         "\" value=\"" + std::to_string(event.Id) + "\"" + Checked(facts.self) + Disabled(disabled) +
         " /><span class=\"" + StrikePrefix(disabled) + "ShanChuXian\">" + EscapeHtml(event.Name) +
         "</span></label></td><td>" + (mixed ? "男女混合团队赛" : "团队比赛") + "</td>";
}

std::string IndividualBoxCell(const EventNode& event, const GroupNode& group,
                              const ClassEventFacts& facts, int athlete_individual) {
  bool event_full = !facts.self && facts.others >= group.EntrantsPerEvent;
  bool disabled = event_full || (!facts.self && athlete_individual >= group.EventsPerAthlete);
  std::string id = std::to_string(event.Id);
  return "<td><label><input type=\"checkbox\" " +
         std::string(event_full ? "id=\"disableBC\"" : "name=\"StBcDx\"") + " value=\"" + id + "\"" +
         Checked(facts.self) + Disabled(disabled) + " onClick=\"JianCha(this)\" /><span id=\"DxBcName" +
         id + "\" class=\"" + StrikePrefix(disabled) + "ShanChuXian\">" + EscapeHtml(event.Name) +
         "</span>" + (event_full ? "<span class=\"LanDiBaiZi\">(满)</span>" : "") +
         "</label></td><td>单项比赛</td>";
}

// The third cell: classmates, and for individual events the other classes.
std::string EntrantsCell(const ClassEventFacts& facts, EntryKind kind, const GroupNode& group,
                         int class_id, int contest_id) {
  if (kind != EntryKind::kIndividual) return facts.cell + " </td></tr>\r\n";
  int others = CountOtherClassEntrants(group.GradeId, group.Sex, class_id, contest_id);
  return facts.cell + "其他班已报" + std::to_string(others) + "人；</td></tr>\r\n";
}

std::string HiddenField(const char* name, int value) {
  return std::string("<input type=\"hidden\" name=\"") + name + "\" id=\"" + name + "\" value=\"" +
         std::to_string(value) + "\" />";
}

std::string DataErrorTip(std::string_view text) {
  return "<img src=\"tip.jpg\" />提示：" + std::string(text);
}

}  // namespace

const std::vector<int>* FindGroupEventIds(int group_id) {
  const GroupEventNode* node = FindGroupEvents(group_id);
  return node && !node->EventIds.empty() ? &node->EventIds : nullptr;
}

EntryKind EntryKindOf(const EventNode& event) {
  if (event.BiSaiType == 3) return EntryKind::kCombined;
  if (event.TuanTiType == 1) return EntryKind::kIndividual;
  if (event.TuanTiType == 2) return EntryKind::kTeam;
  return EntryKind::kMixedTeam;
}

int BuildGroupSelect(std::string& select, int& class_id, int& sex, GroupNode*& group) {
  std::string options = OptionLine("0-0-0-0", "请选择竞赛组", false);
  bool offered = false;
  GroupNode* chosen = nullptr;
  for (const ClassNode& node : Model().ClassList) {
    GroupNode* groups[2] = {FindGroupByGradeAndSex(node.GradeId, 1),
                            FindGroupByGradeAndSex(node.GradeId, 2)};
    if (groups[0] == nullptr && groups[1] == nullptr) continue;
    int counts[2] = {0, 0};
    for (const AthleteNode& athlete : Model().AthleteList) {
      if (athlete.ClassId == node.ClassId && (athlete.Sex == 1 || athlete.Sex == 2)) {
        ++counts[athlete.Sex - 1];
      }
    }
    for (int s = 1; s <= 2; ++s) {
      GroupNode* g = groups[s - 1];
      if (g == nullptr || counts[s - 1] >= g->AthletesPerClass) continue;
      bool selected = node.ClassId == class_id && s == sex;
      if (selected) chosen = g;
      options += "<option value=\"" + std::to_string(node.GradeId) + "-" +
                 std::to_string(node.ClassId) + "-" + std::to_string(s) + "-0\"" +
                 (selected ? " selected" : "") + ">" + EscapeHtml(node.ClassName) +
                 (s == 1 ? "男子组" : "女子组") + "</option>\r\n";
      offered = true;
    }
  }
  group = chosen;
  if (chosen == nullptr) {
    class_id = 0;
    sex = 0;
  }
  if (!offered) return 1;
  select = "<br />所属竞赛组：<select size=\"1\" name=\"jsz\" id=\"jsz\" onchange=\"AddStCh()\">\r\n" +
           options + "</select>\r\n<br />";
  return 0;
}

int BuildAthleteEventForm(const LoginNode& session, std::string& form, const GroupNode& group,
                          int class_id, int sex, int athlete_id) {
  int combined = 0;
  int individual = 0;
  std::string name;
  const AthleteNode* athlete = athlete_id != 0 ? FindAthleteById(athlete_id) : nullptr;
  // An id that is not an athlete of this class and sex gives the new-athlete
  // form, so a page never shows or edits another class's athlete.
  if (athlete != nullptr && (athlete->ClassId != class_id || athlete->Sex != sex)) athlete = nullptr;
  if (athlete == nullptr) {
    athlete_id = 0;
  } else {
    if (!CountEntryKinds(*athlete, combined, individual)) {
      form = kNoContestText;
      return 0;
    }
    name = athlete->Name;
  }
  const std::vector<int>* event_ids = FindGroupEventIds(group.Id);
  if (event_ids == nullptr) {
    form = kNoEventsText;
    return 0;
  }
  std::string table =
      "<table border=\"1\"><tr align=\"center\"><td>选择参赛项目</td><td>比赛类型</td>"
      "<td>该项比赛比赛报名情况</td></tr>";
  for (int event_id : *event_ids) {
    const ContestNode* contest = FindContestByGroupAndEvent(group.Id, event_id);
    const EventNode* event = FindEventById(event_id);
    if (contest == nullptr || event == nullptr) {
      form = kNoContestText;
      return 0;
    }
    ClassEventFacts facts = CollectClassFacts(group.GradeId, class_id, sex, contest->Id, athlete_id);
    if ((athlete_id == 0 && facts.class_size >= group.AthletesPerClass) ||
        facts.class_size > group.AthletesPerClass) {
      form = GroupFullText(group, facts.class_size);
      return 0;
    }
    EntryKind kind = EntryKindOf(*event);
    table += "<tr>";
    switch (kind) {
      case EntryKind::kCombined: table += CombinedBoxCell(*event, group, facts, combined); break;
      case EntryKind::kMixedTeam: table += TeamBoxCell(*event, event->TuanTiRenShu / 2, facts, true); break;
      case EntryKind::kTeam: table += TeamBoxCell(*event, event->TuanTiRenShu, facts, false); break;
      case EntryKind::kIndividual: table += IndividualBoxCell(*event, group, facts, individual); break;
    }
    table += EntrantsCell(facts, kind, group, class_id, contest->Id);
  }
  table += "</table><p>";
  if (session.Role == kRoleAdmin) {
    table += "<input name=\"an3\" type=\"button\" id=\"an3\" onclick=\"AddStAn()\" value=\"提交\" /> "
             "<input name=\"rean3\" type=\"button\" id=\"rean3\" onclick=\"window.location.reload()\" "
             "value=\"返回\" />";
  } else {
    table += "<input name=\"an3\" type=\"button\" id=\"an3\" onclick=\"AddStAn()\" value=\"提交\" /> "
             "<input name=\"rean3\" type=\"button\" id=\"rean3\" "
             "onclick=\"window.location.href='ShowClass.html'\" value=\"返回班级首页\" />";
  }
  table += "</p>";

  form = HiddenField("BJID", class_id) + HiddenField("NJID", group.GradeId) + HiddenField("STSEX", sex) +
         HiddenField("DxMRXBNUM", group.EventsPerAthlete) + HiddenField("QNXBNUM", group.CombinedLimit) +
         LimitsLine(group, GroupHasCombinedEvent(group.Id) != 0) +
         "运动员姓名：<input name=\"stname\" type=\"text\" id=\"stname\" style=\"font-size:18px\" "
         "size=\"8\" maxlength=\"8\" value=\"" +
         EscapeHtml(name) + "\" />" + HiddenField("stid", athlete_id) + table;
  return 0;
}

int BuildAthleteEventEditForm(int athlete_id, std::string& table) {
  const AthleteNode* athlete = athlete_id != 0 ? FindAthleteById(athlete_id) : nullptr;
  if (athlete == nullptr) {
    table = DataErrorTip("数据错误，错误号：887021！");
    return 0;
  }
  int combined = 0;
  for (int contest_id : athlete->ContestIds) {
    const ContestNode* contest = FindContestById(contest_id);
    if (contest == nullptr) {
      table = DataErrorTip("数据错误，错误号：887921！");
      return 0;
    }
    const EventNode* event = FindEventById(contest->EventId);
    if (event == nullptr) {
      table = DataErrorTip("数据错误，错误号：887922！");
      return 0;
    }
    if (event->BiSaiType == 3) ++combined;
  }
  const ClassNode* class_node = FindClassNode(athlete->ClassId, athlete->GradeId);
  const GroupNode* group = FindGroupByGradeAndSex(athlete->GradeId, athlete->Sex);
  if (class_node == nullptr || group == nullptr) {
    table = DataErrorTip("数据错误，错误号：987021！");
    return 0;
  }
  const std::vector<int>* event_ids = FindGroupEventIds(group->Id);
  if (event_ids == nullptr) {
    table = DataErrorTip(kNoEventsText);
    return 0;
  }
  std::string rows =
      "<table border=\"1\"><tr align=\"center\"><td>参退赛操作</td><td>比赛项目</td><td>比赛类型</td>"
      "<td>该项比赛比赛报名情况</td></tr>";
  for (int event_id : *event_ids) {
    const ContestNode* contest = FindContestByGroupAndEvent(group->Id, event_id);
    const EventNode* event = FindEventById(event_id);
    if (contest == nullptr || event == nullptr) {
      table = DataErrorTip("数据错误，未找到比赛设置！错误号：0012413");
      return 0;
    }
    ClassEventFacts facts = CollectClassFacts(athlete->GradeId, athlete->ClassId, athlete->Sex, contest->Id, athlete->Id);
    if (facts.class_size > group->AthletesPerClass) {
      table = GroupFullText(*group, facts.class_size);
      return 0;
    }
    EntryKind kind = EntryKindOf(*event);
    if (kind == EntryKind::kCombined) {
      rows += "<tr><td></td>" + CombinedBoxCell(*event, *group, facts, combined);
    } else {
      int limit = kind == EntryKind::kTeam        ? event->TuanTiRenShu
                  : kind == EntryKind::kMixedTeam ? event->TuanTiRenShu / 2
                                                  : group->EntrantsPerEvent;
      bool full = !facts.self && facts.others >= limit;
      const char* value = facts.self ? "退赛\" title=\"退出该项比赛"
                          : kind == EntryKind::kIndividual ? "参加该项比赛\" title=\"加入该项比赛"
                                                           : "参加该比赛\" title=\"加入该项比赛";
      const char* state = !full ? "" : kind == EntryKind::kIndividual ? "单项限报已满" : "团队人数已满";
      const char* kind_name = kind == EntryKind::kIndividual ? "单项比赛"
                              : kind == EntryKind::kTeam     ? "团队比赛"
                                                             : "男女混合团队赛";
      rows += std::string("<tr><td align=\"center\"><input type=\"button\" ") +
              (full ? "style=\"display:none;\"" : "") + " value=\"" + value +
              "\" onClick=\"TuiSanAndCanSai(" + std::to_string(event->Id) + "," +
              std::to_string(athlete->Id) + "," + (facts.self ? "1" : "2") + ",'" +
              EscapeScript(event->Name) + "');\">" + state + "</td><td>" + EscapeHtml(event->Name) +
              (facts.self ? "(已报)" : "") + "</td><td>" + kind_name + "</td>";
    }
    rows += EntrantsCell(facts, kind, *group, athlete->ClassId, contest->Id);
  }
  rows += "</table><p>\r\n      <input name=\"rean3\" type=\"button\" onclick=\"GetGnStr(3)\" value=\"返回\" />\r\n</p>";
  table = LimitsLine(*group, GroupHasCombinedEvent(group->Id) != 0) +
          "运动员姓名：<span Class=\"TextChu\">" + EscapeHtml(athlete->Name) +
          "</span> 号码：<span Class=\"TextChu\">" + EscapeHtml(athlete->BibText) +
          "</span> 性别：<span Class=\"TextChu\">" + (athlete->Sex == 1 ? "男" : "女") +
          "</span> 班级:<span Class=\"TextChu\">" + EscapeHtml(class_node->ClassName) + "</span>\r\n" +
          rows;
  return 1;
}

}  // namespace korva
