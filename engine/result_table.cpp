#include "engine/result_table.h"

#include <algorithm>
#include <vector>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/lookups.h"
#include "database/open_meet.h"
#include "database/print_queue.h"
#include "engine/round_lookups.h"
#include "engine/score_text.h"
#include "web/escape.h"

namespace korva {

namespace {

// One row of a result table and what sorts it.
struct ResultRow {
  const LaneNode* lane = nullptr;
  int key = 0;
};

// The rows of a round: one per lane unit, only qualifiers (preliminary) or
// placed athletes (other rounds), sorted stably by result or by place.
std::vector<ResultRow> CollectRows(const RoundNode& round, std::span<const LaneNode> lanes) {
  std::vector<ResultRow> rows;
  const LaneNode* previous = nullptr;
  for (const LaneNode& lane : lanes) {
    const bool same_unit = previous && previous->Heat == lane.Heat && previous->Lane == lane.Lane;
    previous = &lane;
    if (same_unit) continue;
    if (round.Kind == kPrelim ? IsAthleteInFinal(round.Id, lane.AthleteId) == 0 : lane.Place == 0) continue;
    rows.push_back({&lane, round.Kind == kPrelim ? lane.Result : lane.Place});
  }
  // A preliminary is listed by ascending result whatever the event's
  // direction, as the printed lists have always shown it.
  std::stable_sort(rows.begin(), rows.end(), [](const ResultRow& a, const ResultRow& b) { return a.key < b.key; });
  return rows;
}

const char* RemarkText(int record_flag) {
  return record_flag == 2 ? "破记录" : record_flag == 1 ? "平记录" : "";
}

}  // namespace

std::string FormatRoundTitle(const GroupNode& group, const EventNode& event, int round_kind) {
  const char* sex = event.TuanTiType == 3 ? "" : group.Sex == 1 ? "男子" : "女子";
  const char* team = event.TuanTiType == 2 ? "团队" : event.TuanTiType == 3 ? "混团" : "";
  return group.GradeName + " " + sex + " " + team + " " + event.Name + " " +
         (round_kind == kPrelim ? "预赛" : "决赛");
}

std::string BuildResultTableBlock(const EventNode& event, const std::string& title, const RoundNode& round,
                                  const GroupNode& group, std::span<const LaneNode> lanes) {
  const std::vector<ResultRow> rows = CollectRows(round, lanes);
  if (rows.empty()) return {};
  const std::string unit = EscapeHtml(event.Unit);
  std::string block =
      "<div class=\"GSdiv\">\r\n  <div>\r\n  <div style=\"float:left\">" + EscapeHtml(title) +
      "</div>\r\n <div style=\"float:right\">单位：" + unit +
      "&nbsp;&nbsp;</div>\r\n </div> <br />\r\n <table width=\"99%\" border=\"1\">\r\n  <tr align=\"center\">\r\n"
      "    <td>序号</td>\r\n    <td>号码</td>\r\n    <td>姓名</td>\r\n    <td>班级</td>\r\n"
      "    <td>比赛成绩</td>\r\n    <td>" +
      (round.Kind == kPrelim ? "进入决赛" : "名次") + "</td>\r\n    <td>得分</td>\r\n\t<td>备注</td>\r\n  </tr>\r\n";
  int r = 0;
  for (const ResultRow& row : rows) {
    const LaneNode& lane = *row.lane;
    const AthleteNode* athlete = FindAthleteById(lane.AthleteId);
    const ClassNode* class_node = athlete ? FindClassNode(athlete->ClassId, group.GradeId) : nullptr;
    if (!class_node) return {};
    const bool individual = event.TuanTiType == 1;
    const std::string result =
        lane.Result == kNoResult ? std::string() : EscapeHtml(FormatScoreText(lane.Result, event.Unit)) + unit;
    const std::string points = lane.Points != 0 ? FormatPoints(lane.Points) : "&nbsp;";
    block += "<tr align=\"center\">\r\n<td style=\"text-align:center;\">" + std::to_string(++r) +
             "</td>\r\n    <td>" + (individual ? EscapeHtml(athlete->BibText) : "&nbsp;") + "</td>\r\n    <td>" +
             (individual ? EscapeHtml(athlete->Name) : "&nbsp;") + "</td>\r\n    <td>" +
             EscapeHtml(class_node->ClassName) + "</td>\r\n    <td>" + result + "</td>\r\n";
    if (round.Kind == kPrelim) {
      block += "    <td>录取</td>\r\n\t<td>" + points + "</td>\r\n    <td>";
    } else {
      block += "\t<td>第" + std::to_string(lane.Place) + "名</td>\r\n\t<td>" + points + "</td>\r\n    <td>";
    }
    block += std::string(RemarkText(lane.RecordFlag)) + "</td>\r\n</tr>\r\n";
  }
  return block + "</table></div>\r\n";
}

namespace {

ResultPrintItem MakeItem(const GroupNode& group, const RoundNode& round, const EventNode& event) {
  ResultPrintItem item;
  item.RoundId = round.Id;
  item.EventType = event.BiSaiType;
  item.RoundKind = round.Kind;
  item.GradeId = group.GradeId;
  item.CompletionStamp = round.CompletionStamp;
  item.Title = FormatRoundTitle(group, event, round.Kind);
  item.ResultTable = BuildResultTableBlock(event, item.Title, round, group, LanesOfRound(round.Id));
  return item;
}

}  // namespace

int QueueResultPrintItem(const GroupNode& group, const RoundNode& round, const EventNode& event) {
  return PushPrintQueueItem(MakeItem(group, round, event));
}

void RebuildPrintQueue() {
  MeetModel& model = Model();
  model.PrintQueue.clear();
  std::vector<ResultPrintItem> queue;
  for (const RoundNode& round : model.RoundList) {
    if (round.CompletionStamp <= 0) continue;
    const ContestNode* contest = FindContestById(round.ContestId);
    const EventNode* event = contest ? FindEventOfRound(round) : nullptr;
    const GroupNode* group = event ? FindGroupById(contest->GroupId) : nullptr;
    if (!group || LanesOfRound(round.Id).empty()) return;
    ResultPrintItem item = MakeItem(*group, round, *event);
    item.ResultPrints = round.ResultPrints;
    item.CertificatePrints = round.CertificatePrints;
    auto at = std::find_if(queue.begin(), queue.end(), [&](const ResultPrintItem& older) {
      return older.CompletionStamp <= item.CompletionStamp;
    });
    queue.insert(at, std::move(item));
  }
  // Down from the highest number given out, so a board left open from
  // before never meets a number it holds already; one below the head
  // reloads on the flag.
  model.PrintQueueTop = std::max(model.PrintQueueTop, static_cast<int>(queue.size()));
  int sequence = model.PrintQueueTop;
  for (ResultPrintItem& item : queue) item.Sequence = sequence--;
  if (!queue.empty()) queue.front().Refresh = 1;
  model.PrintQueue = std::move(queue);
}

void AttachPrintQueue() {
  DataGuard hold(DataLock);
  SetPrintQueueRebuildHook(RebuildPrintQueue);
  if (Model().CurrentMeetId != 0) RebuildPrintQueue();
}

}  // namespace korva
