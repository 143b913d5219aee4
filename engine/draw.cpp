#include "engine/draw.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "database/connections.h"
#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "database/store_lanes.h"
#include "database/store_rounds.h"
#include "engine/draw_steps.h"
#include "engine/round_lookups.h"

namespace korva {

namespace {

// Writes what DrawRoundLanes changed for the drawn round. 0 / 1.
int StoreRoundDraw(const RoundDraw& draw, const RoundNode& drawn) {
  for (int id : draw.ClearedRoundIds)
    if (DeleteRoundLanes(id) != 0) return 1;
  for (int id : draw.SavedRoundIds) {
    const RoundNode* round = id == drawn.Id ? &drawn : FindRoundById(id);
    if (!round || SaveRound(*round) != 0) return 1;
  }
  if (draw.LaneCount == 0) return 0;
  std::span<const LaneNode> lanes(Model().LaneList.data() + draw.FirstLane, draw.LaneCount);
  return InsertLaneList(lanes);
}

int NextLaneRowId() {
  int largest = 0;
  for (const LaneNode& lane : Model().LaneList) largest = std::max(largest, lane.Id);
  return largest + 1;
}

// Each athlete's lanes, in LaneList order; valid until LaneList changes.
using LanesByAthlete = std::unordered_map<int, std::vector<const LaneNode*>>;

LanesByAthlete IndexLanesByAthlete() {
  LanesByAthlete index;
  for (const LaneNode& lane : Model().LaneList) index[lane.AthleteId].push_back(&lane);
  return index;
}

// IsAthleteUndrawn, given the athlete's lanes.
int IsUndrawnAmong(int contest_id, const std::vector<const LaneNode*>& lanes_of_athlete) {
  if (Model().LaneList.empty()) return 1;
  const ContestNode* contest = FindContestById(contest_id);
  if (!contest) {
    ShowDataErrorCode(29550);
    return 0;
  }
  const EventNode* event = FindEventById(contest->EventId);
  if (!event) {
    ShowDataErrorCode(28550);
    return 0;
  }
  int partner_id = 0;
  if (event->TuanTiType == 3) {
    if (const ContestNode* partner = FindOppositeSexContest(contest->GroupId, event->Id))
      partner_id = partner->Id;
  }
  for (const LaneNode* lane : lanes_of_athlete) {
    const RoundNode* round = FindRoundById(lane->RoundId);
    if (!round) {
      ShowDataErrorCode(27550);
      return 0;
    }
    const bool of_contest =
        round->ContestId == contest_id || (partner_id != 0 && round->ContestId == partner_id);
    if (of_contest && round->Disabled == 0) return 0;
  }
  return 1;
}

bool ContestHasRound(int contest_id) {
  const auto& rounds = Model().RoundList;
  return std::any_of(rounds.begin(), rounds.end(), [&](const RoundNode& r) { return r.ContestId == contest_id; });
}

// The contest whose rounds a contest's entrants run in: itself, or for a
// mixed team whose rounds the other sex's contest holds, that contest.
int RoundHoldingContest(int contest_id) {
  if (ContestHasRound(contest_id)) return contest_id;
  const ContestNode* contest = FindContestById(contest_id);
  const EventNode* event = contest ? FindEventById(contest->EventId) : nullptr;
  if (!event || event->TuanTiType != 3) return contest_id;
  const ContestNode* partner = FindOppositeSexContest(contest->GroupId, event->Id);
  return partner && ContestHasRound(partner->Id) ? partner->Id : contest_id;
}

}  // namespace

void SeedDrawRandom() {
  AssertDataLockHeld(true);
  std::srand(static_cast<unsigned>(std::time(nullptr)));
}

int DrawAllRounds() {
  AssertDataLockHeld(true);
  return DrawAllRounds(static_cast<unsigned>(std::time(nullptr)));
}

int DrawAllRounds(unsigned seed) {
  AssertDataLockHeld(true);
  std::srand(seed);
  Transaction unit(MeetConnection());
  if (!unit.ok()) return 1;
  int next_id = NextLaneRowId();
  auto& rounds = Model().RoundList;
  for (std::size_t i = 0; i < rounds.size(); ++i) {
    if (rounds[i].Kind == kFinalAfterPrelim) continue;
    const RoundDraw draw = DrawRoundLanes(rounds[i], next_id);
    if (draw.Result != 0) continue;
    if (StoreRoundDraw(draw, rounds[i]) != 0) {
      unit.Rollback();
      ReloadRoundsAndLanes();
      return 1;
    }
  }
  if (!unit.Commit()) {
    ReloadRoundsAndLanes();
    return 1;
  }
  return 0;
}

int DrawRound(RoundNode& round, int& next_lane_row_id, int& heats, int& entrants) {
  AssertDataLockHeld(true);
  Transaction unit(MeetConnection());
  if (!unit.ok()) return 1;
  const int first_id = next_lane_row_id;
  const RoundDraw draw = DrawRoundLanes(round, next_lane_row_id);
  if (draw.Result != 0) return 1;
  heats = draw.Count.Heats;
  entrants = draw.Count.Entrants;
  if (StoreRoundDraw(draw, round) != 0 || !unit.Commit()) {
    unit.Rollback();
    next_lane_row_id = first_id;
    ReloadRoundsAndLanes();
    return 1;
  }
  return 0;
}

int RedrawUndrawnContests() {
  AssertDataLockHeld(true);
  return RedrawUndrawnContests(static_cast<unsigned>(std::time(nullptr)));
}

int RedrawUndrawnContests(unsigned seed) {
  AssertDataLockHeld(true);
  std::srand(seed);
  std::unordered_set<int> handled;
  int result = 0;
  // One walk of LaneList per redraw rather than one per athlete and contest.
  LanesByAthlete lanes = IndexLanesByAthlete();
  const std::vector<const LaneNode*> no_lanes;
  const auto& athletes = Model().AthleteList;
  for (std::size_t a = 0; a < athletes.size(); ++a) {
    const std::vector<int> contests = athletes[a].ContestIds;
    for (int contest_id : contests) {
      const int holder = RoundHoldingContest(contest_id);
      if (handled.count(holder)) continue;
      const auto own = lanes.find(athletes[a].Id);
      if (IsUndrawnAmong(contest_id, own != lanes.end() ? own->second : no_lanes) != 1) continue;
      handled.insert(holder);
      if (ContestHasResults(holder)) {
        // Drawing again would throw the entered results away.
        LogServerMessage("比赛(编号" + std::to_string(holder) +
                         ")已有比赛成绩，没有重新分组分道，新报名的运动员没有分到道次。");
        continue;
      }
      if (RedrawContest(holder) != 0) result = 1;
      lanes = IndexLanesByAthlete();
    }
  }
  return result;
}

int RedrawContest(int contest_id) {
  int heats = 0, entrants = 0;
  return RedrawContest(contest_id, heats, entrants);
}

int RedrawContest(int contest_id, int& heats, int& entrants) {
  AssertDataLockHeld(true);
  contest_id = RoundHoldingContest(contest_id);
  Transaction unit(MeetConnection());
  int failed = unit.ok() ? 0 : 1;
  auto& rounds = Model().RoundList;
  for (std::size_t i = 0; !failed && i < rounds.size(); ++i) {
    RoundNode& round = rounds[i];
    if (round.ContestId != contest_id) continue;
    if (DeleteRoundLanes(round.Id) != 0) {
      failed = 1;
      break;
    }
    int next_id = RemoveRoundLanes(round.Id);
    const int was_disabled = round.Disabled;
    round.Disabled = 0;
    RoundDraw draw;
    if (round.Kind != kFinalAfterPrelim) draw = DrawRoundLanes(round, next_id);
    if (draw.Result == 0) {
      heats = draw.Count.Heats;
      entrants = draw.Count.Entrants;
      failed = StoreRoundDraw(draw, round);
    } else if (was_disabled != 0) {
      failed = SaveRound(round);
    }
  }
  FreeLaneMemoryList();
  if (failed || !unit.Commit()) {
    unit.Rollback();
    ReloadRoundsAndLanes();
    return 1;
  }
  return 0;
}

int RemoveRoundLanes(int round_id) {
  AssertDataLockHeld(true);
  std::erase_if(Model().LaneList, [&](const LaneNode& n) { return n.RoundId == round_id; });
  return NextLaneRowId();
}

int IsAthleteUndrawn(int contest_id, int athlete_id) {
  AssertDataLockHeld(true);
  std::vector<const LaneNode*> own;
  for (const LaneNode& lane : Model().LaneList)
    if (lane.AthleteId == athlete_id) own.push_back(&lane);
  return IsUndrawnAmong(contest_id, own);
}

}  // namespace korva
