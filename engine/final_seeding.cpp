#include "engine/final_seeding.h"

#include <algorithm>
#include <optional>
#include <span>

#include "database/connections.h"
#include "database/data_error.h"
#include "database/lookups.h"
#include "database/sqlite_db.h"
#include "database/store_lanes.h"
#include "database/store_rounds.h"
#include "engine/draw.h"
#include "engine/ranked_list.h"
#include "engine/result_table.h"
#include "engine/results_unit.h"
#include "engine/round_lookups.h"

namespace korva {

namespace {

constexpr const char* kSeededText = "比赛完成，已生成决赛安排，请查看或打印【预赛成绩表】和【决赛检录表】！";

int HeatsFor(int entrants, int lanes) { return (entrants + lanes - 1) / lanes; }

// Every lane of the preliminary's unit (a class team's members) copied into
// the final with the given heat and lane, without result or places.
void CopyUnit(const LaneNode& entry, std::span<const LaneNode> prelim_lanes, int final_id, int heat, int lane,
              std::vector<LaneNode>& out) {
  for (const LaneNode& member : prelim_lanes) {
    if (member.Heat != entry.Heat || member.Lane != entry.Lane) continue;
    LaneNode seeded;
    seeded.RoundId = final_id;
    seeded.Heat = heat;
    seeded.Lane = lane;
    seeded.AthleteId = member.AthleteId;
    seeded.ClassId = member.ClassId;
    out.push_back(seeded);
  }
}

// Regroups one round; none for an unknown round.
std::optional<RegroupedRound> RegroupOne(int round_id) {
  RoundNode* round = FindRoundById(round_id);
  const ContestNode* contest = round ? FindContestById(round->ContestId) : nullptr;
  const EventNode* event = contest ? FindEventOfRound(*round) : nullptr;
  const GroupNode* group = event ? FindGroupById(contest->GroupId) : nullptr;
  if (!group) return std::nullopt;
  RegroupedRound done{.Title = FormatRoundTitle(*group, *event, round->Kind), .Teams = event->TuanTiType != 1};
  if (RoundHasResults(round->Id)) {
    done.Outcome = RegroupOutcome::kHasResults;
    return done;
  }
  if (round->Kind == kPrelim && round->Disabled != 0) {
    done.Outcome = RegroupOutcome::kDisabledPrelim;
    return done;
  }
  done.Outcome = RegroupOutcome::kFailed;
  if (round->Kind == kFinalAfterPrelim) {
    ResultsUnit unit;
    const ReseedResult result =
        unit.ok() ? ReseedFinal(*contest, *event, done.Heats, done.Entrants) : ReseedResult::kFailed;
    if (result == ReseedResult::kFailed || !unit.Commit()) return done;
    if (result == ReseedResult::kNotPossible) {
      done.Outcome = RegroupOutcome::kPrelimIncomplete;
      return done;
    }
  } else if (ContestHasResults(contest->Id)) {
    // The draw takes every round of the contest (each part of a combined
    // event), whichever of them was chosen.
    done.Outcome = RegroupOutcome::kHasResults;
    return done;
  } else if (RedrawContest(contest->Id, done.Heats, done.Entrants) != 0) {
    return done;
  }
  done.Outcome = RegroupOutcome::kRegrouped;
  return done;
}

}  // namespace

std::vector<int> CentreOutLaneOrder(int lanes) {
  lanes = std::max(lanes, 1);
  const int centre = (lanes + 1) / 2;
  std::vector<int> order{centre};
  for (int step = 1; static_cast<int>(order.size()) < lanes; ++step) {
    if (centre + step <= lanes) order.push_back(centre + step);
    if (static_cast<int>(order.size()) < lanes && centre - step >= 1) order.push_back(centre - step);
  }
  return order;
}

ScoreReply SeedFinal(const RoundNode& prelim, const EventNode& event, const std::vector<LaneNode>& ranked,
                     int qualifiers, std::string& text) {
  if (prelim.Kind != kPrelim) return kReplyFailed;
  const ContestNode* contest = FindContestById(prelim.ContestId);
  if (!contest) return kReplyFailed;
  RoundNode* final_round = FindRoundByContestAndKind(contest->Id, kFinalAfterPrelim);
  if (!final_round) return kReplyFailed;
  const VenueNode* venue = FindVenueById(event.ChangDi);
  if (!venue) return kReplyFailed;

  const int lanes = std::max(venue->Size, 1);
  const std::vector<int> order = CentreOutLaneOrder(lanes);
  int seeded = 0;
  while (seeded < static_cast<int>(ranked.size()) && ranked[seeded].Place == 999) ++seeded;
  if (seeded != qualifiers) ShowDataErrorCode(333);
  const int heats = HeatsFor(seeded, lanes);
  std::span<const LaneNode> prelim_lanes = LanesOfRound(prelim.Id);
  std::vector<LaneNode> added;
  for (int i = 0; i < seeded; ++i)
    CopyUnit(ranked[i], prelim_lanes, final_round->Id, i % heats + 1, order[i / heats], added);
  // In the order a reload gives them, so the lists and the file agree.
  std::stable_sort(added.begin(), added.end(), [](const LaneNode& a, const LaneNode& b) {
    return a.Heat != b.Heat ? a.Heat < b.Heat : a.Lane < b.Lane;
  });

  RoundNode saved = *final_round;
  saved.Entrants = seeded;
  Transaction unit(MeetConnection());
  if (!unit.ok() || SaveRound(saved) != 0 || InsertNewLanes(added) != 0 || !unit.Commit()) return kReplyFailed;
  final_round->Entrants = seeded;
  auto& list = Model().LaneList;
  auto at = std::find_if(list.begin(), list.end(), [&](const LaneNode& n) { return n.RoundId > saved.Id; });
  list.insert(at, added.begin(), added.end());
  text = kSeededText;
  return kReplyCounted;
}

ReseedResult ReseedFinal(const ContestNode& contest, const EventNode& event, int& heats, int& entrants) {
  const VenueNode* venue = FindVenueById(event.ChangDi);
  if (!venue) return ReseedResult::kNotPossible;
  const int lanes = std::max(venue->Size, 1);
  RoundNode* prelim = FindRoundByContestAndKind(contest.Id, kPrelim);
  const RoundNode* final_round = FindRoundByContestAndKind(contest.Id, kFinalAfterPrelim);
  if (!prelim || !final_round || LanesOfRound(prelim->Id).empty()) return ReseedResult::kNotPossible;
  std::optional<std::vector<LaneNode>> list = BuildRankedList(*prelim, event);
  if (!list) return ReseedResult::kNotPossible;
  // The final keeps the qualifiers its preliminary's count gave it, best
  // first; the preliminary stays counted, with its table and counters.
  auto qualified = std::stable_partition(list->begin(), list->end(), [&](const LaneNode& entry) {
    return IsAthleteInFinal(prelim->Id, entry.AthleteId) != 0;
  });
  const int count = static_cast<int>(qualified - list->begin());
  if (count == 0) return ReseedResult::kNotPossible;
  for (auto entry = list->begin(); entry != qualified; ++entry) entry->Place = 999;
  std::string ignored;
  if (DeleteRoundLanes(final_round->Id) != 0) return ReseedResult::kFailed;
  RemoveRoundLanes(final_round->Id);
  if (SeedFinal(*prelim, event, *list, count, ignored) != kReplyCounted) return ReseedResult::kFailed;
  heats = HeatsFor(count, lanes);
  entrants = count;
  return ReseedResult::kDone;
}

std::vector<RegroupedRound> RegroupRounds(const std::vector<int>& round_ids) {
  SeedDrawRandom();
  std::vector<RegroupedRound> done;
  for (int round_id : round_ids)
    if (std::optional<RegroupedRound> one = RegroupOne(round_id)) done.push_back(std::move(*one));
  return done;
}

int ListRegroupRows(const VenueNode& venue, std::vector<RegroupRow>& rows) {
  ResultsUnit unit;
  if (!unit.ok()) return -1;
  std::vector<RegroupRow> listed;
  for (RoundNode& round : Model().RoundList) {
    const EventNode* event = FindEventOfRound(round);
    if (!event) return 0;
    if (event->ChangDi != venue.Id) continue;
    if (round.Kind == kPrelim) {
      RoundNode sized = round;
      sized.Places = venue.Size;
      if (SaveRound(sized) != 0) return -1;
      round.Places = venue.Size;
    }
    std::span<const LaneNode> lanes = LanesOfRound(round.Id);
    if (lanes.empty()) continue;
    const ContestNode* contest = FindContestById(round.ContestId);
    if (!contest) return 0;
    const GroupNode* group = FindGroupById(contest->GroupId);
    if (!group) return 0;
    RegroupRow row{.RoundId = round.Id, .Title = FormatRoundTitle(*group, *event, round.Kind),
                   .Entrants = CountEntrants(lanes), .Teams = event->TuanTiType != 1};
    for (const LaneNode& lane : lanes) {
      row.Heats = std::max(row.Heats, lane.Heat);
      row.HasResults = row.HasResults || lane.Result != kNoResult || lane.Status > 0;
    }
    // Drawing it again would redraw the contest's other rounds too.
    if (round.Kind != kFinalAfterPrelim) row.HasResults = row.HasResults || ContestHasResults(round.ContestId) != 0;
    listed.push_back(std::move(row));
  }
  if (!unit.Commit()) return -1;
  rows = std::move(listed);
  return static_cast<int>(rows.size());
}

}  // namespace korva
