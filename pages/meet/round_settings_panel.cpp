#include "pages/meet/round_settings_panel.h"

#include "database/lookups.h"
#include "database/model.h"
#include "web/escape.h"
#include "web/select_options.h"

namespace korva {

namespace {

constexpr const char* kExplanation =
    "<p>说明：<br />1、此功能可以在比赛时调整各项比赛的预赛录取人数与决赛取名次数！如果比赛成绩已经录入，"
    "则请在此调整好之后，再到成绩录入处，删除一个成绩，然后再录入该成绩，以便重新录取或取名次！<br />\r\n"
    "2、团队赛的多倍计分可到比赛设置中进行修改。<br />\r\n3、增加删除分制请至“系统设置”-“得分分制设置”。</p>";

// The preliminary's qualifiers, shown in span "<row>1" between its buttons.
std::string QualifiersCell(int contest_id, int row, int qualifiers) {
  const std::string c = std::to_string(contest_id);
  const std::string id = std::to_string(row) + "1";
  return "<td>\r\n<input name=\"A1\" type=\"button\" onclick=\"changeBSSJ(11," + c + "," + id +
         ");\" value=\"减\" title=\"减少预赛录取人数\" />\r\n取<span id=\"" + id + "\">" + std::to_string(qualifiers) +
         "</span>人决\r\n<input name=\"A2\" type=\"button\" onclick=\"changeBSSJ(12," + c + "," + id +
         ");\" value=\"增\" title=\"增加预赛录取人数\" /></td>\r\n";
}

// The final's places, shown in span "<row>2" between its buttons.
std::string PlacesCell(int contest_id, int row, int places) {
  const std::string c = std::to_string(contest_id);
  const std::string id = std::to_string(row) + "2";
  return "<td>\r\n<input name=\"A3\" type=\"button\" onclick=\"changeBSSJ(13," + c + "," + id +
         ");\" value=\"减\"  title=\"减少决赛取名次数\"/>\r\n取前<span id=\"" + id + "\">" + std::to_string(places) +
         "</span>名\r\n<input name=\"A4\" type=\"button\" onclick=\"changeBSSJ(14," + c + "," + id +
         ");\" value=\"增\"  title=\"增加决赛取名次数\"/>\r\n</td>\r\n";
}

std::string SchemeCell(const ContestNode& contest, const GroupNode& group, int row) {
  const int current = contest.SchemeId != 0 ? contest.SchemeId : group.SchemeId;
  std::string options;
  bool found = false;
  for (const ScoringSchemeNode& scheme : Model().ScoringSchemeList) {
    const bool selected = scheme.Id == current;
    found = found || selected;
    options += OptionLine(scheme.Id, EscapeHtml(scheme.Name), selected);
  }
  const std::string r = std::to_string(row);
  return std::string("<td>") + (found ? "" : "<font color=\"#FF0000\">分制缺失，请重选分制</font>") +
         "<select id=\"fzC" + r + "\" onchange=\"changeBsFz(" + r + "," + std::to_string(contest.Id) + ");\">\r\n" +
         (found ? "" : "<option value=\"0\"></option>") + options + "</select>";
}

}  // namespace

void BuildChangeRoundDataPage(std::string& panel, int kind) {
  const MeetModel& model = Model();
  if (model.ContestList.empty() || model.RoundList.empty()) {
    panel = "当前无比赛数据,生成秩序册后才能进行调整！";
    return;
  }
  panel = std::string("<div style=\"margin:5px;\">") + (kind == 1 ? "[更改径赛比赛数据]" : "[更改田赛比赛数据]") +
          "</div>\r\n<div style=\"text-align:center\">\r\n<table width=\"100%\" border=\"1\">\r\n<tr>\r\n"
          "<td>序号</td>\r\n<td>比赛</td><td>参赛<br />人数</td>\r\n<td>预赛录取</td>\r\n<td>取名次</td>\r\n"
          "<td>得分分制</td>\r\n</tr>";
  int row = 0;
  for (const ContestNode& contest : model.ContestList) {
    const EventNode* event = FindEventById(contest.EventId);
    if (!event) {
      panel = "比赛数据错误，错误号16421！";
      return;
    }
    if (event->BiSaiType != kind) continue;
    const GroupNode* group = FindGroupById(contest.GroupId);
    if (!group) {
      panel = "比赛数据错误，错误号16422！";
      return;
    }
    const bool mixed = event->TuanTiType == 3;
    const RoundNode* round = FindRoundByContestAndKind(contest.Id, contest.HasPrelim != 0 ? kPrelim : kDirectFinal);
    if (!round) {
      // A mixed team runs under one sex's contest only.
      if (mixed) continue;
      panel = "比赛数据错误，错误号16423！";
      return;
    }
    // A preliminary the draw found needless leaves its entrants to the
    // final it made a single one.
    const RoundNode* running = round;
    if (round->Disabled != 0) {
      if (const RoundNode* single = FindRoundByContestAndKind(contest.Id, kDirectFinal)) running = single;
    }
    ++row;
    panel += "<tr>\r\n<td>" + std::to_string(row) + "</td>\r\n<td>" + EscapeHtml(group->GradeName) +
             (mixed             ? ""
              : group->Sex == 1 ? "男子"
                                : "女子") +
             EscapeHtml(event->Name) + (event->TuanTiType == 2 ? "(团队赛)" : "") + (mixed ? "(男女混团赛)" : "") +
             "</td>\r\n<td>" + std::to_string(running->Entrants) + (event->TuanTiType == 1 ? "人" : "组") + "</td>\r\n";
    panel += contest.HasPrelim != 0 ? QualifiersCell(contest.Id, row, contest.Qualifiers) : "<td></td>";
    panel += PlacesCell(contest.Id, row, contest.Places);
    panel += SchemeCell(contest, *group, row);
    if (event->TuanTiType != 1 && event->DeFenJiSuan > 1) {
      panel += "<br /><span title=\"团队赛的多倍计分可到比赛设置中进行修改。\" style=\"color:#F00\">" +
               std::to_string(event->DeFenJiSuan) + "倍计分</span>";
    }
    panel += "</td></tr>";
  }
  panel += "</table></div>";
  if (row == 0) panel = std::string("<p>当前运动会无") + (kind == 1 ? "径" : "田") + "赛数据！</p>\r\n";
  panel += kExplanation;
}

}  // namespace korva
