#include "database/store_lanes.h"

#include <algorithm>
#include <vector>

#include "database/connections.h"
#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/lookups.h"
#include "database/print_queue.h"
#include "database/store_common.h"
#include "database/store_rounds.h"

namespace korva {

namespace {

bool UpdatePlacing(Connection& meet, const LaneNode& lane, int place, PointsValue points, int flag) {
  return Execute(meet,
                 "UPDATE qrtb479 SET qrtb487 = ?, qrtb488 = ?, qrtb489 = ?"
                 " WHERE qrtb481 = ? AND qrtb482 = ? AND qrtb483 = ?",
                 place, points, flag, lane.RoundId, lane.Heat, lane.Lane);
}

// Zero print counters written with the round's other values.
RoundNode WithoutPrints(const RoundNode& round) {
  RoundNode cleared = round;
  cleared.CertificatePrints = cleared.CheckInPrints = cleared.ResultPrints = 0;
  cleared.CompletionStamp = 0;
  return cleared;
}

}  // namespace

int InsertLaneList(std::span<const LaneNode> lanes) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  Statement st(meet,
               "INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb486, qrtb487,"
               " qrtb488, qrtb489) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
  bool saved = unit.ok() && st.ok();
  for (const LaneNode& lane : lanes) {
    if (!saved) break;
    st.Reset();
    st.Bind(lane.Id).Bind(lane.RoundId).Bind(lane.Heat).Bind(lane.Lane).Bind(lane.AthleteId)
        .Bind(lane.Status).Bind(lane.Place).Bind(lane.Points).Bind(lane.RecordFlag);
    saved = st.Run();
  }
  if (!saved || !unit.Commit()) {
    ShowDataErrorCode(450);
    return 1;
  }
  return 0;
}

int InsertNewLanes(std::span<LaneNode> lanes) {
  DataGuard hold(DataLock);
  int next = GetNextId("qrtb479", "qrtb480", false);
  if (next == 0) return 1;
  std::vector<int> old_ids;
  for (LaneNode& lane : lanes) {
    old_ids.push_back(lane.Id);
    lane.Id = next++;
  }
  if (InsertLaneList(lanes) == 0) return 0;
  for (std::size_t i = 0; i < lanes.size(); ++i) lanes[i].Id = old_ids[i];
  return 1;
}

int DeleteRoundLanes(int round_id) {
  DataGuard hold(DataLock);
  if (!Execute(MeetConnection(), "DELETE FROM qrtb479 WHERE qrtb481 = ?", round_id)) {
    ShowDataErrorCode(175);
    return 1;
  }
  return 0;
}

int DeleteLaneRow(int lane_row_id) {
  DataGuard hold(DataLock);
  if (!Execute(MeetConnection(), "DELETE FROM qrtb479 WHERE qrtb480 = ?", lane_row_id)) {
    ShowDataErrorCode(175);
    return 1;
  }
  return 0;
}

int SaveLaneResult(const LaneNode& lane, ScoreValue result, int status, PointsValue points,
                   int record_flag) {
  DataGuard hold(DataLock);
  Statement st(MeetConnection(),
               "UPDATE qrtb479 SET qrtb485 = ?, qrtb486 = ?, qrtb487 = 0, qrtb488 = ?, qrtb489 = ?"
               " WHERE qrtb481 = ? AND qrtb482 = ? AND qrtb483 = ?");
  st.BindOrNull(result, kNoResult).Bind(status).Bind(points).Bind(record_flag)
      .Bind(lane.RoundId).Bind(lane.Heat).Bind(lane.Lane);
  if (!st.Run()) {
    ShowDataErrorCode(178);
    return 1;
  }
  return 0;
}

int SaveLanePlacing(const LaneNode& lane) {
  DataGuard hold(DataLock);
  if (!UpdatePlacing(MeetConnection(), lane, lane.Place, lane.Points, lane.RecordFlag)) {
    ShowDataErrorCode(178);
    return 1;
  }
  return 0;
}

int ClearRoundRanking(RoundNode& round) {
  DataGuard hold(DataLock);
  MeetModel& model = Model();
  Connection& meet = MeetConnection();
  const RoundNode* final_round =
      round.Kind == kPrelim ? FindRoundByContestAndKind(round.ContestId, kFinalAfterPrelim) : nullptr;
  if (round.Kind == kPrelim && !final_round) return 0;

  Transaction unit(meet);
  bool cleared = unit.ok();
  if (final_round) {
    if (cleared && !Execute(meet, "DELETE FROM qrtb479 WHERE qrtb481 = ?", final_round->Id)) {
      ShowDataErrorCode(1231467);
      cleared = false;
    }
  } else if (cleared && !Execute(meet,
                                 "UPDATE qrtb479 SET qrtb487 = NULL, qrtb488 = NULL, qrtb489 = NULL"
                                 " WHERE qrtb481 = ?",
                                 round.Id)) {
    ShowDataErrorCode(78213);
    cleared = false;
  }
  cleared = cleared && SaveRoundCounters(WithoutPrints(round)) == 0 && unit.Commit();
  if (!cleared) return 1;

  auto& lanes = model.LaneList;
  if (final_round) {
    int final_id = final_round->Id;
    std::erase_if(lanes, [final_id](const LaneNode& l) { return l.RoundId == final_id; });
  } else {
    for (LaneNode& lane : lanes)
      if (lane.RoundId == round.Id) lane.Place = lane.Points = lane.RecordFlag = 0;
  }
  if (RemovePrintQueueItem(round) != 0) return 1;
  round = WithoutPrints(round);
  return 0;
}

int ResetPrelimLaneFlag(int contest_id, int athlete_id, int flag_limit) {
  DataGuard hold(DataLock);
  const RoundNode* prelim = FindRoundByContestAndKind(contest_id, kPrelim);
  if (!prelim) return 0;
  auto& lanes = Model().LaneList;
  auto lane = std::find_if(lanes.begin(), lanes.end(), [&](const LaneNode& l) {
    return l.RoundId == prelim->Id && l.AthleteId == athlete_id;
  });
  if (lane == lanes.end() || lane->RecordFlag == 0) return 0;
  if (lane->RecordFlag > flag_limit) return 1;
  // The lane keeps its place (a qualifier keeps 999); only the record flag
  // and its bonus go, in the file and in every member's node.
  if (!UpdatePlacing(MeetConnection(), *lane, lane->Place, 0, 0)) {
    ShowDataErrorCode(178);
    return -1;
  }
  LaneNode key = *lane;
  for (LaneNode& l : lanes)
    if (l.RoundId == key.RoundId && l.Heat == key.Heat && l.Lane == key.Lane)
      l.Points = l.RecordFlag = 0;
  return 0;
}

}  // namespace korva
