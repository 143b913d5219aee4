#include "pages/meet/round_context.h"

#include "database/lookups.h"

namespace korva {

namespace {

// FindGroupById logs a data error on a miss; here a missing group is an
// ordinary answer.
GroupNode* FindGroupQuietly(int group_id) {
  for (GroupNode& group : Model().GroupList)
    if (group.Id == group_id) return &group;
  return nullptr;
}

}  // namespace

int ResolveRoundContext(int round_id, RoundContext& context) {
  context = {};
  context.Round = FindRoundById(round_id);
  if (!context.Round) return 1;
  context.Contest = FindContestById(context.Round->ContestId);
  if (!context.Contest) return 1;
  context.Event = FindEventOfRound(*context.Round);
  if (!context.Event) return 1;
  context.Group = FindGroupQuietly(context.Contest->GroupId);
  return context.Group ? 0 : 1;
}

int FindAthleteAndClass(int athlete_id, AthleteContext& context) {
  context = {};
  context.Athlete = FindAthleteById(athlete_id);
  if (!context.Athlete) return 1;
  context.Class = FindClassNode(context.Athlete->ClassId, context.Athlete->GradeId);
  return context.Class ? 0 : 1;
}

}  // namespace korva
