#include "engine/school_records.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <vector>

#include "database/lookups.h"
#include "database/store_lanes.h"
#include "database/store_records.h"
#include "engine/ranked_list.h"
#include "engine/score_text.h"

namespace korva {

namespace {

bool SameRecord(const RecordNode& r, std::string_view group_name, int sex, std::string_view event_name) {
  return r.EventName == event_name && r.GroupName == group_name && r.Sex == sex;
}

std::string TodayText() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return std::to_string(tm.tm_year + 1900) + "年" + std::to_string(tm.tm_mon + 1) + "月" +
         std::to_string(tm.tm_mday) + "日";
}

// Writes best (its result, class, name and today's date) into a record
// node; the class and athlete must exist.
bool TakeHolder(RecordNode& record, const GroupNode& group, const LaneNode& best) {
  const ClassNode* class_node = FindClassNode(best.ClassId, group.GradeId);
  const AthleteNode* athlete = FindAthleteById(best.AthleteId);
  if (!class_node || !athlete) return false;
  record.ClassName = class_node->ClassName;
  record.HolderName = athlete->Name;
  record.DateText = TodayText();
  return true;
}

// A new record set by best at this meet, in the file and at the head of
// RecordList. 0, also when its class or athlete is missing (nothing
// written); 1 after a database error.
int AddRecordNode(const GroupNode& group, const ScoreUpload& upload, const LaneNode& best) {
  RecordNode record;
  if (!TakeHolder(record, group, best)) return 0;
  record.InsertFlag = 1;
  record.Sex = upload.GroupSex;
  record.EventName = upload.EventName;
  record.GroupName = upload.GroupName;
  record.MeetName = Model().MeetName;
  record.RoundKind = RecordRoundKind(upload.RoundKind);
  record.EventType = upload.EventType;
  record.TeamType = upload.TeamType;
  record.Value = best.Result;
  record.Value2 = upload.RecordValue2;
  record.Value3 = upload.RecordValue3;
  record.UnitText = upload.UnitText;
  record.Id = InsertRecord(record);
  if (record.Id <= 0) return 1;
  auto& records = Model().RecordList;
  records.insert(records.begin(), record);
  return 0;
}

}  // namespace

int CompareWithRecord(const LaneNode& lane, ScoreValue record, int direction) {
  if (lane.Result == kNoResult || lane.Status > 0) return 0;
  if (lane.Result == record) return 1;
  const bool better = direction == 2 ? lane.Result > record : lane.Result < record;
  return better ? 2 : 0;
}

int RecordRoundKind(int round_kind) { return round_kind == kPrelim ? 1 : 2; }

RecordNode* FindRecordNode(std::string_view group_name, int sex, int mode, std::string_view event_name,
                           int round_kind) {
  const std::string& meet = Model().MeetName;
  const int kind = RecordRoundKind(round_kind);
  for (RecordNode& r : Model().RecordList) {
    if (!SameRecord(r, group_name, sex, event_name)) continue;
    const bool here = r.MeetName == meet;
    const int set_kind = RecordRoundKind(r.RoundKind);
    if (mode == 0 || (mode == 1 && (!here || set_kind < kind)) || (mode == 2 && here && set_kind == kind))
      return &r;
  }
  return nullptr;
}

void RemoveRecordNode(int record_id) {
  std::erase_if(Model().RecordList, [&](const RecordNode& r) { return r.Id == record_id; });
}

int UpdateRecordsAfterScoring(const GroupNode& group, const ScoreUpload& upload, const RoundNode& round,
                              const LaneNode* best) {
  if (upload.RoundKind < kPrelim || upload.RoundKind > kDirectFinal) return 0;
  const int kind = RecordRoundKind(upload.RoundKind);
  // A standalone event's final and the parts of combined events that use
  // the same event keep one record: its holder is the best of their best
  // entries that broke the standing record, so no round lowers or removes
  // what another one set.
  std::vector<LaneNode> breakers;
  if (best && best->RecordFlag == 2) breakers.push_back(*best);
  for (const RoundNode& other : Model().RoundList) {
    if (other.Id == round.Id || other.CompletionStamp <= 0 || other.Kind < kPrelim || other.Kind > kDirectFinal ||
        RecordRoundKind(other.Kind) != kind)
      continue;
    const EventNode* event = FindEventOfRound(other);
    const ContestNode* contest = event ? FindContestById(other.ContestId) : nullptr;
    const GroupNode* other_group = contest ? FindGroupById(contest->GroupId) : nullptr;
    if (!other_group || event->Name != upload.EventName || other_group->GradeName != upload.GroupName ||
        other_group->Sex != group.Sex)
      continue;
    std::optional<std::vector<LaneNode>> list = BuildRankedList(other, *event);
    if (list && !list->empty() && list->front().RecordFlag == 2) breakers.push_back(list->front());
  }
  const LaneNode* holder = nullptr;
  for (const LaneNode& entry : breakers) {
    if (!holder || (upload.SortDirection == 2 ? entry.Result > holder->Result : entry.Result < holder->Result))
      holder = &entry;
  }

  auto& records = Model().RecordList;
  auto own = std::find_if(records.begin(), records.end(), [&](const RecordNode& r) {
    return SameRecord(r, upload.GroupName, group.Sex, upload.EventName) && r.MeetName == Model().MeetName &&
           RecordRoundKind(r.RoundKind) == kind;
  });
  if (own == records.end()) return holder ? AddRecordNode(group, upload, *holder) : 0;
  if (!holder) {
    const int id = own->Id;
    if (DeleteRecord(id) != 0) return 1;
    RemoveRecordNode(id);
    return 0;
  }
  // A record another round set with that result keeps its holder.
  const bool own_round = best && best->RecordFlag == 2 && holder == &breakers.front();
  if (!own_round && own->Value == holder->Result) return 0;
  RecordNode updated = *own;
  updated.Value = holder->Result;
  updated.RoundKind = kind;
  TakeHolder(updated, group, *holder);
  if (UpdateRecordFlags(updated) != 0) return 1;
  *own = updated;
  return 0;
}

int MarkRecordResults(const EventNode& event, const GroupNode& group, const ContestNode& contest) {
  const RoundNode* prelim = FindRoundByContestAndKind(contest.Id, kPrelim);
  if (!prelim) return 1;
  std::span<LaneNode> lanes = LanesOfRound(prelim->Id);
  if (lanes.empty()) return 1;
  const RecordNode* standing = FindRecordNode(group.GradeName, group.Sex, 1, event.Name, kPrelim);
  if (!standing) return 0;
  const ScoreValue record = standing->Value;
  for (LaneNode& lane : lanes) {
    const int flag = record == kNoResult ? 0 : CompareWithRecord(lane, record, event.PaiXuType);
    LaneNode marked = lane;
    marked.RecordFlag = flag;
    marked.Points = group.Bonus[flag] * 100;
    if (SaveLanePlacing(marked) != 0) return -1;
    lane = marked;
  }
  return 0;
}

namespace {

constexpr std::size_t kTopScoreFieldBytes = 49;

// The fields of "a=b=c=d=rest": up to four runs of bytes other than '=',
// each ended by '=', then the rest; reading stops at an empty field, as
// the page's format scan does. False when a field is longer than the bound.
bool SplitTopScoreQuery(std::string_view query, std::vector<std::string>& fields) {
  std::size_t pos = 0;
  while (fields.size() < 5 && pos < query.size()) {
    std::size_t end = fields.size() < 4 ? query.find('=', pos) : query.size();
    if (end == std::string_view::npos) end = query.size();
    if (end == pos) break;
    if (end - pos > kTopScoreFieldBytes) return false;
    fields.emplace_back(query.substr(pos, end - pos));
    if (end == query.size()) break;
    pos = end + 1;
  }
  return true;
}

}  // namespace

TopScoreCode UpdateTopScore(std::string_view query, std::string& text) {
  text.clear();
  std::vector<std::string> fields;
  if (!SplitTopScoreQuery(query, fields) || fields.size() < 3) return kTopScoreBadInput;
  const int grade_id = std::atoi(fields[0].c_str());
  const int sex = std::atoi(fields[2].c_str());
  if (sex != 1 && sex != 2) return kTopScoreBadInput;
  const auto& classes = Model().ClassList;
  auto grade = std::find_if(classes.begin(), classes.end(), [&](const ClassNode& c) { return c.GradeId == grade_id; });
  const EventNode* event = FindEventById(std::atoi(fields[1].c_str()));
  if (grade == classes.end() || !event) return kTopScoreBadInput;
  text = fields.size() > 3 ? fields[3] : "";
  ScoreValue value = kNoResult;
  if (ParseScoreText(text, event->Unit, value) != 0) return kTopScoreBadInput;

  const RecordNode* record = FindRecordNode(grade->GradeName, sex, 0, event->Name, 0);
  if (record && record->Value == value) return kTopScoreSameValue;
  if (value == kNoResult) {
    // Nothing to clear leaves nothing written.
    if (!record) return kTopScoreDeleted;
    if (record->MeetName == Model().MeetName) return kTopScoreSetHere;
    const int id = record->Id;
    if (DeleteRecord(id) != 0) return kTopScoreFailed;
    RemoveRecordNode(id);
    return kTopScoreDeleted;
  }
  RecordNode node;
  node.Sex = sex;
  node.EventName = event->Name;
  node.GroupName = grade->GradeName;
  node.Value = value;
  node.UnitText = event->Unit;
  node.Id = InsertRecord(node);
  if (node.Id <= 0) return kTopScoreFailed;
  auto& records = Model().RecordList;
  records.insert(records.begin(), node);
  return kTopScoreAdded;
}

}  // namespace korva
