#pragma once
// The nodes a page needs to name one round (its contest, event and group)
// or one athlete (his class), gathered in one call. They read the lists and
// change nothing; the caller holds DataLock, and the pointers stay valid
// until the lists they point into are rebuilt.
#include "database/model.h"

namespace korva {

struct RoundContext {
  RoundNode* Round = nullptr;
  ContestNode* Contest = nullptr;
  // The part's own event for a part of a combined event, else the contest's.
  EventNode* Event = nullptr;
  GroupNode* Group = nullptr;
};

struct AthleteContext {
  AthleteNode* Athlete = nullptr;
  ClassNode* Class = nullptr;
};

// 0 when the round, its contest, its event and the contest's group are all
// found; 1 otherwise (a missing contest also logs data error 12550, any
// other miss logs nothing). On 1 the context holds what was found so far.
int ResolveRoundContext(int round_id, RoundContext& context);

// 0 when the athlete and his class (by class id and grade id) are found,
// 1 otherwise.
int FindAthleteAndClass(int athlete_id, AthleteContext& context);

}  // namespace korva
