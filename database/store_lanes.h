#pragma once
// Store functions of lanes and results. Each takes DataLock itself. A
// failure leaves the file and the lists as they were.
#include <span>

#include "database/model.h"

namespace korva {

// Inserts one row per lane (the result column stays NULL). All or none:
// 0 / 1 (data error 450). LaneList is the caller's.
[[nodiscard]] int InsertLaneList(std::span<const LaneNode> lanes);

// Gives the lanes consecutive new lane-row ids and inserts them. 0 / 1
// (the ids are then unchanged).
[[nodiscard]] int InsertNewLanes(std::span<LaneNode> lanes);

// Deletes a round's lane rows; LaneList is the caller's. 0 / 1 (data
// error 175).
[[nodiscard]] int DeleteRoundLanes(int round_id);

// Deletes one lane row by its id; LaneList is the caller's. 0 / 1 (data
// error 175).
[[nodiscard]] int DeleteLaneRow(int lane_row_id);

// Writes result (kNoResult as NULL), status, place 0, points and record
// flag into every row of the lane's round, heat and lane, so every member
// of a team. 0 / 1 (data error 178).
[[nodiscard]] int SaveLaneResult(const LaneNode& lane, ScoreValue result, int status, PointsValue points,
                   int record_flag);

// Writes the lane's place, points and record flag into every row of its
// round, heat and lane. 0 / 1 (data error 178).
[[nodiscard]] int SaveLanePlacing(const LaneNode& lane);

// Clears a round's earlier ranking before it is ranked again: for a
// preliminary whose contest has a final the final's lanes go (file and
// LaneList); for a preliminary without a final nothing changes; for any
// other round its places, points and flags become NULL (0 in LaneList).
// In both changing cases the round leaves the print queue and its four
// print counters become 0. 0 done; 1 database error (data error 1231467
// or 78213; nothing changes).
[[nodiscard]] int ClearRoundRanking(RoundNode& round);

// Looks at the athlete's first lane in the contest's preliminary: 1 when
// its record flag is above flag_limit; when the flag is 1 to flag_limit
// the lane (every member of it) loses flag and points, keeping its place,
// in the file and in LaneList, and the answer is 0; 0 also when there is
// no preliminary, no lane or no flag; -1 after a database error (data
// error 178; this call changed nothing). Neither 1 nor 0 is true after -1,
// so the caller (ranking) can't finish soundly: it rolls its whole unit
// back, reloads LaneList and answers as after any failed save.
[[nodiscard]] int ResetPrelimLaneFlag(int contest_id, int athlete_id, int flag_limit);

}  // namespace korva
