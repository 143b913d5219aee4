#include "engine/round_ranking.h"

#include <ctime>
#include <optional>
#include <span>
#include <vector>

#include "database/lookups.h"
#include "database/print_queue.h"
#include "database/store_lanes.h"
#include "database/store_records.h"
#include "database/store_rounds.h"
#include "engine/final_seeding.h"
#include "engine/ranked_list.h"
#include "engine/result_table.h"
#include "engine/school_records.h"
#include "engine/score_text.h"

namespace korva {

namespace {

constexpr const char* kAllFouledText = "所有运动会都犯规，无法统计名次与得分！";
constexpr const char* kCountedText = "比赛已完成，请查看或打印成绩表！";
constexpr const char* kOwnSchemeMissingText =
    "该比赛需要的特定分制被删除，无法统计名次与得分！请至分制管理中增加所需要的分制，"
    "并在高级功能-更新比赛数据中重新指定所需分制。";
constexpr const char* kGroupSchemeMissingText =
    "当前比赛分制被删除，无法统计名次与得分！请至分制管理中增加所需要的分制，并在运动会设置中选择新建的分制。";
std::size_t RunLength(const std::vector<LaneNode>& list, std::size_t first) {
  std::size_t end = first + 1;
  while (end < list.size() && list[end].Result == list[first].Result) ++end;
  return end - first;
}

// The record flag of an entry while the record check is on; a flag of 0
// turns the check off for the rest of the list.
int CheckRecord(const LaneNode& entry, const ScoreUpload& upload, int direction, bool& check) {
  if (!check) return 0;
  const int flag = upload.RecordValue == kNoResult ? 0 : CompareWithRecord(entry, upload.RecordValue, direction);
  if (flag == 0) check = false;
  return flag;
}

// Undoes an earlier count: the ranking (for a preliminary the final's
// lanes), the round's part in this meet's record, and for a final after
// preliminaries the preliminary's marks against the record standing now.
// False after a failed write.
bool UndoRanking(RoundNode& round, const ContestNode& contest, const EventNode& event, const GroupNode& group,
                 const ScoreUpload& upload) {
  if (ClearRoundRanking(round) != 0) return false;
  if (UpdateRecordsAfterScoring(group, upload, round, nullptr) != 0) return false;
  return round.Kind != kFinalAfterPrelim || MarkRecordResults(event, group, contest) >= 0;
}

// None when every lane that counts has its result; else the reply for an
// incomplete round, or kReplyCounted with the all-fouled text when no lane
// counts.
std::optional<ScoreReply> CheckComplete(const RoundNode& round, const ScoreUpload& upload, int prior_state,
                                        std::string& text) {
  bool incomplete = false;
  bool any_counts = false;
  for (const LaneNode& lane : LanesOfRound(round.Id)) {
    if (lane.Status != 0) continue;
    any_counts = true;
    if (lane.Result != kNoResult) continue;
    if (lane.Heat == upload.Heat) return prior_state != 0 ? kReplyUncounted : kReplySaved;
    incomplete = true;
  }
  if (incomplete) return prior_state != 0 ? kReplyUncounted : kReplyHeatComplete;
  if (!any_counts) {
    text = kAllFouledText;
    return kReplyCounted;
  }
  return std::nullopt;
}

// Saves every entry's place, points and flag. False after a failed write.
bool SaveRanking(const std::vector<LaneNode>& list) {
  for (const LaneNode& entry : list)
    if (SaveEntryPlacing(entry) != 0) return false;
  return true;
}

ScoreReply CountPreliminary(RoundNode& round, const EventNode& event, const GroupNode& group,
                            const ScoreUpload& upload, std::vector<LaneNode>& list, std::string& text) {
  bool check = true;
  int taken = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    LaneNode& entry = list[i];
    // Ties at the cut all qualify.
    if (taken >= round.Places && (i == 0 || entry.Result != list[i - 1].Result)) break;
    entry.Place = 999;
    ++taken;
    if (!check) continue;
    entry.RecordFlag = CheckRecord(entry, upload, event.PaiXuType, check);
    if (entry.RecordFlag != 0) entry.Points = group.Bonus[entry.RecordFlag] * 100;
  }
  if (SeedFinal(round, event, list, taken, text) != kReplyCounted) return kReplyFailed;
  if (UpdateRecordsAfterScoring(group, upload, round, &list.front()) != 0) return kReplyFailed;
  if (FinishCountedRound(round, group, event) != 0) return kReplyFailed;
  return kReplyCounted;
}

// Places with shared places for equal results: a run of k equal results
// after p places shares the points of places p+1 .. p+k.
bool PlaceSharingTies(const RoundNode& round, const ContestNode& contest, const EventNode& event,
                      const GroupNode& group, const ScoringSchemeNode& scheme, const ScoreUpload& upload,
                      std::vector<LaneNode>& list) {
  bool check = true;
  int placed = 0;
  for (std::size_t i = 0; i < list.size() && placed < round.Places;) {
    const std::size_t k = RunLength(list, i);
    int sum = 0;
    for (std::size_t j = 1; j <= k; ++j) sum += SchemePoints(scheme, placed + static_cast<int>(j));
    const int flag = CheckRecord(list[i], upload, event.PaiXuType, check);
    const int bonus_points = group.Bonus[flag] * 100;
    for (std::size_t j = i; j < i + k; ++j) {
      LaneNode& entry = list[j];
      entry.Place = placed + 1;
      entry.Points = event.DeFenJiSuan * (sum * 100 / static_cast<int>(k)) + bonus_points;
      entry.RecordFlag = flag;
      if (!KeepOneBonus(round, contest, entry, bonus_points)) return false;
    }
    placed += static_cast<int>(k);
    i += k;
  }
  return true;
}

// Places one by one, once no tie stands within the places.
bool PlaceInTurn(const RoundNode& round, const ContestNode& contest, const EventNode& event, const GroupNode& group,
                 const ScoringSchemeNode& scheme, const ScoreUpload& upload, std::vector<LaneNode>& list) {
  bool check = true;
  for (std::size_t i = 0; i < list.size() && static_cast<int>(i) < round.Places; ++i) {
    LaneNode& entry = list[i];
    const int place = static_cast<int>(i) + 1;
    const bool checking = check;
    const int flag = CheckRecord(entry, upload, event.PaiXuType, check);
    // Once the check is off an entry keeps the flag stored at upload.
    if (checking) entry.RecordFlag = flag;
    const int bonus_points = group.Bonus[flag] * 100;
    entry.Place = place;
    entry.Points = (event.DeFenJiSuan * SchemePoints(scheme, place)) * 100 + bonus_points;
    if (flag != 0 && !KeepOneBonus(round, contest, entry, bonus_points)) return false;
  }
  return true;
}

// The ties within the places, and the places of the untied entries there,
// for the clerk to place by hand; no runs when there is no tie.
TieChoice TiesWithinPlaces(const std::vector<LaneNode>& list, int places) {
  TieChoice choice;
  int before = 0;
  for (std::size_t i = 0; i < list.size() && before < places;) {
    const std::size_t k = RunLength(list, i);
    if (k >= 2)
      choice.Runs.push_back({before, std::vector<LaneNode>(list.begin() + i, list.begin() + i + k)});
    else
      choice.Untied.emplace_back(list[i].AthleteId, before + 1);
    before += static_cast<int>(k);
    i += k;
  }
  return choice;
}

ScoreReply CountFinal(RoundNode& round, const ContestNode& contest, const EventNode& event, const GroupNode& group,
                      const ScoreUpload& upload, std::vector<LaneNode>& list, ScoreOutcome& outcome) {
  const ScoringSchemeNode* scheme = FindSchemeOfContest(contest, group);
  if (!scheme) {
    outcome.Text = contest.SchemeId != 0 ? kOwnSchemeMissingText : kGroupSchemeMissingText;
    return kReplyCounted;
  }
  if (event.BingLieType == 2) {
    TieChoice ties = TiesWithinPlaces(list, round.Places);
    if (!ties.Runs.empty()) {
      outcome.Question = UploadQuestion::kTiedPlaces;
      outcome.Ties = std::move(ties);
      return kReplyAsk;
    }
    if (!PlaceInTurn(round, contest, event, group, *scheme, upload, list)) return kReplyFailed;
  } else if (!PlaceSharingTies(round, contest, event, group, *scheme, upload, list)) {
    return kReplyFailed;
  }
  if (!SaveRanking(list)) return kReplyFailed;
  if (UpdateRecordsAfterScoring(group, upload, round, &list.front()) != 0) return kReplyFailed;
  if (FinishCountedRound(round, group, event) != 0) return kReplyFailed;
  outcome.Text = kCountedText;
  return kReplyCounted;
}

}  // namespace

void DescribeRound(ScoreUpload& upload, const RoundNode& round, const EventNode& event, const GroupNode& group) {
  upload.RoundKind = round.Kind;
  upload.GroupSex = group.Sex;
  upload.GroupName = group.GradeName;
  upload.EventType = event.BiSaiType;
  upload.TeamType = event.TuanTiType;
  upload.SortDirection = event.PaiXuType;
  upload.UnitText = event.Unit;
  upload.EventName = event.Name;
}

int SaveEntryPlacing(const LaneNode& entry) {
  if (SaveLanePlacing(entry) != 0) return 1;
  for (LaneNode& lane : LanesOfRound(entry.RoundId)) {
    if (lane.Heat != entry.Heat || lane.Lane != entry.Lane) continue;
    lane.Place = entry.Place;
    lane.Points = entry.Points;
    lane.RecordFlag = entry.RecordFlag;
  }
  return 0;
}

bool KeepOneBonus(const RoundNode& round, const ContestNode& contest, LaneNode& entry, int bonus_points) {
  if (round.Kind != kFinalAfterPrelim || entry.RecordFlag == 0) return true;
  const int prelim_higher = ResetPrelimLaneFlag(contest.Id, entry.AthleteId, entry.RecordFlag);
  if (prelim_higher < 0) return false;
  if (prelim_higher == 1) {
    entry.RecordFlag = 0;
    entry.Points -= bonus_points;
  }
  return true;
}

int SchemePoints(const ScoringSchemeNode& scheme, int place) {
  return place >= 1 && place <= kSchemePlaces ? scheme.Points[place - 1] : 0;
}

const ScoringSchemeNode* FindSchemeOfContest(const ContestNode& contest, const GroupNode& group) {
  return FindScoringScheme(contest.SchemeId != 0 ? contest.SchemeId : group.SchemeId);
}

int CurrentCompletionStamp() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return (((tm.tm_mon + 1) * 100 + tm.tm_mday) * 100 + tm.tm_hour) * 100 + tm.tm_min;
}

int FinishCountedRound(RoundNode& round, const GroupNode& group, const EventNode& event) {
  RoundNode stamped = round;
  stamped.CertificatePrints = stamped.CheckInPrints = stamped.ResultPrints = 0;
  stamped.CompletionStamp = CurrentCompletionStamp();
  if (SaveRoundCounters(stamped) != 0) return 1;
  round = stamped;
  // Placed again by hand, a round still waits once in the queue.
  if (RemovePrintQueueItem(round) != 0) return 1;
  return QueueResultPrintItem(group, round, event);
}

ScoreReply RankAndScoreRound(RoundNode& round, const ContestNode& contest, const EventNode& event,
                             const GroupNode& group, const ScoreUpload& upload, int prior_state,
                             ScoreOutcome& outcome) {
  if (prior_state != 0 && !UndoRanking(round, contest, event, group, upload)) return kReplyFailed;
  if (std::optional<ScoreReply> incomplete = CheckComplete(round, upload, prior_state, outcome.Text))
    return *incomplete;
  std::optional<std::vector<LaneNode>> list = BuildRankedList(round, event);
  if (!list) return kReplySaved;
  if (round.Kind == kPrelim) return CountPreliminary(round, event, group, upload, *list, outcome.Text);
  return CountFinal(round, contest, event, group, upload, *list, outcome);
}

}  // namespace korva
