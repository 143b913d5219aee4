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

}  // namespace

std::string FormatRoundTitle(const GroupNode& group, const EventNode& event, int round_kind) {
  const char* sex = event.TuanTiType == 3 ? "" : group.Sex == 1 ? "男子" : "女子";
  const char* team = event.TuanTiType == 2 ? "团队" : event.TuanTiType == 3 ? "混团" : "";
  return group.GradeName + " " + sex + " " + team + " " + event.Name + " " +
         (round_kind == kPrelim ? "预赛" : "决赛");
}

std::vector<ResultTableRow> CollectResultRows(const EventNode& event, const RoundNode& round,
                                              const GroupNode& group, std::span<const LaneNode> lanes) {
  std::vector<ResultTableRow> table;
  for (const ResultRow& row : CollectRows(round, lanes)) {
    const LaneNode& lane = *row.lane;
    const AthleteNode* athlete = FindAthleteById(lane.AthleteId);
    const ClassNode* class_node = athlete ? FindClassNode(athlete->ClassId, group.GradeId) : nullptr;
    if (!class_node) return {};
    const bool individual = event.TuanTiType == 1;
    table.push_back({.BibText = individual ? athlete->BibText : std::string(),
                     .Name = individual ? athlete->Name : std::string(),
                     .ClassName = class_node->ClassName,
                     .Result = lane.Result,
                     .Place = lane.Place,
                     .Points = lane.Points,
                     .RecordFlag = lane.RecordFlag});
  }
  return table;
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
  item.ResultRows = CollectResultRows(event, round, group, LanesOfRound(round.Id));
  item.Unit = event.Unit;
  item.Individual = event.TuanTiType == 1;
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
  AssertDataLockHeld(true);
  SetPrintQueueRebuildHook(RebuildPrintQueue);
  if (Model().CurrentMeetId != 0) RebuildPrintQueue();
}

}  // namespace korva
