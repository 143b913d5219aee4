#include "pages/meet/result_sheet.h"

#include <algorithm>
#include <vector>

#include "database/lookups.h"
#include "engine/round_lookups.h"
#include "engine/score_text.h"
#include "web/escape.h"

namespace korva {

namespace {

// The lanes the sheet lists: a preliminary's athletes in the final (by
// result, whatever the event's direction), else the placed ones (by place);
// equal keys keep their LaneList order.
std::vector<const LaneNode*> SheetEntries(std::span<const LaneNode> lanes, const RoundNode& round) {
  const bool prelim = round.Kind == kPrelim;
  std::vector<const LaneNode*> entries;
  const LaneNode* taken = nullptr;
  for (const LaneNode& lane : lanes) {
    if (prelim ? IsAthleteInFinal(round.Id, lane.AthleteId) == 0 : lane.Place <= 0) continue;
    if (taken && taken->Lane == lane.Lane && taken->Heat == lane.Heat) continue;
    entries.push_back(&lane);
    taken = &lane;
  }
  std::stable_sort(entries.begin(), entries.end(), [prelim](const LaneNode* a, const LaneNode* b) {
    return prelim ? a->Result < b->Result : a->Place < b->Place;
  });
  return entries;
}

std::string SheetHead(const char* division, const RoundNode& round, const EventNode& event, const GroupNode& group) {
  const bool prelim = round.Kind == kPrelim;
  const char* team = event.TuanTiType == 3 ? "混团" : event.TuanTiType == 2 ? "团队" : "";
  const char* sex = event.TuanTiType == 3 ? "" : group.Sex == 1 ? "男子" : "女子";
  return std::string("<div class=\"") + division +
         "\">\r\n<div style=\"font-size:150%; text-align:center;\">竞  赛  成  绩  表</div><br />\r\n  <div>\r\n"
         "  <div style=\"float:left\">" +
         EscapeHtml(group.GradeName) + " " + sex + " " + team + " " + EscapeHtml(event.Name) + " " +
         (prelim ? "预赛" : "决赛") + "</div>\r\n <div style=\"float:right\">单位：" + EscapeHtml(event.Unit) +
         "&nbsp;&nbsp;</div>\r\n </div> <br />\r\n <table width=\"99%\" border=\"1\">\r\n  <tr>\r\n"
         "    <td align=\"center\">序号</td>\r\n    <td align=\"center\">号码</td>\r\n"
         "    <td align=\"center\">姓名</td>\r\n    <td align=\"center\">班级</td>\r\n"
         "    <td align=\"center\">比赛成绩</td>\r\n    <td align=\"center\">" +
         (prelim ? "进入决赛" : "名次") +
         "</td>\r\n    <td align=\"center\">得分</td>\r\n\t<td align=\"center\">备注</td>\r\n  </tr>\r\n";
}

const char* RecordMark(int record_flag) { return record_flag == 2 ? "破记录" : record_flag == 1 ? "平记录" : ""; }

}  // namespace

void BuildResultSheet(std::span<const LaneNode> lanes, std::string& out, const RoundNode& round,
                      const EventNode& event, const GroupNode& group) {
  const std::vector<const LaneNode*> entries = SheetEntries(lanes, round);
  if (entries.empty()) {
    out = "无数据！";
    return;
  }
  const std::string head = SheetHead(entries.size() >= 25 ? "jsfdfydiv" : "jsfzdiv", round, event, group);
  out += head;
  const bool individual = event.TuanTiType == 1;
  int lines = 3;
  int i = 0;
  for (const LaneNode* lane : entries) {
    if (lines > 20 && lines % 25 == 0) {
      out += "</table></div>" + head;
      lines = 3;
    }
    const AthleteNode* athlete = FindAthleteById(lane->AthleteId);
    const ClassNode* class_node = athlete ? FindClassNode(athlete->ClassId, group.GradeId) : nullptr;
    if (!class_node) return;
    const std::string points = lane->Points != 0 ? FormatPoints(lane->Points) : "&nbsp;";
    out += "<tr>\r\n<td style=\"line-height:200%; text-align:center;\">" + std::to_string(++i) +
           "</td>\r\n    <td align=\"center\">" + (individual ? EscapeHtml(athlete->BibText) : "&nbsp;") +
           "</td>\r\n    <td align=\"center\">" + (individual ? EscapeHtml(athlete->Name) : "&nbsp;") +
           "</td>\r\n    <td align=\"center\">" + EscapeHtml(class_node->ClassName) +
           "</td>\r\n    <td align=\"center\">" + EscapeHtml(FormatScoreText(lane->Result, event.Unit)) + "</td>\r\n";
    if (round.Kind == kPrelim) {
      out += "    <td align=\"center\">录取</td>\r\n";
    } else {
      out += "\t<td align=\"center\">第" + std::to_string(lane->Place) + "名</td>\r\n";
    }
    out += "\t<td align=\"center\">" + points + "</td>\r\n    <td align=\"center\">" + RecordMark(lane->RecordFlag) +
           "</td>\r\n</tr>\r\n";
    ++lines;
  }
  out += "</table></div>";
}

}  // namespace korva
