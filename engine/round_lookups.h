#pragma once
// Questions about the rounds of a contest, answered from LaneList. The
// caller holds DataLock.
#include <span>

#include "database/model.h"

namespace korva {

// 1 when a lane of the round holds a result or a status above 0, else 0.
int RoundHasResults(int round_id);

// 1 when some round of the contest has results (RoundHasResults), else 0.
int ContestHasResults(int contest_id);

// State of the contest's final after a preliminary: -1 no such contest
// (data error 12550) or no final; 0 the final has no lanes; 2 a lane of it
// holds a result or a status above 0; else 1.
int GetFinalState(int contest_id);

// 1 when the athlete has a lane in the final after a preliminary of the
// round's contest, else 0.
int IsAthleteInFinal(int round_id, int athlete_id);

// The entrants of a round's lanes (in LaneList order): a class team's
// members share one heat and lane and count once.
int CountEntrants(std::span<const LaneNode> lanes);

}  // namespace korva
