#include "database/lookups.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "database/data_error.h"

namespace korva {

namespace {

template <typename List, typename Pred>
auto FindIn(List& list, Pred pred) -> typename List::value_type* {
  for (auto& node : list)
    if (pred(node)) return &node;
  return nullptr;
}

// A starting number as a number; 0 when unset or not a number.
long StartNumberValue(const std::string& text) {
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  return end == text.c_str() || v < 0 ? 0 : v;
}

}  // namespace

ClassNode* FindClassNode(int class_id, int grade_id) {
  return FindIn(Model().ClassList,
                [&](const ClassNode& n) { return n.ClassId == class_id && n.GradeId == grade_id; });
}

GroupNode* FindGroupById(int group_id) {
  GroupNode* g = FindIn(Model().GroupList, [&](const GroupNode& n) { return n.Id == group_id; });
  if (!g) ShowDataErrorCode(123511);
  return g;
}

GroupNode* FindGroupByGradeAndSex(int grade_id, int sex) {
  return FindIn(Model().GroupList,
                [&](const GroupNode& n) { return n.GradeId == grade_id && n.Sex == sex; });
}

GroupNode* FindOppositeSexGroup(int group_id) {
  GroupNode* g = FindGroupById(group_id);
  return g ? FindGroupByGradeAndSex(g->GradeId, 3 - g->Sex) : nullptr;
}

ContestNode* FindOppositeSexContest(int group_id, int event_id) {
  GroupNode* other = FindOppositeSexGroup(group_id);
  return other ? FindContestByGroupAndEvent(other->Id, event_id) : nullptr;
}

ContestNode* FindContestById(int contest_id) {
  ContestNode* c =
      FindIn(Model().ContestList, [&](const ContestNode& n) { return n.Id == contest_id; });
  if (!c) ShowDataErrorCode(12550);
  return c;
}

ContestNode* FindContestByGroupAndEvent(int group_id, int event_id) {
  return FindIn(Model().ContestList, [&](const ContestNode& n) {
    return n.GroupId == group_id && n.EventId == event_id;
  });
}

EventNode* FindEventById(int event_id) {
  return FindIn(Model().EventList, [&](const EventNode& n) { return n.Id == event_id; });
}

EventNode* FindEventOfRound(const RoundNode& round) {
  if (round.PartEventId != 0) return FindEventById(round.PartEventId);
  ContestNode* contest = FindContestById(round.ContestId);
  return contest ? FindEventById(contest->EventId) : nullptr;
}

VenueNode* FindVenueById(int venue_id) {
  VenueNode* v = FindIn(Model().VenueList, [&](const VenueNode& n) { return n.Id == venue_id; });
  if (!v) ShowDataErrorCode(114);
  return v;
}

int LaneAtPlace(const VenueNode& track, int place) {
  if (place < 1) return place;
  int in_use = 0;
  int highest = 0;
  for (int lane : track.LanesInUse) {
    if (lane == 0) break;
    if (++in_use == place) return lane;
    highest = std::max(highest, lane);
  }
  return highest + place - in_use;
}

ScoringSchemeNode* FindScoringScheme(int scheme_id) {
  return FindIn(Model().ScoringSchemeList,
                [&](const ScoringSchemeNode& n) { return n.Id == scheme_id; });
}

RoundNode* FindRoundById(int round_id) {
  return FindIn(Model().RoundList, [&](const RoundNode& n) { return n.Id == round_id; });
}

RoundNode* FindRoundByContestAndKind(int contest_id, int kind) {
  return FindIn(Model().RoundList,
                [&](const RoundNode& n) { return n.ContestId == contest_id && n.Kind == kind; });
}

LaneNode* FindFirstLaneOfRound(int round_id) {
  return FindIn(Model().LaneList, [&](const LaneNode& n) { return n.RoundId == round_id; });
}

std::span<LaneNode> LanesOfRound(int round_id) {
  auto& lanes = Model().LaneList;
  auto first = std::find_if(lanes.begin(), lanes.end(), [&](const LaneNode& n) { return n.RoundId == round_id; });
  auto end = std::find_if(first, lanes.end(), [&](const LaneNode& n) { return n.RoundId != round_id; });
  return {first, end};
}

AthleteNode* FindAthleteById(int athlete_id) {
  return FindIn(Model().AthleteList, [&](const AthleteNode& n) { return n.Id == athlete_id; });
}

AthleteNode* FindFirstAthleteOfClass(int class_id) {
  return FindIn(Model().AthleteList, [&](const AthleteNode& n) { return n.ClassId == class_id; });
}

AthleteNode* FindFirstAthleteOfClassAndSex(int class_id, int sex) {
  return FindIn(Model().AthleteList,
                [&](const AthleteNode& n) { return n.ClassId == class_id && n.Sex == sex; });
}

int AthleteHasResultInEvent(int athlete_id, int event_id) {
  for (const LaneNode& lane : Model().LaneList) {
    if (lane.AthleteId != athlete_id || lane.Result == kNoResult) continue;
    const RoundNode* round = FindRoundById(lane.RoundId);
    if (!round) continue;
    const ContestNode* contest = FindContestById(round->ContestId);
    if (!contest) return 0;
    if (contest->EventId == event_id) return 1;
  }
  return 0;
}

int FindClassNameClash(int class_id, const std::string& name) {
  for (const ClassNode& n : Model().ClassList)
    if (n.ClassId != class_id && n.ClassName == name) return 1;
  return 0;
}

int FindStartNumberClash(const std::string& boys, const std::string& girls, int class_id) {
  // Unset numbers (empty or 0) clash with nothing; "010" and "10" start the
  // same numbering, so numbers are compared by value.
  const long boy = StartNumberValue(boys), girl = StartNumberValue(girls);
  for (const ClassNode& n : Model().ClassList) {
    if (n.ClassId == class_id) continue;
    const long other_boy = StartNumberValue(n.BoyStartNumber),
               other_girl = StartNumberValue(n.GirlStartNumber);
    if (boy > 0 && (boy == other_boy || boy == other_girl)) return 1;
    if (girl > 0 && (girl == other_boy || girl == other_girl)) return 2;
  }
  return 0;
}

GroupEventNode* FindGroupEvents(int group_id) {
  for (GroupEventNode& node : Model().GroupEventList)
    if (node.GroupId == group_id) return &node;
  return nullptr;
}

int GroupHasCombinedEvent(int group_id) {
  const GroupEventNode* node = FindGroupEvents(group_id);
  if (!node) return 0;
  for (int event_id : node->EventIds) {
    const EventNode* event = FindEventById(event_id);
    if (event && event->BiSaiType == 3) return 1;
  }
  return 0;
}

bool NoGroupEvents() {
  for (const GroupEventNode& g : Model().GroupEventList) {
    if (!g.EventIds.empty()) return false;
  }
  return true;
}

namespace {

// Orders athletes and (grade id, class id) keys as AthleteList is ordered.
struct ByClass {
  using Key = std::pair<int, int>;
  bool operator()(const AthleteNode& a, const Key& k) const { return Key(a.GradeId, a.ClassId) < k; }
  bool operator()(const Key& k, const AthleteNode& a) const { return k < Key(a.GradeId, a.ClassId); }
};

}  // namespace

std::span<const AthleteNode> ClassAthletes(int grade_id, int class_id) {
  const std::vector<AthleteNode>& list = Model().AthleteList;
  auto [first, last] = std::equal_range(list.begin(), list.end(), ByClass::Key(grade_id, class_id), ByClass{});
  return {first, last};
}

}  // namespace korva
