#include "pages/meet/reports.h"

#include <algorithm>
#include <vector>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "engine/school_records.h"
#include "engine/score_text.h"
#include "web/escape.h"

namespace korva {

namespace {

constexpr const char* kPasteTip =
    "<img src=\"tip.jpg\" />如果需要编辑打印，请先选中下面的内容，然后右键复制，再粘贴到Excel中即可！";

const char* SexText(int sex) { return sex == 1 ? "男子" : "女子"; }

// "(平记录)", "(破记录)" or nothing, behind a placing's points.
const char* RecordNote(int flag) { return flag == 1 ? "(平记录)" : flag == 2 ? "(破记录)" : ""; }

const char* RemarkText(int flag) { return flag == 2 ? "破记录" : flag == 1 ? "平记录" : ""; }

// A result with its unit, escaped; empty without a result.
std::string ResultWithUnit(ScoreValue value, const std::string& unit) {
  if (value == kNoResult) return {};
  return EscapeHtml(FormatScoreText(value, unit) + unit);
}

bool IsTeamEvent(const EventNode& event) { return event.TuanTiType != 1; }

// One line of a class's scoring result in the points table.
std::string ScoringLine(const LaneNode& lane, const RoundNode& round, const EventNode& event) {
  const AthleteNode* athlete = FindAthleteById(lane.AthleteId);
  const std::string sex = athlete && event.TuanTiType != 3 ? SexText(athlete->Sex) : "";
  const std::string what = sex + EscapeHtml(event.Name);
  const std::string points = FormatPoints(lane.Points);
  // In a preliminary the only points are a record bonus.
  if (round.Kind == kPrelim) {
    const std::string who = IsTeamEvent(event) ? "本班" : athlete ? EscapeHtml(athlete->Name) : "";
    return who + "在" + what + "预赛中" + (lane.RecordFlag == 1 ? "平" : "破") + "记录得" + points + "；<br />";
  }
  const std::string placing = "第" + std::to_string(lane.Place) + "名得" + points + RecordNote(lane.RecordFlag);
  if (IsTeamEvent(event)) return "本班获" + what + placing + "；<br />";
  return (athlete ? EscapeHtml(athlete->Name) : "") + "获" + what + placing + "；<br />";
}

// The heading of a round in the result tables: "n、grade sex team event".
std::string RoundHeading(int number, const GroupNode& group, const EventNode& event) {
  const char* sex = event.TuanTiType == 3 ? "" : group.Sex == 1 ? "男子组" : "女子组";
  const char* team = event.TuanTiType == 3 ? "混团" : event.TuanTiType == 2 ? "团队" : "";
  return std::to_string(number) + "、" + EscapeHtml(group.GradeName) + sex + team + EscapeHtml(event.Name) +
         "<br>\r\n";
}

// The table of a round's placed entries, a class team once, by place;
// "【比赛未完成】" when none. False when an athlete or a class is missing.
bool AppendPlacedEntries(const RoundNode& round, const EventNode& event, std::string& out) {
  const std::span<const LaneNode> lanes = LanesOfRound(round.Id);
  std::vector<const LaneNode*> placed;
  for (std::size_t i = 0; i < lanes.size(); ++i) {
    if (lanes[i].Place <= 0 || (IsTeamEvent(event) && RepeatsLaneUnit(lanes, i))) continue;
    placed.push_back(&lanes[i]);
  }
  if (placed.empty()) {
    out += "【比赛未完成】<br>\r\n";
    return true;
  }
  std::stable_sort(placed.begin(), placed.end(),
                   [](const LaneNode* a, const LaneNode* b) { return a->Place < b->Place; });
  out += "<table width=\"99%\" border=\"1\">\r\n<tr align=\"center\"><td>序号</td><td>号码</td><td>姓名</td>"
         "<td>班级</td><td>比赛成绩</td><td>名次</td><td>得分</td><td>备注</td></tr>\r\n";
  int row = 0;
  for (const LaneNode* lane : placed) {
    const AthleteNode* athlete = FindAthleteById(lane->AthleteId);
    const ClassNode* class_node = athlete ? FindClassNode(athlete->ClassId, athlete->GradeId) : nullptr;
    if (!class_node) return false;
    const bool individual = !IsTeamEvent(event);
    out += "<tr>\r\n<td style=\"line-height:200%; text-align:center;\">" + std::to_string(++row) +
           "</td>\r\n    <td align=\"center\">" + (individual ? EscapeHtml(athlete->BibText) : "&nbsp;") +
           "</td>\r\n    <td align=\"center\">" + (individual ? EscapeHtml(athlete->Name) : "&nbsp;") +
           "</td>\r\n    <td align=\"center\">" + EscapeHtml(class_node->ClassName) +
           "</td>\r\n    <td align=\"center\">" + ResultWithUnit(lane->Result, event.Unit) +
           "</td>\r\n\t<td align=\"center\">第" + std::to_string(lane->Place) + "名</td>\r\n\t<td align=\"center\">" +
           (lane->Points != 0 ? FormatPoints(lane->Points) : "&nbsp;") + "</td>\r\n    <td align=\"center\">" +
           RemarkText(lane->RecordFlag) + "</td>\r\n</tr>\r\n";
  }
  out += "</table>\r\n<br>";
  return true;
}

// The cells of one record: boys' start with the grade name, girls' do not.
std::string RecordCells(const RecordNode* record, const EventNode& event, const std::string& grade_name,
                        bool boys) {
  std::string class_name;
  std::string holder;
  std::string style;
  std::string title;
  std::string result;
  if (record) {
    class_name = EscapeHtml(record->ClassName);
    if (!IsTeamEvent(event)) holder = EscapeHtml(record->HolderName);
    if (record->MeetName == Model().MeetName) style = " style=\"color:#60F; font-weight:bold;\"";
    if (!record->MeetName.empty() && !record->ClassName.empty())
      title = EscapeHtml("在" + record->MeetName + "中由" + record->ClassName + record->HolderName + "创造！");
    result = ResultWithUnit(record->Value, event.Unit);
  }
  std::string cells = boys ? "<td>" + EscapeHtml(grade_name) + "</td>" : "";
  return cells + "<td>" + class_name + "</td><td>" + holder + "</td>\r\n\t\t\t\t\t\t<td" + style +
         "><abbr title=\"" + title + "\">" + result + "</abbr></td>\r\n";
}

}  // namespace

bool RepeatsLaneUnit(std::span<const LaneNode> lanes, std::size_t i) {
  if (i == 0 || i >= lanes.size()) return false;
  const LaneNode& a = lanes[i - 1];
  const LaneNode& b = lanes[i];
  return a.RoundId == b.RoundId && a.Heat == b.Heat && a.Lane == b.Lane;
}

std::string BuildTotalPointsTable() {
  AssertDataLockHeld();
  const MeetModel& model = Model();
  std::string out = std::string(kPasteTip) +
                    "<br /><h1 align=\"center\">总 分 表</h1>\r\n<table  width=\"100%\" border=\"1\"><tr><td>序号</td>"
                    "<td>年级</td><td>班级</td><td>得分列表</td><td>总分</td></tr>\r\n";
  const std::span<const LaneNode> lanes = model.LaneList;
  int number = 0;
  for (const ClassNode& class_node : model.ClassList) {
    std::string lines;
    PointsValue total = 0;
    for (std::size_t i = 0; i < lanes.size(); ++i) {
      const LaneNode& lane = lanes[i];
      if (lane.ClassId != class_node.ClassId || lane.Points <= 0) continue;
      const RoundNode* round = FindRoundById(lane.RoundId);
      const EventNode* event = round ? FindEventOfRound(*round) : nullptr;
      if (!event) continue;
      // A class team scores once per round: its later members carry the
      // same points. (A team's record bonus in a preliminary and its final
      // placing are two scores.)
      if (IsTeamEvent(*event) && RepeatsLaneUnit(lanes, i)) continue;
      lines += ScoringLine(lane, *round, *event);
      total += lane.Points;
    }
    out += "<tr><td>" + std::to_string(++number) + "</td><td>" + EscapeHtml(class_node.GradeName) + "</td><td>" +
           EscapeHtml(class_node.ClassName) + "</td><td>" + lines + "</td><td>" + FormatPoints(total) +
           "</td></tr>";
  }
  return out + "</table><br /><br />END";
}

std::string BuildResultTables() {
  AssertDataLockHeld();
  std::string track = "<br /><p><h1 align=\"center\">径 赛 成 绩 表</h1></p>\r\n";
  std::string field = "<br /><p><h1 align=\"center\">田 赛 成 绩 表</h1></p>\r\n";
  int numbers[4] = {0, 0, 0, 0};  // by event type: track, field, combined
  for (const RoundNode& round : Model().RoundList) {
    if (round.Kind == kPrelim) continue;
    const ContestNode* contest = FindContestById(round.ContestId);
    if (!contest) {
      ShowDataErrorCode(112391);
      continue;
    }
    const GroupNode* group = FindGroupById(contest->GroupId);
    if (!group) {
      ShowDataErrorCode(112381);
      continue;
    }
    const EventNode* event = FindEventOfRound(round);
    if (!event) {
      ShowDataErrorCode(112481);
      continue;
    }
    const int type = event->BiSaiType >= 1 && event->BiSaiType <= 3 ? event->BiSaiType : 3;
    const int number = ++numbers[type];
    // Combined events are numbered but not shown.
    if (type == 3) continue;
    std::string& part = type == 1 ? track : field;
    part += RoundHeading(number, *group, *event);
    if (!AppendPlacedEntries(round, *event, part)) return {};
  }
  return kPasteTip + track + field + "<br /><br />END";
}

std::string BuildRecordsTable() {
  AssertDataLockHeld();
  const std::vector<GradeOption> grades = LoadGradeOptions();
  std::string rows;
  for (const EventNode& event : Model().EventList) {
    for (std::size_t g = 0; g < grades.size(); ++g) {
      const GradeOption& grade = grades[g];
      rows += g == 0 ? "<tr align=\"center\">\r\n<td rowspan=\"" + std::to_string(grades.size()) + "\">" +
                           EscapeHtml(event.Name) + "</td>"
                     : std::string("<tr align=\"center\">\r\n");
      for (int sex : {1, 2}) {
        const RecordNode* record = FindRecordNode(grade.GradeName, sex, 0, event.Name, kPrelim);
        rows += RecordCells(record, event, grade.GradeName, sex == 1);
      }
      rows += "</tr>";
    }
  }
  return std::string(kPasteTip) +
         "蓝色成绩为当前运动会产生的记录成绩。<h1 align=\"center\">最高记录成绩表</h1>\r\n"
         "<table width=\"100%\" border=\"1\">\r\n<tr align=\"center\"><td rowspan=\"2\">比赛项目</td>"
         "<td rowspan=\"2\">年级</td><td colspan=\"3\">男子组</td><td colspan=\"3\">女子组</td></tr>\r\n"
         "<tr align=\"center\"><td>班级</td><td>姓名</td><td>成绩</td><td>班级</td><td>姓名</td><td>成绩</td></tr>\r\n" +
         rows + "</table>";
}

std::string BuildStudentScoreList() {
  AssertDataLockHeld();
  const MeetModel& model = Model();
  for (const LaneNode& lane : model.LaneList)
    if (lane.Result == kNoResult && lane.Status == 0)
      return "当前运动会未全部完成，还有部分运动员成绩未录入，无法生成学生成绩清单！";
  std::string out =
      "<img src=\"tip.jpg\" />先选中下面的内容，然后右键复制，再粘贴到Excel中整理一下即可导入到学籍系统中！\r\n"
      "<h1 align=\"center\">学生成绩表</h1>\r\n<table width=\"100%\" border=\"1\"><tr><td>年级</td><td>班级</td>"
      "<td>号码</td><td>姓名</td><td>比赛项目</td><td>成绩</td><td>名次</td></tr>";
  for (const ClassNode& class_node : model.ClassList) {
    for (const LaneNode& lane : model.LaneList) {
      // Every member of a team is a pupil with the team's placing; a
      // qualifier of a preliminary has no placing of his own yet.
      if (lane.ClassId != class_node.ClassId || lane.Place == 0 || lane.Place == 999) continue;
      const AthleteNode* athlete = FindAthleteById(lane.AthleteId);
      if (!athlete) return "错误号9393，请通知管理员！";
      const RoundNode* round = FindRoundById(lane.RoundId);
      const EventNode* event = round ? FindEventOfRound(*round) : nullptr;
      if (!event) continue;
      out += "<tr><td>" + EscapeHtml(class_node.GradeName) + "</td><td>" + EscapeHtml(class_node.ClassName) +
             "</td><td>" + EscapeHtml(athlete->BibText) + "</td><td>" + EscapeHtml(athlete->Name) + "</td><td>" +
             EscapeHtml(event->Name) + "</td><td>" + ResultWithUnit(lane.Result, event->Unit) + "</td><td>第" +
             std::to_string(lane.Place) + "名</td></tr>\r\n";
    }
  }
  return out + "</table><br /><br />END";
}

}  // namespace korva
