#include "engine/score_upload.h"

#include "database/lookups.h"
#include "database/store_lanes.h"
#include "engine/results_unit.h"
#include "engine/round_lookups.h"
#include "engine/round_ranking.h"
#include "engine/school_records.h"
#include "engine/score_text.h"

namespace korva {

namespace {

// The score text's field holds 50 bytes.
constexpr std::size_t kUploadTextBytes = 50;
constexpr const char* kBadScoreText =
    "错误的成绩数据，请输入类以于“12.65”这样格式的运动员成绩。";

LaneNode* FindAthleteLane(int round_id, int athlete_id) {
  for (LaneNode& lane : LanesOfRound(round_id))
    if (lane.AthleteId == athlete_id) return &lane;
  return nullptr;
}

// A round counts as counted while a lane carries a place and points.
bool IsCounted(int round_id) {
  for (const LaneNode& lane : LanesOfRound(round_id))
    if (lane.Place > 0 && lane.Points > 0) return true;
  return false;
}

// A saved lane that equals or breaks the record says so in the code.
ScoreReply WithRecordFlag(ScoreReply code, int record_flag) {
  if (record_flag != 1 && record_flag != 2) return code;
  if (code == kReplySaved) return record_flag == 1 ? kReplySavedEqualled : kReplySavedBroken;
  if (code == kReplyHeatComplete) return record_flag == 1 ? kReplyHeatEqualled : kReplyHeatBroken;
  return code;
}

}  // namespace

int StoreEntryScore(LaneNode& lane, const ScoreUpload& upload, const GroupNode& group) {
  int flag = 0;
  if (upload.Status == 0 && upload.RecordValue != kNoResult && lane.Status == 0) {
    LaneNode measured = lane;
    measured.Result = upload.Value;
    flag = CompareWithRecord(measured, upload.RecordValue, upload.SortDirection);
  }
  const PointsValue points = upload.Status == 0 ? group.Bonus[flag] * 100 : 0;
  if (SaveLaneResult(lane, upload.Value, upload.Status, points, flag) != 0) return 1;
  const int heat = lane.Heat, lane_number = lane.Lane;
  for (LaneNode& member : LanesOfRound(lane.RoundId)) {
    if (member.Heat != heat || member.Lane != lane_number) continue;
    member.Result = upload.Value;
    member.Status = upload.Status;
    member.Points = points;
    member.Place = 0;
    member.RecordFlag = flag;
  }
  return 0;
}

ScoreReply SaveScore(ScoreUpload& upload, ScoreOutcome& outcome) {
  // The page knows two states only: 0 a result, 1 a foul.
  if (upload.ScoreText.size() >= kUploadTextBytes || (upload.Status != 0 && upload.Status != 1)) {
    outcome.Text = kBadScoreText;
    return kReplyBadScore;
  }
  RoundNode* round = FindRoundById(upload.RoundId);
  const EventNode* event = round ? FindEventOfRound(*round) : nullptr;
  const ContestNode* contest = event ? FindContestById(round->ContestId) : nullptr;
  const GroupNode* group = contest ? FindGroupById(contest->GroupId) : nullptr;
  if (!group) return kReplyFailed;
  DescribeRound(upload, *round, *event, *group);

  if (LanesOfRound(round->Id).empty()) return kReplyFailed;
  LaneNode* lane = FindAthleteLane(round->Id, upload.AthleteId);
  if (upload.Mode != kUploadRecount) {
    if (!lane) return kReplyFailed;
    upload.Heat = lane->Heat;
    if (ParseScoreText(upload.ScoreText, upload.UnitText, upload.Value) != 0) {
      outcome.Text = kBadScoreText;
      return kReplyBadScore;
    }
    if (upload.Value == lane->Result && upload.Status == lane->Status) return kReplyUnchanged;
  }

  int prior_state = 0;
  if (round->Kind == kPrelim) {
    prior_state = GetFinalState(contest->Id);
    if (prior_state < 0) return kReplyFailed;
    if (prior_state == 2) {
      outcome.Question = UploadQuestion::kFinalHasResults;
      return kReplyAsk;
    }
    if (prior_state == 1 && upload.Mode != kUploadConfirmed) {
      outcome.Question = UploadQuestion::kFinalExists;
      return kReplyAsk;
    }
  } else {
    prior_state = IsCounted(round->Id) ? 1 : 0;
    if (prior_state != 0 && upload.Mode == kUploadNormal) {
      outcome.Question = UploadQuestion::kCounted;
      return kReplyAsk;
    }
  }

  ResultsUnit unit;
  if (!unit.ok()) return kReplyFailed;
  if (upload.Mode != kUploadRecount && StoreEntryScore(*lane, upload, *group) != 0) return kReplyFailed;
  outcome.Text = upload.ScoreText;
  // A combined event's own round is stored but never ranked here.
  ScoreReply code = kReplySaved;
  if (event->BiSaiType != 3) code = RankAndScoreRound(*round, *contest, *event, *group, upload, prior_state, outcome);
  if (code == kReplyFailed || !unit.Commit()) {
    outcome = {};
    return kReplyFailed;
  }
  // Seeding a final moves LaneList, so the lane is found again.
  const LaneNode* stored = FindAthleteLane(upload.RoundId, upload.AthleteId);
  return WithRecordFlag(code, stored ? stored->RecordFlag : 0);
}

}  // namespace korva
