#include "engine/manual_places.h"

#include <charconv>
#include <climits>
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

struct PlacePair {
  int athlete_id = 0;
  int place = 0;
};

struct ManualPlacesRequest {
  bool shared = false;
  int round_id = 0;
  ScoreValue record[3] = {kNoResult, kNoResult, kNoResult};
  std::vector<PlacePair> pairs;
};

// The '-'-joined numbers after the key, as far as they read ("%d-%d-..."):
// each may carry a sign, so "--65535" is the separator and -65535.
std::vector<int> ReadNumbers(std::string_view text) {
  std::vector<int> numbers;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (!numbers.empty()) {
      if (text[pos] != '-') break;
      ++pos;
    }
    long long value = 0;
    auto [end, error] = std::from_chars(text.data() + pos, text.data() + text.size(), value);
    if (error != std::errc() || value < INT_MIN || value > INT_MAX) break;
    numbers.push_back(static_cast<int>(value));
    pos = static_cast<std::size_t>(end - text.data());
  }
  return numbers;
}

// False when the path carries neither key, too few numbers, an odd count,
// a place outside 1 to 99, or (without shared places) a place twice, which
// sets repeated.
bool ParseManualPlaces(std::string_view path, ManualPlacesRequest& request, bool& repeated) {
  std::size_t key = path.find("2016.html?str=");
  if (key == std::string_view::npos) {
    key = path.find("2016.html?ctr=");
    if (key == std::string_view::npos) return false;
    request.shared = true;
  }
  const std::vector<int> numbers = ReadNumbers(path.substr(key + 14));
  if (numbers.size() <= 7 || numbers.size() % 2 != 0) return false;
  request.round_id = numbers[0];
  for (int i = 0; i < 3; ++i) request.record[i] = numbers[1 + i];
  for (std::size_t i = 4; i + 1 < numbers.size(); i += 2) {
    const PlacePair pair{numbers[i], numbers[i + 1]};
    if (pair.place < 1 || pair.place > kMaxManualPlace) return false;
    for (const PlacePair& other : request.pairs)
      if (!request.shared && other.place == pair.place) return !(repeated = true);
    request.pairs.push_back(pair);
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

int HandleManualPlaces(std::string_view path, std::string& text) {
  text.clear();
  ManualPlacesRequest request;
  bool repeated = false;
  if (!ParseManualPlaces(path, request, repeated)) {
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
