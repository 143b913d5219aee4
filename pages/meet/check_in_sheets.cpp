#include "pages/meet/check_in_sheets.h"

#include <algorithm>
#include <vector>

#include "database/data_error.h"
#include "database/lookups.h"
#include "pages/meet/chinese_numeral.h"
#include "web/escape.h"

namespace korva {

namespace {

constexpr int kLaneColumns = 9;    // lanes across one table at most
constexpr int kFieldPageRows = 13; // rows of a field sheet's page
constexpr int kNewPage = 88;       // a page count that forces a new page

constexpr const char* kOrderSignature =
    "</table>\r\n<p>记录员：___________________&nbsp;&nbsp;&nbsp;&nbsp;裁判员：___________________</p></div>";

// What every sheet's title line names.
struct SheetLabels {
  std::string Grade;  // escaped
  const char* Sex = "";
  std::string Event;  // escaped
  const char* Round = "";
  std::string Unit;   // escaped
};

SheetLabels LabelsOf(const RoundNode& round, const EventNode& event, const GroupNode& group) {
  return {EscapeHtml(group.GradeName), group.Sex == 1 ? "男子" : "女子", EscapeHtml(event.Name),
          round.Kind == kPrelim ? "预赛" : "决赛", EscapeHtml(event.Unit)};
}

int HighestHeat(std::span<const LaneNode> lanes) {
  int heats = 0;
  for (const LaneNode& lane : lanes) heats = std::max(heats, lane.Heat);
  return heats;
}

// The heat's lanes by start order; equal orders keep their LaneList order.
std::vector<const LaneNode*> HeatByOrder(std::span<const LaneNode> lanes, int heat) {
  std::vector<const LaneNode*> entries;
  for (const LaneNode& lane : lanes)
    if (lane.Heat == heat) entries.push_back(&lane);
  std::stable_sort(entries.begin(), entries.end(),
                   [](const LaneNode* a, const LaneNode* b) { return a->Lane < b->Lane; });
  return entries;
}

// The athlete of a lane and his class within the group's grade; false when
// either is missing.
bool AthleteOf(const LaneNode& lane, const GroupNode& group, const AthleteNode*& athlete,
               const ClassNode*& class_node) {
  athlete = FindAthleteById(lane.AthleteId);
  class_node = athlete ? FindClassNode(athlete->ClassId, group.GradeId) : nullptr;
  return class_node != nullptr;
}

// ---- the lane sheet ----

// The scissors line between two heats on one page: "8<-" and 57 more
// dashes, two blanks before each but one before the 35th.
std::string CutLine() {
  std::string line = "<p style=\"line-height:400%; font-size:10pt; Letter-spacing:-2pt;\">\r\n8<-";
  for (int dash = 1; dash <= 57; ++dash) line += dash == 35 ? " -" : "  -";
  return line + "</p>";
}

struct LaneColumn {
  std::string Label;  // the lane's numeral
  std::string Bib;
  std::string Name;
  std::string Class;
  bool Taken = false;
};

std::string LaneTable(const std::vector<LaneColumn>& columns) {
  std::string table = "<table width=\"99%\" border=\"1\">\r\n    <tr>\r\n      <td align=\"center\">道次</td>\r\n";
  for (const LaneColumn& c : columns) table += "<td align=\"center\">第" + c.Label + "道</td>\r\n";
  table += "</tr>\r\n\t<tr>\r\n      <td align=\"center\">号码</td>\r\n";
  for (const LaneColumn& c : columns) table += "<td align=\"center\">" + c.Bib + "</td>\r\n";
  table += "</tr>\r\n    <tr>\r\n\t<td align=\"center\">姓名</td>\r\n";
  for (const LaneColumn& c : columns) table += "<td align=\"center\">" + c.Name + "</td>\r\n";
  table += "</tr>\r\n    <tr>\r\n      <td align=\"center\">班级 </td>\r\n";
  for (const LaneColumn& c : columns) table += " <td align=\"center\">" + c.Class + "</td>\r\n";
  table += " </tr>\r\n    <tr>\r\n      <td style=\"line-height:200%; text-align:center;\">成绩</td>\r\n";
  for (std::size_t i = 0; i < columns.size(); ++i) table += "<td align=\"center\">&nbsp;</td>\r\n";
  table += "</tr>\r\n    <tr>\r\n      <td style=\"line-height:200%; text-align:center;\">备注 </td>\r\n";
  for (std::size_t i = 0; i < columns.size(); ++i) table += "<td align=\"center\">&nbsp;</td>\r\n";
  return table + "</tr>\r\n</table>";
}

// ---- the order sheet ----

std::string OrderSheetTitle(const char* word, const SheetLabels& l, int heat, int heats) {
  return std::string("<div style=\"font-size:150%; text-align:center;\">") + word +
         " 赛 检 录 表</div><br />\r\n  <div>\r\n  <div style=\"float:left\">" + l.Grade + " " + l.Sex + " " + l.Event +
         " " + l.Round + " 第" + FormatChineseNumeral(heat) + "组(共" + FormatChineseNumeral(heats) +
         "组) </div>\r\n <div style=\"float:right\">单位：" + l.Unit +
         "&nbsp;&nbsp;</div>\r\n </div> <br />\r\n <table width=\"99%\" border=\"1\">\r\n  <tr>\r\n"
         "    <td align=\"center\">序号</td>\r\n    <td align=\"center\">号码</td>\r\n"
         "    <td align=\"center\">姓名</td>\r\n    <td align=\"center\">班级</td>\r\n"
         "    <td align=\"center\">比赛成绩</td>\r\n    <td align=\"center\">备注</td>\r\n"
         "    <td align=\"center\">比赛计圈专用</td>\r\n  </tr>\r\n";
}

// ---- the field and height sheets ----

std::string FieldSheetHead(int variant, const SheetLabels& l, int heat, int heats) {
  std::string head = "<div style=\"font-size:150%; text-align:center;\">田 赛 检 录 表</div>\r\n  <div>\r\n"
                     "  <div style=\"float:left\">" +
                     l.Grade + " " + l.Sex + " " + l.Event + " " + l.Round + " 第" + FormatChineseNumeral(heat) +
                     "组(共" + FormatChineseNumeral(heats) + "组)</div>\r\n <div style=\"float:right\">单位：" + l.Unit +
                     "&nbsp;&nbsp;</div>\r\n </div> <br />\r\n<table width=\"99%\" border=\"1\">\r\n<tr align=\"center\">"
                     "<td rowspan=\"2\">序号</td><td rowspan=\"2\">号码</td><td rowspan=\"2\">姓名</td>"
                     "<td rowspan=\"2\">班级</td>";
  if (variant == 1) {
    head += "<td colspan=\"3\">前三轮成绩</td><td rowspan=\"2\">前三轮<br />最优成绩</td><td colspan=\"3\">后三轮成绩</td>"
            "<td rowspan=\"2\">最后成绩</td><td rowspan=\"2\">名次</td><td rowspan=\"2\">备注</td></tr>\r\n"
            "<tr align=\"center\"><td>①</td><td>②</td><td>③</td><td>④</td><td>⑤</td><td>⑥</td></tr>\r\n";
  } else {
    head += "<td colspan=\"30\">运&nbsp;&nbsp;&nbsp;&nbsp;动&nbsp;&nbsp;&nbsp;&nbsp;员&nbsp;&nbsp;&nbsp;&nbsp;成"
            "&nbsp;&nbsp;&nbsp;&nbsp;绩</td><td rowspan=\"2\">最终<br />成绩</td><td rowspan=\"2\">排名</td>"
            "<td rowspan=\"2\">备注</td></tr>\r\n<tr align=\"center\">";
    for (int height = 0; height < 10; ++height) head += "<td colspan=\"3\">&nbsp;</td>";
    head += "</tr>\r\n";
  }
  return head;
}

std::string FieldRow(const std::string& number, const std::string& bib, const std::string& name,
                     const std::string& class_name, int empty_cells) {
  std::string row = "<tr align=\"center\" style=\"line-height:200%;\"><td>" + number + "</td><td>" + bib +
                    "</td><td>" + name + "</td><td>" + class_name + "</td>";
  for (int i = 0; i < empty_cells; ++i) row += "<td>&nbsp;</td>";
  return row + "</tr>\r\n";
}

// The builder of the event's sheet type; page_count stays for a type
// without a sheet.
int BuildSheetOfType(std::string& out, const RoundNode& round, const EventNode& event, const GroupNode& group,
                     std::span<const LaneNode> lanes, int page_count) {
  switch (event.JiLuBiaoType) {
    case 1: return BuildLaneCheckInSheet(out, round, event, page_count, group, lanes);
    case 2: return BuildOrderCheckInSheet(lanes, out, round, event, group, page_count);
    case 3: return BuildFieldCheckInSheet(lanes, out, round, event, group, 1, page_count);
    case 4: return BuildFieldCheckInSheet(lanes, out, round, event, group, 2, page_count);
    default: return page_count;
  }
}

}  // namespace

int BuildLaneCheckInSheet(std::string& out, const RoundNode& round, const EventNode& event, int page_count,
                          const GroupNode& group, std::span<const LaneNode> lanes) {
  const int heats = HighestHeat(lanes);
  const VenueNode* venue = FindVenueById(event.ChangDi);  // a miss logs 114
  if (!venue) {
    ShowDataErrorCode(123455);
    return 0;
  }
  const int columns = std::min(venue->Size, kLaneColumns);
  // At the built-in tracks a lane event's lane number is a place among the
  // lanes in use, and the sheet names the lane itself.
  const bool lanes_in_use = venue->Id < 4 && event.FZFDType == 1;
  const bool individual = event.TuanTiType == 1;
  const SheetLabels l = LabelsOf(round, event, group);
  const char* team = event.TuanTiType == 3 ? "混团" : event.TuanTiType == 2 ? "团队" : "";
  const char* sex = event.TuanTiType == 3 ? "" : l.Sex;
  for (int heat = 1;; ++heat) {
    int widest = 0;
    for (const LaneNode& lane : lanes)
      if (lane.Heat == heat) widest = std::max(widest, lane.Lane);
    for (int first = 1;; first += columns) {
      std::vector<LaneColumn> chunk(static_cast<std::size_t>(std::max(columns, 0)));
      bool any = false;
      for (int c = 0; c < columns; ++c) {
        const int position = first + c;
        LaneColumn& column = chunk[c];
        column.Label = FormatChineseNumeral(lanes_in_use ? LaneAtPlace(*venue, position) : position);
        auto at = std::find_if(lanes.begin(), lanes.end(),
                               [&](const LaneNode& lane) { return lane.Heat == heat && lane.Lane == position; });
        if (at == lanes.end()) continue;
        const AthleteNode* athlete = nullptr;
        const ClassNode* class_node = nullptr;
        if (!AthleteOf(*at, group, athlete, class_node)) return 0;
        any = true;
        column.Bib = individual ? EscapeHtml(athlete->BibText) : "";
        column.Name = individual ? EscapeHtml(athlete->Name) : "";
        column.Class = EscapeHtml(class_node->ClassName);
      }
      // After the last heat the first chunk finds nobody: the sheet ends.
      if (!any) return page_count;
      const bool first_chunk = first == 1;
      const char* division = "jsfddiv";
      if (page_count > 2 || (page_count == 2 && first_chunk && widest > columns)) {
        division = "jsfdfydiv";
        page_count = 0;
      }
      out += std::string("<div class=\"") + division + "\">\r\n";
      if (first_chunk) {
        if (page_count != 0) out += CutLine();
        out += "<div style=\"font-size:150%; text-align:center;\">径 赛 检 录 表</div><br />\r\n  <div>\r\n"
               "  <div style=\"float:left\">" +
               l.Grade + " " + sex + " " + team + " " + l.Event + " " + l.Round + " 第" + FormatChineseNumeral(heat) +
               "组(共" + FormatChineseNumeral(heats) + "组) </div>\r\n <div style=\"float:right\">单位：" + l.Unit +
               "&nbsp;&nbsp;</div>\r\n </div> <br />\r\n";
      }
      out += LaneTable(chunk);
      ++page_count;
      if (first + columns - 1 >= widest) {
        out += "<p>记录员：___________________&nbsp;&nbsp;&nbsp;&nbsp;裁判员：___________________</p>\r\n</div>";
        break;
      }
      out += "</div>\r\n";
    }
  }
}

int BuildOrderCheckInSheet(std::span<const LaneNode> lanes, std::string& out, const RoundNode& round,
                           const EventNode& event, const GroupNode& group, int page_count) {
  const int heats = HighestHeat(lanes);
  const bool individual = event.TuanTiType == 1;
  const SheetLabels l = LabelsOf(round, event, group);
  const char* word = event.BiSaiType == 2 ? "田" : "径";
  for (int heat = 1; heat <= heats; ++heat) {
    const std::vector<const LaneNode*> entries = HeatByOrder(lanes, heat);
    if (entries.empty()) continue;
    const int lines = page_count + static_cast<int>(entries.size());
    const bool new_page = lines >= 23 && page_count >= 1;
    out += std::string("<div class=\"") + (new_page ? "jsfdfydiv" : "jsfzdiv") + "\">\r\n" +
           OrderSheetTitle(word, l, heat, heats);
    page_count = lines < 23 ? page_count + 2 : 2;
    const LaneNode* previous = nullptr;
    for (const LaneNode* lane : entries) {
      // The members of a team share their start order: one row.
      if (!individual && previous && previous->Lane == lane->Lane) continue;
      previous = lane;
      if (page_count > 23 && page_count % 24 == 0) {
        out += std::string(kOrderSignature) + "\r\n<div class=\"jsfdfydiv\">\r\n" + OrderSheetTitle(word, l, heat, heats);
        page_count = 2;
      }
      const AthleteNode* athlete = nullptr;
      const ClassNode* class_node = nullptr;
      if (!AthleteOf(*lane, group, athlete, class_node)) return 0;
      out += "<tr>\r\n<td style=\"line-height:200%; text-align:center;\">" + std::to_string(lane->Lane) +
             "</td>\r\n    <td align=\"center\">" + (individual ? EscapeHtml(athlete->BibText) : "&nbsp;") +
             "</td>\r\n    <td align=\"center\">" + (individual ? EscapeHtml(athlete->Name) : "&nbsp;") +
             "</td>\r\n    <td align=\"center\">" + EscapeHtml(class_node->ClassName) +
             "</td>\r\n    <td align=\"center\">&nbsp;</td>\r\n    <td align=\"center\">&nbsp;</td>\r\n"
             "    <td align=\"center\">&nbsp;</td>\r\n</tr>\r\n";
      ++page_count;
    }
    out += kOrderSignature;
    page_count += 2;
  }
  return page_count;
}

int BuildFieldCheckInSheet(std::span<const LaneNode> lanes, std::string& out, const RoundNode& round,
                           const EventNode& event, const GroupNode& group, int variant, int page_count) {
  const int heats = std::max(HighestHeat(lanes), 1);
  const bool individual = event.TuanTiType == 1;
  const int empty_cells = variant == 1 ? 10 : 33;
  const SheetLabels l = LabelsOf(round, event, group);
  bool first_head = true;
  for (int heat = 1; heat <= heats; ++heat) {
    int rows = 0;
    const LaneNode* previous = nullptr;
    for (const LaneNode* lane : HeatByOrder(lanes, heat)) {
      if (lane->Lane < 1) continue;  // not drawn to a place
      // A team fills its start place once.
      if (!individual && previous && previous->Lane == lane->Lane) continue;
      previous = lane;
      if (rows % kFieldPageRows == 0) {
        if (!first_head)
          out += "</table><br />记录员：__________________&nbsp;&nbsp;&nbsp;&nbsp;裁判员：__________________</div></div>\r\n";
        out += std::string("<div class=\"") + (first_head && page_count == 0 ? "supaikuang" : "fysupaikuang") +
               "\"><div class=\"Tssldiv\">" + FieldSheetHead(variant, l, heat, heats);
        first_head = false;
      }
      const AthleteNode* athlete = nullptr;
      const ClassNode* class_node = nullptr;
      if (!AthleteOf(*lane, group, athlete, class_node)) return 0;
      out += FieldRow(std::to_string(lane->Lane), individual ? EscapeHtml(athlete->BibText) : "",
                      individual ? EscapeHtml(athlete->Name) : "", EscapeHtml(class_node->ClassName), empty_cells);
      ++rows;
    }
    // The last page of the heat is filled up with numbered empty rows.
    if (rows % kFieldPageRows != 0)
      for (int number = rows % kFieldPageRows + 1; number <= kFieldPageRows; ++number)
        out += FieldRow(std::to_string(number), "", "", "", empty_cells);
  }
  if (!first_head) out += "</table><br />记录员：____________________裁判员：____________________</div></div>";
  return 1;
}

int PrintRoundCheckIn(std::string& out, const RoundNode& round, const EventNode& event, const GroupNode& group,
                      std::span<const LaneNode> lanes) {
  BuildSheetOfType(out, round, event, group, lanes, 0);
  return 0;
}

int BuildSessionCheckInSheets(std::string& out, int session, int kind, int heats) {
  const MeetModel& meet = Model();
  if (meet.LaneList.empty()) {
    out = "<tr><td>无数据可打印，请先至“秩序册管理”中生成秩序册！</td></tr>";
    return 2;
  }
  std::vector<const RoundNode*> rounds;
  for (const RoundNode& round : meet.RoundList) {
    if (round.Session != session || round.Disabled != 0) continue;
    if (heats == 1 ? round.Kind == kFinalAfterPrelim : round.Kind != kFinalAfterPrelim) continue;
    // A round nobody entered has no sheet; the others of the half-day do.
    if (LanesOfRound(round.Id).empty()) continue;
    const ContestNode* contest = nullptr;
    for (const ContestNode& c : meet.ContestList)
      if (c.Id == round.ContestId) contest = &c;
    // The event decides the kind: the part's own event for a part of a
    // combined event. A round whose contest is gone is reported below.
    const EventNode* event = FindEventById(round.PartEventId != 0 ? round.PartEventId : contest ? contest->EventId : 0);
    if (contest && (!event || event->BiSaiType != kind)) continue;
    rounds.push_back(&round);
  }
  std::stable_sort(rounds.begin(), rounds.end(),
                   [](const RoundNode* a, const RoundNode* b) { return a->Order < b->Order; });
  if (rounds.empty()) {
    out = "<tr><td>无数据！</td></tr>";
    return 1;
  }
  int page_count = 0;
  int previous_type = -1;
  for (const RoundNode* round : rounds) {
    const ContestNode* contest = FindContestById(round->ContestId);  // a miss logs 12550
    if (!contest) return 0;
    const EventNode* event = FindEventOfRound(*round);
    if (!event) return 0;
    const GroupNode* group = FindGroupById(contest->GroupId);  // a miss logs 123511
    if (!group) return 0;
    const std::span<const LaneNode> lanes = LanesOfRound(round->Id);
    if (previous_type != -1 && event->JiLuBiaoType != previous_type) page_count = kNewPage;
    previous_type = event->JiLuBiaoType;
    page_count = BuildSheetOfType(out, *round, *event, *group, lanes, page_count);
  }
  return 0;
}

}  // namespace korva
