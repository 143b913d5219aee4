#include "engine/score_upload.h"

#include <charconv>
#include <climits>

#include "database/lookups.h"
#include "database/store_lanes.h"
#include "engine/results_unit.h"
#include "engine/round_lookups.h"
#include "engine/school_records.h"
#include "engine/score_text.h"

namespace korva {

namespace {

constexpr std::string_view kUploadPrefix = "/upcj.html?Dstr=";
// The score text's field holds 50 bytes.
constexpr std::size_t kUploadTextBytes = 50;
constexpr const char* kBadScoreText =
    "错误的成绩数据，请输入类以于“12.65”这样格式的运动员成绩。";

// A decimal integer with an optional sign at pos, as a "%d" scan reads it;
// false when there is none or it does not fit.
bool ReadInt(std::string_view text, std::size_t& pos, int& value) {
  std::size_t start = pos;
  if (start < text.size() && text[start] == '+') ++start;
  long long number = 0;
  auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), number);
  if (error != std::errc() || number < INT_MIN || number > INT_MAX) return false;
  value = static_cast<int>(number);
  pos = static_cast<std::size_t>(end - text.data());
  return true;
}

std::string AthleteButton(const char* label, const char* handler, int athlete_id) {
  return std::string("<input type=\"button\" name=\"YJSan1\" id=\"YJSan1\" value=\"") + label + "\" onclick=\"" +
         handler + "(" + std::to_string(athlete_id) + ");\" />\r\n";
}

std::string Choices(const char* carry_on, const char* give_up) {
  return std::string("<br />\r\n<input type=\"radio\" name=\"fgjsjl\" id=\"fgjsjl1\" value=\"1\" />"
                     "<label for=\"fgjsjl1\">") +
         carry_on +
         "</label><br />\r\n<input type=\"radio\" name=\"fgjsjl\" id=\"fgjsjl2\" value=\"2\" />"
         "<label for=\"fgjsjl2\">" +
         give_up + "</label><br />\r\n";
}

// A preliminary whose final is drawn but has no results yet.
std::string FinalExistsWarning(int athlete_id) {
  return "<img src=\"warn.jpg\" />警告：保存成绩时发现该预赛的决赛安排已经存在，继续保存可能会更改决赛安排，请选择：" +
         Choices("保存成绩，删除原有的决赛安排，重新生成新的决赛安排。", "放弃保存成绩，保留原有的决赛安排！") +
         AthleteButton("提交", "AgainTiJiao", athlete_id);
}

// A preliminary whose final has results.
std::string FinalHasResultsRefusal(int athlete_id) {
  return "<img src=\"warn.jpg\" />警告：本次预赛的决赛安排已经生成，并且已经录入成绩，无法重新生成决赛安排！"
         "如果你想更改预赛的成绩，则请先删除决赛的所有成绩。<br />\r\n操作被取消，成绩未保存！<br />\r\n" +
         AthleteButton("返回", "fanhuisb1", athlete_id);
}

// A counted round, uploaded to in mode 1.
std::string CountedWarning(int athlete_id) {
  return "<img src=\"warn.jpg\" />警告：保存成绩时发现本次比赛已经生成名次与得分，更改成绩将导致重新统计名次与得分，请选择：" +
         Choices("保存成绩，重新统计本次比赛的名次与得分", "放弃保存成绩，保留原有的名次与得分！") +
         AthleteButton("提交", "AgainTiJiao", athlete_id);
}

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

bool ParseScoreUpload(std::string_view path, ScoreUpload& upload) {
  if (!path.starts_with(kUploadPrefix)) return false;
  std::string_view query = path.substr(kUploadPrefix.size());
  int numbers[7] = {};
  std::size_t pos = 0;
  for (int i = 0; i < 7; ++i) {
    if (i > 0) {
      if (pos >= query.size() || query[pos] != '=') return false;
      ++pos;
    }
    if (!ReadInt(query, pos, numbers[i])) return false;
  }
  upload.RoundId = numbers[0];
  upload.AthleteId = numbers[1];
  upload.Status = numbers[2];
  upload.RecordValue = numbers[3];
  upload.RecordValue2 = numbers[4];
  upload.RecordValue3 = numbers[5];
  upload.Mode = numbers[6];
  upload.ScoreText.clear();
  if (pos < query.size() && query[pos] == '=') upload.ScoreText = query.substr(pos + 1);
  return upload.RoundId != 0 && upload.Mode >= kUploadNormal && upload.Mode <= kUploadRecount;
}

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

ScoreReply SaveScore(ScoreUpload& upload, std::string& text) {
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
      text = kBadScoreText;
      return kReplyBadScore;
    }
    if (upload.Value == lane->Result && upload.Status == lane->Status) return kReplyUnchanged;
  }

  int prior_state = 0;
  if (round->Kind == kPrelim) {
    prior_state = GetFinalState(contest->Id);
    if (prior_state < 0) return kReplyFailed;
    if (prior_state == 2) {
      text = FinalHasResultsRefusal(upload.AthleteId);
      return kReplyAsk;
    }
    if (prior_state == 1 && upload.Mode != kUploadConfirmed) {
      text = FinalExistsWarning(upload.AthleteId);
      return kReplyAsk;
    }
  } else {
    prior_state = IsCounted(round->Id) ? 1 : 0;
    if (prior_state != 0 && upload.Mode == kUploadNormal) {
      text = CountedWarning(upload.AthleteId);
      return kReplyAsk;
    }
  }

  ResultsUnit unit;
  if (!unit.ok()) return kReplyFailed;
  if (upload.Mode != kUploadRecount && StoreEntryScore(*lane, upload, *group) != 0) return kReplyFailed;
  text = upload.ScoreText;
  // A combined event's own round is stored but never ranked here.
  ScoreReply code = kReplySaved;
  if (event->BiSaiType != 3) code = RankAndScoreRound(*round, *contest, *event, *group, upload, prior_state, text);
  if (code == kReplyFailed || !unit.Commit()) {
    text.clear();
    return kReplyFailed;
  }
  // Seeding a final moves LaneList, so the lane is found again.
  const LaneNode* stored = FindAthleteLane(upload.RoundId, upload.AthleteId);
  return WithRecordFlag(code, stored ? stored->RecordFlag : 0);
}

ScoreReply HandleScoreUpload(std::string_view path, std::string& text) {
  text.clear();
  ScoreUpload upload;
  if (!ParseScoreUpload(path, upload)) return kReplyFailed;
  // The page knows two states only: 0 a result, 1 a foul.
  if (upload.ScoreText.size() >= kUploadTextBytes || (upload.Status != 0 && upload.Status != 1)) {
    text = kBadScoreText;
    return kReplyBadScore;
  }
  return SaveScore(upload, text);
}

}  // namespace korva
