#include "pages/meet/entry_changes.h"

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/loaders.h"
#include "database/lookups.h"
#include "database/sqlite_db.h"
#include "database/store_athletes.h"
#include "database/store_lanes.h"
#include "database/store_rounds.h"
#include "engine/bib_numbers.h"
#include "engine/draw.h"
#include "engine/round_lookups.h"
#include "web/escape.h"

namespace korva {

namespace {

constexpr const char* kNoOrderBookText =
    "运动会还未生成秩序册，请到班主任登陆后修改运动员信息与比赛！本功能适用于秩序册生成后修改运动员信息与比赛。";
constexpr const char* kStoreFailedText = "数据库写入出现错误，修改失败！";

std::string Quoted(const std::string& event_name) { return "“" + EscapeHtml(event_name) + "”"; }

// How a new lane is placed in its round.
enum class Placement {
  kFirstInRound,   // the round had no lane yet
  kWithClassTeam,  // a team member joins his class's lane
  kFreePosition,   // a heat and lane no athlete holds
};

struct LanePlan {
  RoundNode* round = nullptr;
  LaneNode lane;
  Placement how = Placement::kFreePosition;
};

// The rounds an entrant of the contest starts in: its preliminary while it
// is held, else its single final (one per part of a combined event).
std::vector<RoundNode*> StartingRounds(const ContestNode& contest) {
  if (contest.HasPrelim != 0) {
    RoundNode* prelim = FindRoundByContestAndKind(contest.Id, kPrelim);
    if (prelim != nullptr && prelim->Disabled == 0) return {prelim};
  }
  std::vector<RoundNode*> rounds;
  for (RoundNode& round : Model().RoundList) {
    if (round.ContestId == contest.Id && round.Kind == kDirectFinal) rounds.push_back(&round);
  }
  return rounds;
}

int HighestLaneRowId() {
  int highest = 0;
  for (const LaneNode& lane : Model().LaneList) highest = std::max(highest, lane.Id);
  return highest;
}

auto LaneKey(const LaneNode& lane) { return std::tie(lane.RoundId, lane.Heat, lane.Lane, lane.Id); }

// Where a reload would put the lane: LaneList is ordered by round, heat,
// lane and row id.
void InsertLaneInOrder(const LaneNode& lane) {
  auto& lanes = Model().LaneList;
  auto at = std::upper_bound(lanes.begin(), lanes.end(), lane,
                             [](const LaneNode& a, const LaneNode& b) { return LaneKey(a) < LaneKey(b); });
  lanes.insert(at, lane);
}

// The number the bib rule gives an athlete who has none, every other
// athlete's number left as it is; 0 when his class and sex number nobody.
int NextBibFor(const AthleteNode& athlete) {
  auto& athletes = Model().AthleteList;
  std::vector<std::pair<int, std::string>> kept;
  kept.reserve(athletes.size());
  for (const AthleteNode& a : athletes) kept.emplace_back(a.Bib, a.BibText);
  NumberAthletesInModel();
  const int bib = athlete.Bib;
  for (std::size_t i = 0; i < athletes.size(); ++i) {
    athletes[i].Bib = kept[i].first;
    athletes[i].BibText = std::move(kept[i].second);
  }
  return bib;
}

// Steps 1 to 6 of a join: the first refusal, or empty when the athlete may
// enter the event. contest is the athlete's contest of the event.
std::string RefusalToJoin(const AthleteNode& athlete, const EventNode& event, const GroupNode& group,
                          const ContestNode& contest) {
  int single = 0;
  for (int contest_id : athlete.ContestIds) {
    if (contest_id == contest.Id) return "该名运动员已经参加了" + Quoted(event.Name) + "比赛";
    const ContestNode* entered = FindContestById(contest_id);
    const EventNode* entered_event = entered ? FindEventById(entered->EventId) : nullptr;
    if (entered_event == nullptr) return "数据错误，错误号：314743!";
    if (entered_event->TuanTiType == 1) ++single;
  }
  if (single >= group.EventsPerAthlete) {
    return "该运动员所在竞赛组每人限报" + std::to_string(group.EventsPerAthlete) + "项单项比赛,该运动员已报个人单项" +
           std::to_string(single) + "项，不能再报" + Quoted(event.Name) + "比赛！";
  }
  int classmates = 0;
  for (const AthleteNode& other : Model().AthleteList) {
    if (other.ClassId != athlete.ClassId || other.Sex != athlete.Sex) continue;
    classmates += static_cast<int>(std::count(other.ContestIds.begin(), other.ContestIds.end(), contest.Id));
  }
  if (event.TuanTiType == 1 && classmates >= group.EntrantsPerEvent) {
    return "该运动员所在竞赛组单项限报" + std::to_string(group.EntrantsPerEvent) + "人,目前此竞赛组" +
           Quoted(event.Name) + "已报" + std::to_string(classmates) + "人，不能再有其他运动员参加此项比赛！";
  }
  if (event.TuanTiType == 2 && classmates >= event.TuanTiRenShu) return Quoted(event.Name) + "团队赛人数已经报满！";
  if (event.TuanTiType == 3 && classmates >= event.TuanTiRenShu / 2) {
    return Quoted(event.Name) + "男女混合团队赛人数已经报满！";
  }
  if (athlete.ContestIds.size() >= static_cast<std::size_t>(kMaxAthleteEntries)) {
    return "该运动员报名的比赛已达上限，不能再报" + Quoted(event.Name) + "比赛！";
  }
  return "";
}

// Where the athlete's new lanes go, one per starting round; redraw is set
// when a round has no free position. A refusal when he already holds a
// lane there, else empty.
std::string PlanLanes(const AthleteNode& athlete, const EventNode& event, const std::vector<RoundNode*>& rounds,
                      std::vector<LanePlan>& plans, bool& redraw) {
  int next_id = HighestLaneRowId();
  for (RoundNode* round : rounds) {
    LanePlan plan{.round = round,
                  .lane = {.Id = ++next_id, .RoundId = round->Id, .Heat = 1, .Lane = 1, .AthleteId = athlete.Id,
                           .ClassId = athlete.ClassId}};
    bool any = false;
    const LaneNode* class_lane = nullptr;
    for (const LaneNode& lane : Model().LaneList) {
      if (lane.RoundId != round->Id) continue;
      any = true;
      if (lane.AthleteId == athlete.Id) return "该名运动员已经参加了" + Quoted(event.Name) + "比赛";
      if (lane.ClassId == athlete.ClassId) class_lane = &lane;
    }
    if (!any) {
      plan.how = Placement::kFirstInRound;
    } else if (event.TuanTiType > 1 && class_lane != nullptr) {
      plan.how = Placement::kWithClassTeam;
      plan.lane.Heat = class_lane->Heat;
      plan.lane.Lane = class_lane->Lane;
    } else if (FindFreeHeatPosition(*round, plan.lane.Lane, plan.lane.Heat) != 0) {
      redraw = true;
    }
    plans.push_back(plan);
  }
  return "";
}

std::string JoinedText(const EventNode& event, Placement how) {
  switch (how) {
    case Placement::kFirstInRound: return "加入" + Quoted(event.Name) + "比赛成功，请打印检录表。";
    case Placement::kWithClassTeam: return "加入" + Quoted(event.Name) + "比赛成功，团队比赛检录表未发生任何变化。";
    case Placement::kFreePosition: break;
  }
  return "加入" + Quoted(event.Name) + "比赛成功，原有的运动员没有重新分组分道，请重新打印检录表。";
}

}  // namespace

int FindFreeHeatPosition(const RoundNode& round, int& lane, int& heat) {
  AssertDataLockHeld();
  const EventNode* event = FindEventOfRound(round);
  const VenueNode* venue = event ? FindVenueById(event->ChangDi) : nullptr;
  if (venue == nullptr) return 1;
  // The draw's own bounds: lanes 1 to the venue's size, or for events run
  // without lanes up to the heat's capacity.
  const int size = std::max(1, venue->Size);
  const int last_position = event->FZFDType == 1 ? size : event->BiSaiType == 1 ? 3 * size : size;

  std::vector<std::pair<int, int>> held;  // (heat, lane) of the round's lanes
  for (const LaneNode& n : Model().LaneList) {
    if (n.RoundId == round.Id && n.Lane > 0) held.emplace_back(n.Heat, n.Lane);
  }
  std::sort(held.begin(), held.end());
  held.erase(std::unique(held.begin(), held.end()), held.end());  // a team shares its lane
  for (std::size_t i = 1; i < held.size(); ++i) {
    if (held[i].first == held[i - 1].first && held[i].second >= held[i - 1].second + 2) {
      heat = held[i].first;
      lane = held[i - 1].second + 1;
      return 0;
    }
  }
  // No gap: the end of a heat, heat by heat.
  for (std::size_t first = 0; first < held.size();) {
    std::size_t last = first;
    while (last + 1 < held.size() && held[last + 1].first == held[first].first) ++last;
    heat = held[first].first;
    if (held[last].second + 1 <= last_position) {
      lane = held[last].second + 1;
      return 0;
    }
    if (held[first].second > 1) {
      lane = held[first].second - 1;
      return 0;
    }
    first = last + 1;
  }
  return 1;
}

int AddAthleteToEvent(int athlete_id, int event_id, std::string& message) {
  AssertDataLockHeld(true);
  MeetModel& model = Model();
  if (model.LaneList.empty()) {
    message = kNoOrderBookText;
    return 0;
  }
  const EventNode* event = FindEventById(event_id);
  AthleteNode* athlete = FindAthleteById(athlete_id);
  if (event == nullptr || athlete == nullptr) {
    message = "数据错误，错误号：3443!";
    return 0;
  }
  const GroupNode* group = FindGroupByGradeAndSex(athlete->GradeId, athlete->Sex);
  const ContestNode* contest = group ? FindContestByGroupAndEvent(group->Id, event_id) : nullptr;
  if (contest == nullptr || FindVenueById(event->ChangDi) == nullptr) {
    message = "数据错误，错误号：34743!";
    return 0;
  }
  message = RefusalToJoin(*athlete, *event, *group, *contest);
  if (!message.empty()) return 0;

  // A mixed team runs in the other sex's contest when that holds its rounds.
  std::vector<RoundNode*> rounds = StartingRounds(*contest);
  if (rounds.empty() && event->TuanTiType == 3) {
    if (const ContestNode* partner = FindOppositeSexContest(group->Id, event_id)) rounds = StartingRounds(*partner);
  }
  if (rounds.empty()) {
    message = "数据错误，错误号：310943!";
    return 0;
  }
  std::vector<LanePlan> plans;
  bool redraw = false;
  message = PlanLanes(*athlete, *event, rounds, plans, redraw);
  if (!message.empty()) return 0;
  const int holder = rounds.front()->ContestId;
  // Drawing again would throw the entered results away.
  if (redraw && ContestHasResults(holder) != 0) {
    message = Quoted(event->Name) + "比赛已有比赛成绩，无法重新分组分道，请删除成绩后再试。";
    return 0;
  }

  const AthleteNode before = *athlete;
  AthleteNode after = before;
  after.ContestIds.push_back(contest->Id);
  if (after.Bib == 0) {
    after.Bib = NextBibFor(*athlete);
    if (after.Bib != 0) after.BibText = FormatBibText(after.Bib, model.BibWidth);
  }
  std::vector<LaneNode> new_lanes;
  std::vector<RoundNode> new_rounds;
  for (const LanePlan& plan : plans) {
    new_lanes.push_back(plan.lane);
    if (plan.how == Placement::kWithClassTeam) continue;
    new_rounds.push_back(*plan.round);
    new_rounds.back().Entrants = CountEntrants(LanesOfRound(plan.round->Id)) + 1;
  }

  Transaction unit(MeetConnection());
  bool stored = unit.ok() && SaveAthlete(after) != 0 && (after.Bib == before.Bib || UpdateAthleteBib(after) == 0);
  int heats = 0;
  int entrants = 0;
  if (stored && redraw) {
    // The draw reads the entries from AthleteList.
    *athlete = after;
    stored = RedrawContest(holder, heats, entrants) == 0;
  } else if (stored) {
    stored = InsertLaneList(new_lanes) == 0;
    for (const RoundNode& round : new_rounds) stored = stored && SaveRound(round) == 0;
  }
  stored = stored && unit.Commit();
  if (!stored) {
    unit.Rollback();
    *athlete = before;
    if (redraw) ReloadRoundsAndLanes();
    message = kStoreFailedText;
    return 0;
  }

  *athlete = after;
  if (redraw) {
    message = "加入" + Quoted(event->Name) + "比赛成功，并已重新分组分道，现为" + std::to_string(heats) + "组共" +
              std::to_string(entrants) + "人。请重新打印检录表。";
    return 0;
  }
  for (std::size_t i = 0; i < plans.size(); ++i) InsertLaneInOrder(new_lanes[i]);
  for (const RoundNode& round : new_rounds) *FindRoundById(round.Id) = round;
  message = JoinedText(*event, plans.front().how);
  return 0;
}

int WithdrawAthleteFromEvent(int event_id, int athlete_id, std::string& message) {
  AssertDataLockHeld(true);
  MeetModel& model = Model();
  if (model.LaneList.empty()) {
    message = kNoOrderBookText;
    return 0;
  }
  const EventNode* event = FindEventById(event_id);
  if (AthleteHasResultInEvent(athlete_id, event_id) != 0) {
    message = event ? Quoted(event->Name) + "比赛中已录入该运动员成绩，无法退赛！" : "提示:数据错误，错误号：0302232。";
    return 0;
  }
  message = event ? "退出" + Quoted(event->Name) + "比赛失败！" : "提示:数据错误，错误号：052232。";
  AthleteNode* athlete = FindAthleteById(athlete_id);
  if (athlete == nullptr) return 0;

  // The athlete's lanes of the event, and the entries they stand for: his
  // own contest of the event (a mixed team may run in the other sex's
  // contest's rounds) and the contests of those rounds.
  std::vector<int> lane_ids;
  std::vector<int> contest_ids;
  std::vector<RoundNode> rounds;
  for (const LaneNode& lane : model.LaneList) {
    if (lane.AthleteId != athlete_id || lane.Result != kNoResult) continue;
    const RoundNode* round = FindRoundById(lane.RoundId);
    if (round == nullptr) {
      message = "提示:数据错误，错误号：0302236。";
      return 0;
    }
    const ContestNode* contest = FindContestById(round->ContestId);
    if (contest == nullptr) {
      message = "提示:数据错误，错误号：03022。";
      return 0;
    }
    if (contest->EventId != event_id) continue;
    lane_ids.push_back(lane.Id);
    contest_ids.push_back(contest->Id);
    if (rounds.empty() || rounds.back().Id != round->Id) rounds.push_back(*round);
  }
  if (lane_ids.empty()) return 0;
  auto withdrawn = [&](const LaneNode& lane) {
    return std::find(lane_ids.begin(), lane_ids.end(), lane.Id) != lane_ids.end();
  };
  // Each round counts the entrants that stay (a team's lane stays while a
  // member holds it).
  for (RoundNode& round : rounds) {
    std::vector<LaneNode> staying;
    for (const LaneNode& lane : LanesOfRound(round.Id))
      if (!withdrawn(lane)) staying.push_back(lane);
    round.Entrants = CountEntrants(staying);
  }
  if (const GroupNode* group = FindGroupByGradeAndSex(athlete->GradeId, athlete->Sex)) {
    if (const ContestNode* own = FindContestByGroupAndEvent(group->Id, event_id)) contest_ids.push_back(own->Id);
  }
  std::erase_if(contest_ids, [&](int id) {
    return std::find(athlete->ContestIds.begin(), athlete->ContestIds.end(), id) == athlete->ContestIds.end();
  });
  std::sort(contest_ids.begin(), contest_ids.end());
  contest_ids.erase(std::unique(contest_ids.begin(), contest_ids.end()), contest_ids.end());

  Transaction unit(MeetConnection());
  bool stored = unit.ok();
  for (int id : lane_ids) stored = stored && DeleteLaneRow(id) == 0;
  for (int id : contest_ids) stored = stored && DeleteAthleteEntry(athlete_id, id) == 0;
  for (const RoundNode& round : rounds) stored = stored && SaveRound(round) == 0;
  if (!stored || !unit.Commit()) {
    unit.Rollback();
    return 0;
  }
  std::erase_if(model.LaneList, withdrawn);
  for (const RoundNode& round : rounds) *FindRoundById(round.Id) = round;
  std::erase_if(athlete->ContestIds, [&](int id) {
    return std::find(contest_ids.begin(), contest_ids.end(), id) != contest_ids.end();
  });
  message = event ? "成功退出" + Quoted(event->Name) + "比赛！" : "提示:数据错误，错误号：0312232。";
  return 0;
}

}  // namespace korva
