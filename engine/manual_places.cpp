#include "engine/manual_places.h"

#include <span>
#include <vector>

#include "database/lookups.h"
#include "database/store_lanes.h"
#include "engine/results_unit.h"
#include "engine/round_ranking.h"
#include "engine/school_records.h"

namespace korva {

namespace {

constexpr int kMaxManualPlace = 99;

// False for a place outside 1 to 99 or, without shared places, a place
// given twice, which sets repeated.
bool PlacesAllowed(const ManualPlacesRequest& request, bool& repeated) {
  for (std::size_t i = 0; i < request.pairs.size(); ++i) {
    const int place = request.pairs[i].place;
    if (place < 1 || place > kMaxManualPlace) return false;
    for (std::size_t j = 0; j < i && !request.shared; ++j)
      if (request.pairs[j].place == place) return !(repeated = true);
  }
  return true;
}

// Points of a place: in shared mode the c athletes on place p share places
// p .. p+c-1 (each with its own bonus, summed and divided by c).
PointsValue ManualPoints(const ManualPlacesRequest& request, const ScoringSchemeNode& scheme, int multiplier,
                         int place, int bonus) {
  if (!request.shared) return (SchemePoints(scheme, place) * multiplier + bonus) * 100;
  int sharing = 0;
  for (const PlacePair& pair : request.pairs) sharing += pair.place == place;
  int sum = 0;
  for (int j = 0; j < sharing; ++j) sum += (SchemePoints(scheme, place + j) * multiplier + bonus) * 100;
  return sum / sharing;
}

// Places the named lanes of the round; the best placed entry comes back
// (Result kNoResult when none was placed). False after a failed write.
bool PlaceNamedLanes(const ManualPlacesRequest& request, const RoundNode& round, const ContestNode& contest,
                     const EventNode& event, const GroupNode& group, const ScoringSchemeNode& scheme,
                     LaneNode& best) {
  std::span<const LaneNode> lanes = LanesOfRound(round.Id);
  std::size_t placed = 0;
  bool have_best = false;
  for (std::size_t i = 0; i < lanes.size() && placed <= request.pairs.size(); ++i) {
    for (const PlacePair& pair : request.pairs) {
      if (pair.athlete_id != lanes[i].AthleteId) continue;
      LaneNode entry = lanes[i];
      const int flag = request.record[0] == kNoResult ? 0 : CompareWithRecord(entry, request.record[0], event.PaiXuType);
      entry.Place = pair.place;
      entry.RecordFlag = flag;
      entry.Points = ManualPoints(request, scheme, event.DeFenJiSuan, pair.place, group.Bonus[flag]);
      // One bonus per athlete and record, as counting gives it.
      if (!KeepOneBonus(round, contest, entry, group.Bonus[flag] * 100) || SaveEntryPlacing(entry) != 0) return false;
      ++placed;
      const bool better = event.PaiXuType == 2 ? entry.Result > best.Result : entry.Result < best.Result;
      if (!have_best || better) best = entry;
      have_best = true;
    }
  }
  return true;
}

}  // namespace

int ApplyManualPlaces(const ManualPlacesRequest& request, std::string& text) {
  text.clear();
  bool repeated = false;
  if (!PlacesAllowed(request, repeated)) {
    // The form offers every place to every row: the clerk can fix this one.
    if (repeated) text = "名次不能重复，请为每位运动员指定不同的名次，或选择“强制允许并列”后再提交！";
    return 0;
  }
  RoundNode* round = FindRoundById(request.round_id);
  const EventNode* event = round ? FindEventOfRound(*round) : nullptr;
  const ContestNode* contest = event ? FindContestById(round->ContestId) : nullptr;
  const GroupNode* group = contest ? FindGroupById(contest->GroupId) : nullptr;
  const ScoringSchemeNode* scheme = group ? FindSchemeOfContest(*contest, *group) : nullptr;
  if (!scheme) return 0;

  ResultsUnit unit;
  if (!unit.ok()) return 0;
  LaneNode best;
  if (!PlaceNamedLanes(request, *round, *contest, *event, *group, *scheme, best)) return 0;
  ScoreUpload upload;
  DescribeRound(upload, *round, *event, *group);
  upload.RecordValue = request.record[0];
  upload.RecordValue2 = request.record[1];
  upload.RecordValue3 = request.record[2];
  if (best.Result != kNoResult && UpdateRecordsAfterScoring(*group, upload, *round, &best) != 0) return 0;
  if (FinishCountedRound(*round, *group, *event) != 0 || !unit.Commit()) return 0;
  text = "决赛已经完成，请查看或打印【成绩表】。";
  return 1;
}

}  // namespace korva
