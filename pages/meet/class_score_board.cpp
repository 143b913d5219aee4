#include "pages/meet/class_score_board.h"

#include <algorithm>
#include <utility>

#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/lookups.h"
#include "engine/score_text.h"
#include "web/escape.h"

namespace korva {

namespace {

// Every board that polls asks for this text, so it is built with a few
// sorted vectors rather than node-based maps.

struct ClassTotal {
  const ClassNode* Class = nullptr;
  PointsValue Total = 0;
};

constexpr std::size_t kBestAthletes = 10;

// Sorted (id, value) pairs.
template <typename Value>
using IdIndex = std::vector<std::pair<int, Value>>;

template <typename Value>
void SortById(IdIndex<Value>& index) {
  std::sort(index.begin(), index.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
}

template <typename Value>
const Value* FindId(const IdIndex<Value>& index, int id) {
  auto at = std::lower_bound(index.begin(), index.end(), id, [](const auto& entry, int key) { return entry.first < key; });
  return at != index.end() && at->first == id ? &at->second : nullptr;
}

// Dense ranks of totals sorted highest first: 1, then the previous rank + 1
// for each lower total; equal totals share a rank.
template <typename Total>
std::vector<int> DenseRanks(const std::vector<Total>& sorted) {
  std::vector<int> ranks;
  ranks.reserve(sorted.size());
  for (std::size_t i = 0; i < sorted.size(); ++i)
    ranks.push_back(i == 0 ? 1 : sorted[i].Total == sorted[i - 1].Total ? ranks.back() : ranks.back() + 1);
  return ranks;
}

// Highest first; of equal totals the first found keeps its place.
template <typename Total>
void SortHighestFirst(std::vector<Total>& totals) {
  std::stable_sort(totals.begin(), totals.end(), [](const Total& a, const Total& b) { return a.Total > b.Total; });
}

// The ids of the rounds of team and mixed-team events, sorted; false when a
// round has no event.
bool CollectTeamRounds(std::vector<int>& team_rounds) {
  const MeetModel& model = Model();
  IdIndex<const EventNode*> contest_events;
  contest_events.reserve(model.ContestList.size());
  for (const ContestNode& contest : model.ContestList)
    contest_events.emplace_back(contest.Id, FindEventById(contest.EventId));
  SortById(contest_events);
  for (const RoundNode& round : model.RoundList) {
    const EventNode* event = nullptr;
    if (round.PartEventId != 0) {
      event = FindEventById(round.PartEventId);
    } else if (const EventNode* const* found = FindId(contest_events, round.ContestId)) {
      event = *found;
    }
    if (!event) {
      ShowDataErrorCode(22224);
      return false;
    }
    if (event->TuanTiType != 1) team_rounds.push_back(round.Id);
  }
  std::sort(team_rounds.begin(), team_rounds.end());
  return true;
}

void AppendClassRows(const std::vector<ClassTotal>& classes, bool any_points, std::string& out) {
  const std::vector<int> ranks = DenseRanks(classes);
  const char* rank_style = any_points ? "" : " style=\"display:none\"";
  for (std::size_t i = 0; i < classes.size(); ++i) {
    const ClassNode& class_node = *classes[i].Class;
    out += "<tr bgcolor=\"";
    out += i % 2 == 0 ? "#FFFFCC" : "#C1FFFF";
    out += "\"><td>";
    out += std::to_string(i + 1);
    out += "</td><td><a href=\"javascript:SeeOneClassCj(";
    out += std::to_string(class_node.ClassId);
    out += ")\">";
    out += EscapeHtml(class_node.ClassName);
    out += "</a></td><td>";
    out += FormatPoints(classes[i].Total);
    out += "</td><td><span";
    out += rank_style;
    out += ">第";
    out += std::to_string(ranks[i]);
    out += "名</span></td></tr>";
  }
}

// The athlete of a total, looked for among his class's athletes only.
const AthleteNode* FindAthleteOfClass(int grade_id, const AthleteTotal& total) {
  for (const AthleteNode& athlete : ClassAthletes(grade_id, total.ClassId))
    if (athlete.Id == total.AthleteId) return &athlete;
  return nullptr;
}

void AppendBestAthletes(int grade_id, std::vector<AthleteTotal> athletes, std::string& out) {
  SortHighestFirst(athletes);
  if (athletes.size() > kBestAthletes) athletes.resize(kBestAthletes);
  const std::vector<int> ranks = DenseRanks(athletes);
  out += "\r\n<H2 align=\"center\">风&nbsp;云&nbsp;榜</H2><table width=\"100%\" border=\"1\" "
         "style=\"font-size:larger\"><tr><td>姓名</td><td>班级</td><td>得分</td><td>排名</td></tr>\r\n";
  for (std::size_t i = 0; i < athletes.size(); ++i) {
    const AthleteNode* athlete = FindAthleteOfClass(grade_id, athletes[i]);
    out += "<tr><td>";
    if (athlete) out += EscapeHtml(athlete->Name);
    out += "</td>\t\t\t\t\t\t<td>";
    out += EscapeHtml(athletes[i].ClassName);
    out += "</td><td>";
    out += FormatPoints(athletes[i].Total);
    out += "</td><td>";
    out += std::to_string(ranks[i]);
    out += "</td></tr>\r\n";
  }
  out += "</table><br /><br />\r\n";
}

}  // namespace

void AddAthletePoints(AthleteTotals& totals, const LaneNode& lane, const std::string& class_name) {
  auto at = std::lower_bound(totals.At.begin(), totals.At.end(), lane.AthleteId,
                             [](const auto& entry, int key) { return entry.first < key; });
  if (at != totals.At.end() && at->first == lane.AthleteId) {
    totals.List[at->second].Total += lane.Points;
    return;
  }
  totals.At.insert(at, {lane.AthleteId, totals.List.size()});
  totals.List.push_back({lane.AthleteId, lane.ClassId, class_name, lane.Points});
}

std::string BuildClassScoreBoard(int grade_id, int /*followed_class_id*/) {
  AssertDataLockHeld();
  const MeetModel& model = Model();
  std::vector<ClassTotal> classes;
  IdIndex<std::size_t> class_at;
  for (const ClassNode& class_node : model.ClassList) {
    if (grade_id != 0 && class_node.GradeId != grade_id) continue;
    class_at.emplace_back(class_node.ClassId, classes.size());
    classes.push_back({&class_node, 0});
  }
  SortById(class_at);
  std::vector<int> team_rounds;
  if (grade_id != 0 && !CollectTeamRounds(team_rounds)) return {};

  AthleteTotals athletes;
  bool any_points = false;
  const LaneNode* counted = nullptr;
  for (const LaneNode& lane : model.LaneList) {
    if (lane.Points <= 0) continue;
    // The members of a class team share round, heat and lane and each
    // carries the team's points; the round belongs to the test so that a
    // class scoring from the same heat and lane in the next round keeps
    // those points too.
    if (counted && counted->RoundId == lane.RoundId && counted->Heat == lane.Heat && counted->Lane == lane.Lane &&
        counted->ClassId == lane.ClassId)
      continue;
    const std::size_t* at = FindId(class_at, lane.ClassId);
    if (!at) continue;
    counted = &lane;
    any_points = true;
    ClassTotal& class_total = classes[*at];
    class_total.Total += lane.Points;
    if (grade_id == 0 || std::binary_search(team_rounds.begin(), team_rounds.end(), lane.RoundId)) continue;
    AddAthletePoints(athletes, lane, class_total.Class->ClassName);
  }

  SortHighestFirst(classes);
  std::string board;
  board.reserve(200 + 150 * classes.size() + 120 * kBestAthletes);
  board += "<table width=\"100%\" border=\"1\" style=\"font-size:larger\"><tr><td>序号</td><td>班级</td><td>总分</td><td>";
  board += grade_id != 0 ? "年级排名" : "全校排名";
  board += "</td></tr>\r\n";
  AppendClassRows(classes, any_points, board);
  board += "</table><br />";
  if (grade_id != 0 && !athletes.List.empty()) AppendBestAthletes(grade_id, std::move(athletes.List), board);
  return board;
}

}  // namespace korva
