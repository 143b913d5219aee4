#pragma once
// The steps of the heat and lane draw, on the in-memory model only; the
// draw of engine/draw.h runs them and writes the rows. The caller holds
// DataLock. Randomness comes from std::rand, seeded by the draw's caller.
#include <cstddef>
#include <vector>

#include "database/model.h"

namespace korva {

// A class met during a draw run and the last lane or order it was given.
struct LaneMemoryNode {
  int ClassKey = 0;
  int LastLane = 0;
};

// The classes met during one draw run (all rounds of DrawAllRounds, or one
// RedrawContest), so that a class is not given the same lane again and
// again. Emptied by FreeLaneMemoryList.
extern std::vector<LaneMemoryNode> LaneMemoryList;
void FreeLaneMemoryList();

// Heats and entrants (athletes, or class teams) of a drawn round.
struct HeatCount {
  int Heats = 1;
  int Entrants = 0;
};

// First lane of a heat of q + 1 (r > 0) or q (r = 0) entrants on a venue of
// venue_size lanes, so that a short heat runs in the middle lanes.
int FirstLaneOfHeat(int venue_size, int q, int r);

// The k lanes from first on, in random order; k = 0 gives none (data error
// 333).
std::vector<int> ShuffleLanes(int first, int k);

// Takes a lane for the class from the slots (a taken slot becomes 0): only
// lanes first .. first + size - 1 count, and a class met before avoids its
// last lane when it can, scanning from the back and from the front by
// turns (toggle). 0 when no slot is left (data error 5451); 1 when size < 1.
int PickLane(std::vector<int>& slots, int first, int size, int class_key, int& toggle);

// Draws heats and lanes (or start orders) for one athlete per node, the
// nodes of one class adjacent: classmates are spread over the heats one per
// class at a time, and then moved off neighbouring lanes where a swap can
// do it. A venue size below 1 counts as 1.
HeatCount DrawIndividualHeats(std::vector<LaneNode>& lanes, int venue_size, const EventNode& event);

// Draws one heat and lane per class team (a run of adjacent nodes of one
// class); every member of a team gets the team's heat and lane.
HeatCount DrawTeamHeats(std::vector<LaneNode>& lanes, int venue_size, const EventNode& event);

// One walk over a drawn round: where an athlete's next lane holds a
// classmate, that classmate changes lanes with the athlete two lanes on.
void SeparateClassNeighbours(std::vector<LaneNode>& lanes);

// Places ranked in a final of the contest with that many entrants: the
// contest's places, or one fewer than the entrants under AdmitOneLess when
// they do not exceed the places (1 for a single entrant); 0 for none.
int PlacesOfFinal(const ContestNode& contest, int entrants);

// What drawing one round changed in the model.
struct RoundDraw {
  int Result = 1;                    // 0 drawn, 1 skipped after a data error
  HeatCount Count;
  std::vector<int> SavedRoundIds;    // rounds whose row changed, the drawn one first
  std::vector<int> ClearedRoundIds;  // rounds whose lanes were taken away
  std::size_t FirstLane = 0;         // the new lanes in LaneList
  std::size_t LaneCount = 0;
};

// Draws a round in the model: its entrants' lanes take consecutive lane-row
// ids from next_lane_row_id and stand in LaneList in round order, sorted by
// heat, lane and id; the round's entrants, places and disabled flag are set,
// a preliminary found unnecessary is disabled without lanes and its final
// becomes a single final, and a single final whose preliminary is needed again
// becomes a final after the preliminary. Nothing changes when the round is
// skipped.
RoundDraw DrawRoundLanes(RoundNode& round, int& next_lane_row_id);

}  // namespace korva
