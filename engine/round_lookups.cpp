#include "engine/round_lookups.h"

#include <algorithm>

#include "database/lookups.h"

namespace korva {

namespace {

bool HasResultOrStatus(const LaneNode& lane) { return lane.Result != kNoResult || lane.Status > 0; }

}  // namespace

int RoundHasResults(int round_id) {
  const std::span<const LaneNode> lanes = LanesOfRound(round_id);
  return std::any_of(lanes.begin(), lanes.end(), HasResultOrStatus) ? 1 : 0;
}

int ContestHasResults(int contest_id) {
  for (const RoundNode& round : Model().RoundList)
    if (round.ContestId == contest_id && RoundHasResults(round.Id)) return 1;
  return 0;
}

int GetFinalState(int contest_id) {
  if (!FindContestById(contest_id)) return -1;
  const RoundNode* final = FindRoundByContestAndKind(contest_id, kFinalAfterPrelim);
  if (!final) return -1;
  const std::span<const LaneNode> lanes = LanesOfRound(final->Id);
  if (std::any_of(lanes.begin(), lanes.end(), HasResultOrStatus)) return 2;
  return lanes.empty() ? 0 : 1;
}

int IsAthleteInFinal(int round_id, int athlete_id) {
  const RoundNode* round = FindRoundById(round_id);
  if (!round) return 0;
  const RoundNode* final = FindRoundByContestAndKind(round->ContestId, kFinalAfterPrelim);
  if (!final) return 0;
  const std::span<const LaneNode> lanes = LanesOfRound(final->Id);
  return std::any_of(lanes.begin(), lanes.end(), [&](const LaneNode& n) { return n.AthleteId == athlete_id; }) ? 1
                                                                                                           : 0;
}

int CountEntrants(std::span<const LaneNode> lanes) {
  int entrants = 0;
  const LaneNode* previous = nullptr;
  for (const LaneNode& lane : lanes) {
    if (!previous || previous->Heat != lane.Heat || previous->Lane != lane.Lane) ++entrants;
    previous = &lane;
  }
  return entrants;
}

}  // namespace korva
