#include "engine/final_seeding.h"

#include <algorithm>
#include <cstdlib>
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
#include "web/escape.h"

namespace korva {

namespace {

constexpr const char* kSeededText = "比赛完成，已生成决赛安排，请查看或打印【预赛成绩表】和【决赛检录表】！";
// Longest number of a regroup request; a longer one starts over.
constexpr std::size_t kRoundIdBytes = 7;

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

// The sentence of one round of a regroup request.
std::string RegroupOne(int round_id) {
  RoundNode* round = FindRoundById(round_id);
  const ContestNode* contest = round ? FindContestById(round->ContestId) : nullptr;
  const EventNode* event = contest ? FindEventOfRound(*round) : nullptr;
  const GroupNode* group = event ? FindGroupById(contest->GroupId) : nullptr;
  if (!group) return {};
  const std::string title = EscapeHtml(FormatRoundTitle(*group, *event, round->Kind));
  const std::string has_results = "<p>" + title + " 已有比赛成绩，无法重新分组分道，请删除成绩后再试。</p>\r\n";
  if (RoundHasResults(round->Id)) return has_results;
  if (round->Kind == kPrelim && round->Disabled != 0)
    return "<p>" + title + " 为被禁用的预赛，无法重新分组分道；</p>\r\n";
  const std::string failed = "<p>" + title + " 重新分组分道时数据保存出错，未作任何更改！</p>\r\n";
  int heats = 0, entrants = 0;
  if (round->Kind == kFinalAfterPrelim) {
    ResultsUnit unit;
    const ReseedResult result = unit.ok() ? ReseedFinal(*contest, *event, heats, entrants) : ReseedResult::kFailed;
    if (result == ReseedResult::kFailed || !unit.Commit()) return failed;
    if (result == ReseedResult::kNotPossible) return "<p>" + title + " 的预赛未完成，无法重新分组分道；</p>\r\n";
  } else if (ContestHasResults(contest->Id)) {
    // The draw takes every round of the contest (each part of a combined
    // event), whichever of them was chosen.
    return has_results;
  } else if (RedrawContest(contest->Id, heats, entrants) != 0) {
    return failed;
  }
  return "<p>" + title + " 已成功重新分组分道！现为：" + std::to_string(heats) + "组 共" + std::to_string(entrants) +
         (event->TuanTiType == 1 ? "人" : "队") + "</p>\r\n";
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

std::string RegroupRounds(std::string_view round_ids) {
  SeedDrawRandom();
  std::string reply;
  std::string number;
  for (char c : round_ids) {
    if (c != '-') {
      if (number.size() == kRoundIdBytes) number.clear();
      number += c;
      continue;
    }
    reply += RegroupOne(std::atoi(number.c_str()));
    number.clear();
  }
  return reply;
}

int BuildRegroupRows(const VenueNode& venue, std::string& reply) {
  ResultsUnit unit;
  if (!unit.ok()) return -1;
  std::string rows;
  int k = 0;
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
    const int entrants = CountEntrants(lanes);
    int heats = 0;
    bool results = false;
    for (const LaneNode& lane : lanes) {
      heats = std::max(heats, lane.Heat);
      results = results || lane.Result != kNoResult || lane.Status > 0;
    }
    // Drawing it again would redraw the contest's other rounds too.
    if (round.Kind != kFinalAfterPrelim) results = results || ContestHasResults(round.ContestId) != 0;
    const std::string n = std::to_string(++k);
    rows += "<tr><td><input type=\"checkbox\" name=\"bs" + n + "\" id=\"bs" + n + "\" value=\"" +
            std::to_string(round.Id) + "\"" + (results ? " disabled" : "") + " /></td><td>" +
            EscapeHtml(FormatRoundTitle(*group, *event, round.Kind)) + "</td><td>" + std::to_string(heats) + "组共" +
            std::to_string(entrants) + (event->TuanTiType == 1 ? "人" : "队") + "</td><td>" +
            (results ? "已有成绩，无法重新分组分道！" : "") + "</td></tr>\r\n";
  }
  if (!unit.Commit()) return -1;
  reply += rows;
  return k;
}

}  // namespace korva
