#include "database/lookups.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <unordered_map>
#include <utility>

#include "database/data_error.h"
#include "database/data_lock.h"

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

// Raised by the athlete and lane loaders: a reload may refill a list in place
// to the same length.
std::atomic<std::uint64_t> reloads{0};

// Positions in one list by key, so that a look-up costs the same at 500 and
// at 12,000 athletes. A position is checked against the node it names, so a
// stale one costs a walk of the list, never a wrong answer. A miss is trusted
// only by a reader: a writer's hold rebuilds the indexes as it ends
// (RefreshModelIndex), and nothing changes the lists while readers hold the
// lock; a writer may have changed a list since and walks it instead.
struct Positions {
  const void* data = nullptr;
  std::size_t size = 0;
  std::uint64_t reload = ~std::uint64_t{0};
  std::unordered_map<long long, std::uint32_t> at;  // the first node of each key

  template <typename List>
  bool Current(const List& list) const {
    return data == list.data() && size == list.size() && reload == reloads.load(std::memory_order_relaxed);
  }

  template <typename List, typename KeyOf>
  void Build(const List& list, KeyOf key_of) {
    at.clear();
    at.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) at.emplace(key_of(list[i]), static_cast<std::uint32_t>(i));
    data = list.data();
    size = list.size();
    reload = reloads.load(std::memory_order_relaxed);
  }

  // The node of the key, checked with matches; nullptr with *known when the
  // index may say there is none.
  template <typename List, typename Matches>
  auto Find(List& list, long long key, Matches matches, bool* known) const -> typename List::value_type* {
    *known = false;
    if (!Current(list)) return nullptr;
    auto it = at.find(key);
    if (it == at.end()) {
      *known = !DataLock.HeldForWrite();
      return nullptr;
    }
    if (it->second >= list.size() || !matches(list[it->second])) return nullptr;
    *known = true;
    return &list[it->second];
  }
};

struct ModelIndex {
  Positions athletes, contests, events, rounds, round_kinds, lane_runs;
};

thread_local ModelIndex* thread_index = nullptr;  // a PrivateModel's

ModelIndex& Index() {
  if (thread_index) return *thread_index;
  static ModelIndex index;
  return index;
}

long long ContestAndKind(long long contest_id, int kind) { return contest_id * 8 + kind; }

template <typename Node>
long long IdOf(const Node& node) {
  return node.Id;
}
long long RoundKindOf(const RoundNode& n) { return ContestAndKind(n.ContestId, n.Kind); }
long long RoundOfLane(const LaneNode& n) { return n.RoundId; }

// The index's answer where it has one, else a walk of the list. A writer
// (alone in the lists) first rebuilds an index its changes left behind.
template <typename List, typename KeyOf, typename Matches>
auto FindIndexed(Positions& index, List& list, long long key, KeyOf key_of, Matches matches) ->
    typename List::value_type* {
  if (!index.Current(list) && DataLock.HeldForWrite()) index.Build(list, key_of);
  bool known = false;
  auto* node = index.Find(list, key, matches, &known);
  return known ? node : FindIn(list, matches);
}

}  // namespace

void NoteListReloaded() { reloads.fetch_add(1, std::memory_order_relaxed); }

void RefreshModelIndex() {
  MeetModel& model = Model();
  ModelIndex& index = Index();
  // The small lists are rebuilt every time: a round's kind may change in place.
  index.contests.Build(model.ContestList, IdOf<ContestNode>);
  index.events.Build(model.EventList, IdOf<EventNode>);
  index.rounds.Build(model.RoundList, IdOf<RoundNode>);
  index.round_kinds.Build(model.RoundList, RoundKindOf);
  if (!index.athletes.Current(model.AthleteList)) index.athletes.Build(model.AthleteList, IdOf<AthleteNode>);
  if (!index.lane_runs.Current(model.LaneList)) index.lane_runs.Build(model.LaneList, RoundOfLane);
}

struct PrivateModel::Parts {
  MeetModel model;
  ModelIndex index;
};

PrivateModel::PrivateModel(const MeetModel& model) : parts_(std::make_unique<Parts>()) { parts_->model = model; }

PrivateModel::~PrivateModel() {
  if (!entered_) return;
  SetThreadModel(nullptr);
  thread_index = nullptr;
}

void PrivateModel::Enter() {
  SetThreadModel(&parts_->model);
  thread_index = &parts_->index;
  entered_ = true;
  RefreshModelIndex();
}

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
  ContestNode* c = FindIndexed(Index().contests, Model().ContestList, contest_id, IdOf<ContestNode>,
                               [&](const ContestNode& n) { return n.Id == contest_id; });
  if (!c) ShowDataErrorCode(12550);
  return c;
}

ContestNode* FindContestByGroupAndEvent(int group_id, int event_id) {
  return FindIn(Model().ContestList, [&](const ContestNode& n) {
    return n.GroupId == group_id && n.EventId == event_id;
  });
}

EventNode* FindEventById(int event_id) {
  return FindIndexed(Index().events, Model().EventList, event_id, IdOf<EventNode>,
                     [&](const EventNode& n) { return n.Id == event_id; });
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
  return FindIndexed(Index().rounds, Model().RoundList, round_id, IdOf<RoundNode>,
                     [&](const RoundNode& n) { return n.Id == round_id; });
}

RoundNode* FindRoundByContestAndKind(int contest_id, int kind) {
  auto matches = [&](const RoundNode& n) { return n.ContestId == contest_id && n.Kind == kind; };
  if (kind < 0 || kind > 7) return FindIn(Model().RoundList, matches);
  return FindIndexed(Index().round_kinds, Model().RoundList, ContestAndKind(contest_id, kind), RoundKindOf,
                     matches);
}

LaneNode* FindFirstLaneOfRound(int round_id) {
  std::span<LaneNode> lanes = LanesOfRound(round_id);
  return lanes.empty() ? nullptr : &lanes.front();
}

std::span<LaneNode> LanesOfRound(int round_id) {
  auto& lanes = Model().LaneList;
  // The index names where the round's run starts: the lane before it belongs
  // to another round.
  LaneNode* first = FindIndexed(Index().lane_runs, lanes, round_id, RoundOfLane, [&](const LaneNode& n) {
    return n.RoundId == round_id && (&n == lanes.data() || (&n - 1)->RoundId != round_id);
  });
  if (!first) return {lanes.data() + lanes.size(), std::size_t{0}};
  LaneNode* end = first;
  while (end != lanes.data() + lanes.size() && end->RoundId == round_id) ++end;
  return {first, end};
}

AthleteNode* FindAthleteById(int athlete_id) {
  return FindIndexed(Index().athletes, Model().AthleteList, athlete_id, IdOf<AthleteNode>,
                     [&](const AthleteNode& n) { return n.Id == athlete_id; });
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
