#include "pages/setup/form_fragments.h"

#include <vector>

#include "database/data_error.h"
#include "database/lookups.h"
#include "database/model.h"
#include "database/queries.h"
#include "database/setup_stage.h"
#include "database/store_groups.h"
#include "web/escape.h"
#include "web/select_options.h"

namespace korva {

namespace {

constexpr int kCombinedEvent = 3;

std::string NumberedOption(int value, const char* unit, bool selected) {
  return OptionLine(value, std::to_string(value) + unit, selected);
}

std::string NamedOption(int value, std::string_view text, bool selected) {
  return OptionLine(value, EscapeHtml(text), selected);
}

std::string NumberedOptions(int count, const char* unit, int selected) {
  std::string out;
  for (int v = 1; v <= count; ++v) out += NumberedOption(v, unit, v == selected);
  return out;
}

void LogFragmentFailure(const char* what) {
  LogServerMessage(std::string("set-up form: query failed while building ") + what);
}

// The scheme select of a groups-page row: selected 0 marks the first scheme.
std::string SchemeCell(int selected) {
  std::string out = "<td align=\"center\"><select name=\"wfz\" id=\"wfz\">\r\n";
  const std::vector<ScoringSchemeNode>& schemes = Model().ScoringSchemeList;
  for (std::size_t i = 0; i < schemes.size(); ++i) {
    bool mark = selected == 0 ? i == 0 : schemes[i].Id == selected;
    out += NamedOption(schemes[i].Id, schemes[i].Name, mark);
  }
  return out + "</select></td>";
}

// The check-box attributes of a groups-page row.
struct RowBoxes {
  std::string grade;
  std::string boys;
  std::string girls;
};

RowBoxes GroupRowBoxes(int row, int grade_id, const GroupNode* boys, const GroupNode* girls) {
  const std::string i = std::to_string(row);
  const std::string keep = "onClick=\"return nodel();\" checked=\"checked\"";
  bool boys_entered = boys && GradeSexHasAthletes(grade_id, 1);
  bool girls_entered = girls && GradeSexHasAthletes(grade_id, 2);
  auto sex_box = [&](const GroupNode* group, bool entered) {
    if (entered) return keep;
    std::string attr = "onClick=\"njboygirlselect(" + i + ");\"";
    return group ? attr + " checked=\"checked\"" : attr;
  };
  RowBoxes boxes;
  if (boys_entered || girls_entered) boxes.grade = keep;
  else if (boys || girls) boxes.grade = "onClick=\"nianjiselect(" + i + ")\" checked=\"checked\"";
  else boxes.grade = "onClick=\"nianjiselect(" + i + ")\"";
  boxes.boys = sex_box(boys, boys_entered);
  boxes.girls = sex_box(girls, girls_entered);
  return boxes;
}

// The select cells of a groups-page row, from the group that gives the
// values (the girls' when it exists), or the disabled defaults without one.
std::string GroupRowSelects(const GroupNode* values, bool has_combined) {
  int mode = values ? 1 : 0;
  auto pick = [&](int GroupNode::*field) { return values ? values->*field : 1; };
  std::string out = BuildNumberSelect(50, mode, "wmzxb", "人", pick(&GroupNode::AthletesPerClass));
  out += BuildNumberSelect(50, mode, "wmxxb", "人", pick(&GroupNode::EntrantsPerEvent));
  std::string events = BuildNumberSelect(20, mode, "wmrxb", "项", pick(&GroupNode::EventsPerAthlete));
  if (has_combined) {
    out += events + BuildNumberSelect(20, mode, "wqnxb", "项", pick(&GroupNode::CombinedLimit));
  } else {
    // The hidden select shares the wmrxb cell, so wqnxb is always posted.
    const std::string cell_end = "</td>\r\n";
    const std::string cell_start = "<td align=\"center\">";
    std::string hidden = BuildNumberSelect(20, -1, "wqnxb", "项", 1);
    out += events.substr(0, events.size() - cell_end.size()) + hidden.substr(cell_start.size());
  }
  out += BuildNumberSelect(20, mode, "wqmc", "名", pick(&GroupNode::PlacesRanked));
  out += SchemeCell(values ? values->SchemeId : 0);
  return out;
}

std::string NewMeetGradeRow(int row, const IdName& grade, const std::string& selects) {
  const std::string i = std::to_string(row);
  const std::string id = std::to_string(grade.Id);
  return "<tr>\r\n"
         "<td align=\"center\"><input type=\"checkbox\" onClick=\"nianjiselect(" + i +
         ")\" name=\"wnjsel\" value=\"" + id + "\" checked=\"checked\" /></td>\r\n"
         "<td align=\"center\">" + EscapeHtml(grade.Name) + "</td>\r\n"
         "<td align=\"center\"><input type=\"checkbox\" onClick=\"njboygirlselect(" + i +
         ")\" name=\"wboysel\" value=\"" + id + "\" checked=\"checked\" /></td>\r\n"
         "<td align=\"center\"><input type=\"checkbox\" onClick=\"njboygirlselect(" + i +
         ")\" name=\"wgirlsel\"value=\"" + id + "\" checked=\"checked\"  /></td>\r\n" +
         selects + "</tr>\r\n";
}

}  // namespace

std::string BuildNumberSelect(int count, int mode, const char* name, const char* unit, int selected) {
  const char* extra = mode == 0 ? " disabeld" : mode < 0 ? " style=\" display:none\"" : "";
  return std::string("<td align=\"center\">\r\n<select name=\"") + name + "\" id=\"" + name + "\"" +
         extra + ">\r\n" + NumberedOptions(count, unit, selected) + "</select></td>\r\n";
}

std::string BuildBonusSelect(const char* name, int selected) {
  std::string out = std::string("<td><select name=\"") + name + "\" id=\"" + name + "\">\r\n";
  for (int v = 0; v <= 10; ++v)
    out += NamedOption(v, v == 0 ? std::string("不加分") : "加" + std::to_string(v) + "分", v == selected);
  return out + "\r\n</select></td>";
}

std::string BuildGroupSettingsForm(bool has_combined) {
  std::vector<IdName> grades;
  if (!ReadMeetGrades(grades)) {
    LogFragmentFailure("the groups form");
    return {};
  }
  if (grades.empty())
    return "<tr><td>-</td><td>-</td><td>-</td><td>-</td><td>-</td><td>-</td><td>-</td><td>-</td>"
           "<td>-</td><td>-</td></tr>";
  std::string out;
  for (std::size_t row = 0; row < grades.size(); ++row) {
    const IdName& grade = grades[row];
    const GroupNode* boys = FindGroupByGradeAndSex(grade.Id, 1);
    const GroupNode* girls = FindGroupByGradeAndSex(grade.Id, 2);
    RowBoxes boxes = GroupRowBoxes(static_cast<int>(row), grade.Id, boys, girls);
    const std::string id = std::to_string(grade.Id);
    out += "<tr>\r\n"
           "<td align=\"center\"><input type=\"checkbox\" name=\"wnjsel\" value=\"" + id + "\" " +
           boxes.grade + " /></td>\r\n"
           "<td align=\"center\">" + EscapeHtml(grade.Name) + "</td>\r\n"
           "<td align=\"center\"><input type=\"checkbox\" name=\"wboysel\" value=\"" + id + "\" " +
           boxes.boys + " /></td>\r\n"
           "<td align=\"center\"><input type=\"checkbox\" name=\"wgirlsel\"value=\"" + id + "\" " +
           boxes.girls + "  /></td>\r\n" +
           GroupRowSelects(girls ? girls : boys, has_combined) + "</tr>\r\n";
  }
  return out;
}

std::string BuildRecordBonusRows() {
  const std::vector<GroupNode>& groups = Model().GroupList;
  int equalled = groups.empty() ? 0 : groups.front().Bonus[1];
  int broken = groups.empty() ? 0 : groups.front().Bonus[2];
  return "<tr>\r\n<td>\r\n<table border=\"1\" cellspacing=\"0\" width=\"40%\">\r\n"
         "<tr align=\"center\">\r\n<td>记录等级：</td>\r\n<td>平记录时</td>\r\n<td>破记录时</td>\r\n</tr>\r\n"
         "<tr align=\"center\"><td>加分</td>\r\n" +
         BuildBonusSelect("wpjf1", equalled) + "\r\n" + BuildBonusSelect("wpjf2", broken) +
         " </tr></table></td></tr>\r\n";
}

NewMeetEvents CheckNewMeetEvents() {
  NewMeetEvents result;
  if (Model().CurrentMeetId != 0) {
    for (const EventNode& event : Model().EventList) {
      result.any = true;
      if (event.BiSaiType == kCombinedEvent) result.has_combined = true;
    }
    return result;
  }
  // No meet yet: the first meet takes the default catalogue of the base file.
  std::vector<int> kinds;
  if (!ReadBaseEventKinds(kinds)) LogFragmentFailure("the create-meet form");
  for (int kind : kinds) {
    result.any = true;
    if (kind == kCombinedEvent) result.has_combined = true;
  }
  return result;
}

int BuildNewMeetForm(std::string* out, const NewMeetEvents& events) {
  if (!events.any) return 3;
  std::vector<IdName> schemes;
  std::vector<IdName> grades;
  if (!ReadBaseSchemes(schemes) || !ReadBaseGrades(grades)) {
    LogFragmentFailure("the create-meet form");
    out->clear();
    return 0;
  }
  if (schemes.empty()) return 1;
  if (grades.empty()) return 2;

  std::string scheme_options;
  for (std::size_t i = 0; i < schemes.size(); ++i)
    scheme_options += NamedOption(schemes[i].Id, schemes[i].Name, i == 0);
  const std::string per_class = NumberedOptions(50, "人", 6);
  const std::string per_event = NumberedOptions(50, "人", 2);
  const std::string per_athlete = NumberedOptions(20, "项", 2);
  const std::string places = NumberedOptions(20, "名", 6);
  const std::string combined_start =
      events.has_combined ? "</td>\r\n<td align=\"center\"><select name=\"wqnxb\" id=\"wqnxb\">\r\n"
                          : "\r\n<select name=\"wqnxb\" id=\"wqnxb\" style=\"display:none\">\r\n";
  const std::string selects =
      "<td align=\"center\">\r\n<select name=\"wmzxb\">\r\n" + per_class + "</select>\r\n</td>\r\n"
      "<td align=\"center\"><select name=\"wmxxb\">\r\n" + per_event + "</select></td>\r\n"
      "<td align=\"center\"><select name=\"wmrxb\">\r\n" + per_athlete + "</select>" + combined_start +
      per_athlete + "</select></td>\r\n"
      "<td align=\"center\"><select name=\"wqmc\" id=\"wqmc\">\r\n" + places + "</select></td>\r\n"
      "<td align=\"center\"><select name=\"wfz\" id=\"wfz\">\r\n" + scheme_options + "</select></td>\r\n";

  std::string rows;
  for (std::size_t row = 0; row < grades.size(); ++row)
    rows += NewMeetGradeRow(static_cast<int>(row), grades[row], selects);
  *out = std::move(rows);
  return 0;
}

std::string BuildMeetOptions() {
  std::vector<IdName> meets;
  if (!ReadMeetRegistry(meets)) {
    LogFragmentFailure("the meet list");
    return {};
  }
  if (meets.empty()) return OptionTag(0, "没有运动会数据", true);
  std::string out;
  for (std::size_t i = 0; i < meets.size(); ++i) out += OptionTag(meets[i].Id, EscapeHtml(meets[i].Name), i == 0);
  return out;
}

std::string BuildOtherMeetNames() {
  std::vector<IdName> meets;
  if (!ReadMeetRegistry(meets, Model().CurrentMeetId)) {
    LogFragmentFailure("the other meets' names");
    return {};
  }
  std::string out = "|";
  for (const IdName& meet : meets) out += EscapeScript(meet.Name) + "|";
  return out;
}

}  // namespace korva
