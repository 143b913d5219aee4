#include "engine/draw_steps.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <utility>

#include "database/data_error.h"
#include "database/lookups.h"

namespace korva {

std::vector<LaneMemoryNode> LaneMemoryList;

void FreeLaneMemoryList() { LaneMemoryList.clear(); }

namespace {

LaneMemoryNode* FindLaneMemory(int class_key) {
  for (LaneMemoryNode& node : LaneMemoryList)
    if (node.ClassKey == class_key) return &node;
  return nullptr;
}

bool IsLaneEvent(const EventNode& event) { return event.FZFDType == 1; }

// Hands out heats and lanes in draw order: the first r heats hold q + 1
// entrants, the others q; every heat draws its lanes from a fresh shuffle.
class HeatCursor {
 public:
  HeatCursor(int entrants, int venue_size, const EventNode& event)
      : venue_size_(std::max(venue_size, 1)), lane_event_(IsLaneEvent(event)) {
    // A track event run in groups puts up to three times the lanes in one heat.
    const int capacity = (event.BiSaiType == 1 && event.FZFDType == 2) ? 3 * venue_size_ : venue_size_;
    heats_ = std::max(1, (entrants + capacity - 1) / capacity);
    q_ = entrants / heats_;
    r_ = entrants % heats_;
    first_ = lane_event_ ? FirstLaneOfHeat(venue_size_, q_, r_) : 1;
    slots_ = ShuffleLanes(first_, q_ + 1);
  }

  int heats() const { return heats_; }

  // The heat and lane of the next entrant.
  std::pair<int, int> Take(int class_key) {
    const int size = r_ > 0 ? q_ + 1 : q_;
    const int lane = PickLane(slots_, first_, size, class_key, toggle_);
    const int heat = heat_;
    ++position_;
    if (r_ > 0 && position_ > q_ + 1) {
      NextHeat();
      if (--r_ == 0) first_ = lane_event_ ? FirstLaneOfHeat(venue_size_, q_, 0) : 1;
      slots_ = ShuffleLanes(first_, q_ + 1);
    } else if (r_ == 0 && position_ > q_) {
      NextHeat();
      slots_ = ShuffleLanes(first_, q_ + 1);
    }
    return {heat, lane};
  }

 private:
  void NextHeat() {
    ++heat_;
    position_ = 1;
  }

  int venue_size_;
  bool lane_event_;
  int heats_ = 1, q_ = 0, r_ = 0, first_ = 1;
  int heat_ = 1, position_ = 1, toggle_ = 0;
  std::vector<int> slots_;
};

}  // namespace

int FirstLaneOfHeat(int venue_size, int q, int r) {
  const int s = r > 0 ? q + 1 : q;
  switch (venue_size) {
    case 1:
    case 2:
      return 1;
    case 3:
      return s == 1 ? 2 : 1;
    case 4:
      return s < 3 ? 2 : 1;
    case 5:
      return s == 1 ? 3 : s < 4 ? 2 : 1;
    case 6:
      return s < 3 ? 3 : s < 5 ? 2 : 1;
    default:
      return std::max(1, (venue_size - s + 2) / 2);
  }
}

std::vector<int> ShuffleLanes(int first, int k) {
  if (k <= 0) {
    ShowDataErrorCode(333);
    return {};
  }
  std::vector<int> slots(k);
  for (int i = 0; i < k; ++i) slots[i] = first + i;
  for (int i = 0; i < k; ++i) std::swap(slots[i], slots[std::rand() % k]);
  return slots;
}

int PickLane(std::vector<int>& slots, int first, int size, int class_key, int& toggle) {
  if (size < 1) return 1;
  const int end = first + size;
  auto usable = [&](int lane) { return lane > 0 && lane < end; };
  LaneMemoryNode* memory = FindLaneMemory(class_key);
  const int k = static_cast<int>(slots.size());
  int taken = -1;
  if (memory) {
    toggle = toggle == 1 ? 0 : 1;
    for (int step = 0; step < k; ++step) {
      const int i = toggle == 1 ? k - 1 - step : step;
      if (usable(slots[i]) && slots[i] != memory->LastLane) {
        taken = i;
        break;
      }
    }
  }
  // A class met for the first time, or one whose last lane is all that is
  // left, takes the first usable slot.
  for (int i = 0; taken < 0 && i < k; ++i)
    if (usable(slots[i])) taken = i;
  if (taken < 0) {
    ShowDataErrorCode(5451);
    return 0;
  }
  const int lane = slots[taken];
  slots[taken] = 0;
  if (memory) {
    memory->LastLane = lane;
  } else {
    LaneMemoryList.push_back({class_key, lane});
  }
  return lane;
}

HeatCount DrawIndividualHeats(std::vector<LaneNode>& lanes, int venue_size, const EventNode& event) {
  const std::size_t n = lanes.size();
  for (std::size_t i = 0; i + 1 < n; ++i) {
    if (std::rand() % 11 > 5 && lanes[i + 1].Key == lanes[i].Key)
      std::swap(lanes[i].AthleteId, lanes[i + 1].AthleteId);
  }
  HeatCursor cursor(static_cast<int>(n), venue_size, event);
  // Each pass takes one athlete of every class that has one left.
  for (bool took = true; took;) {
    took = false;
    const LaneNode* last = nullptr;
    for (LaneNode& node : lanes) {
      if (node.Heat != 0 || (last && node.Key == last->Key)) continue;
      auto [heat, lane] = cursor.Take(node.Key);
      if (lane == 0) ShowDataErrorCode(34);
      node.Heat = heat;
      node.Lane = lane;
      last = &node;
      took = true;
    }
  }
  SeparateClassNeighbours(lanes);
  return {cursor.heats(), static_cast<int>(n)};
}

HeatCount DrawTeamHeats(std::vector<LaneNode>& lanes, int venue_size, const EventNode& event) {
  // Class blocks as [begin, end) runs of adjacent nodes of one class.
  std::vector<std::pair<std::size_t, std::size_t>> blocks;
  for (std::size_t i = 0; i < lanes.size();) {
    std::size_t end = i + 1;
    while (end < lanes.size() && lanes[end].Key == lanes[i].Key) ++end;
    blocks.emplace_back(i, end);
    i = end;
  }
  // A block drawn to move goes to the head; the block after it is not drawn.
  for (std::size_t i = 1; i < blocks.size();) {
    if (std::rand() % 11 > 5) {
      std::rotate(blocks.begin(), blocks.begin() + i, blocks.begin() + i + 1);
      i += 2;
    } else {
      i += 1;
    }
  }
  std::vector<LaneNode> ordered;
  ordered.reserve(lanes.size());
  for (auto [begin, end] : blocks) ordered.insert(ordered.end(), lanes.begin() + begin, lanes.begin() + end);
  lanes = std::move(ordered);

  HeatCursor cursor(static_cast<int>(blocks.size()), venue_size, event);
  for (std::size_t i = 0; i < lanes.size();) {
    auto [heat, lane] = cursor.Take(lanes[i].Key);
    const int key = lanes[i].Key;
    for (; i < lanes.size() && lanes[i].Key == key; ++i) {
      lanes[i].Heat = heat;
      lanes[i].Lane = lane;
    }
  }
  return {cursor.heats(), static_cast<int>(blocks.size())};
}

void SeparateClassNeighbours(std::vector<LaneNode>& lanes) {
  auto find = [&](int heat, int lane) -> LaneNode* {
    for (LaneNode& node : lanes)
      if (node.Heat == heat && node.Lane == lane) return &node;
    return nullptr;
  };
  for (LaneNode& a : lanes) {
    LaneNode* b = find(a.Heat, a.Lane + 1);
    if (!b || b->Key != a.Key) continue;
    if (LaneNode* c = find(a.Heat, a.Lane + 2)) std::swap(b->Lane, c->Lane);
  }
}

int PlacesOfFinal(const ContestNode& contest, int entrants) {
  if (entrants <= 0) return 0;
  if (entrants > contest.Places || Model().AdmitOneLess == 0) return contest.Places;
  return entrants == 1 ? 1 : entrants - 1;
}

namespace {

// The entrants of a contest (and of its mixed-team partner) in AthleteList
// order, one lane each, ids from next_id on; false when the grade has no
// athlete at all.
bool CollectEntrants(const RoundNode& round, const GroupNode& group, int contest_id,
                     int partner_id, int next_id, std::vector<LaneNode>& lanes) {
  const auto& athletes = Model().AthleteList;
  auto it = std::find_if(athletes.begin(), athletes.end(),
                         [&](const AthleteNode& a) { return a.GradeId == group.GradeId; });
  if (it == athletes.end()) return false;
  for (; it != athletes.end() && it->GradeId == group.GradeId; ++it) {
    const bool entered = std::any_of(it->ContestIds.begin(), it->ContestIds.end(), [&](int id) {
      return id == contest_id || (partner_id != 0 && id == partner_id);
    });
    if (!entered) continue;
    LaneNode lane;
    lane.Key = it->ClassId;
    lane.Id = next_id++;
    lane.RoundId = round.Id;
    lane.AthleteId = it->Id;
    lane.ClassId = it->ClassId;
    lanes.push_back(lane);
  }
  return true;
}

// Takes a round's lanes out of LaneList.
void EraseRoundLanes(int round_id) {
  std::erase_if(Model().LaneList, [&](const LaneNode& n) { return n.RoundId == round_id; });
}

// Sets the preliminary's places, or drops it when every entrant fits one
// heat of the final, and keeps the contest's final of the right kind.
void DecidePreliminary(RoundNode& round, const ContestNode& contest, int n, int venue_size,
                       RoundDraw& draw) {
  if (n <= contest.Qualifiers && n <= venue_size) {
    round.Disabled = 1;
    round.Entrants = 0;
    if (RoundNode* final = FindRoundByContestAndKind(contest.Id, kFinalAfterPrelim)) {
      final->Kind = kDirectFinal;
      final->Entrants = n;
      final->Places = PlacesOfFinal(contest, n);
      draw.SavedRoundIds.push_back(final->Id);
    }
    return;
  }
  round.Places = contest.Qualifiers;
  // A final that an earlier draw made a single final waits for the
  // preliminary's qualifiers again.
  if (contest.HasPrelim != 1) return;
  RoundNode* single = FindRoundByContestAndKind(contest.Id, kDirectFinal);
  if (!single) return;
  single->Kind = kFinalAfterPrelim;
  single->Entrants = 0;
  single->Places = PlacesOfFinal(contest, contest.Qualifiers);
  draw.SavedRoundIds.push_back(single->Id);
  draw.ClearedRoundIds.push_back(single->Id);
  EraseRoundLanes(single->Id);
}

}  // namespace

RoundDraw DrawRoundLanes(RoundNode& round, int& next_lane_row_id) {
  RoundDraw draw;
  const ContestNode* contest = FindContestById(round.ContestId);
  if (!contest) {
    ShowDataErrorCode(26550);
    return draw;
  }
  const EventNode* event = FindEventById(contest->EventId);
  if (!event) {
    ShowDataErrorCode(25550);
    return draw;
  }
  const GroupNode* group = FindGroupById(contest->GroupId);
  if (!group) return draw;
  int partner_id = 0;
  if (event->TuanTiType == 3) {
    if (const ContestNode* partner = FindOppositeSexContest(group->Id, event->Id)) partner_id = partner->Id;
  }
  std::vector<LaneNode> lanes;
  if (!CollectEntrants(round, *group, contest->Id, partner_id, next_lane_row_id, lanes)) return draw;

  const EventNode* lane_event = round.PartEventId != 0 ? FindEventById(round.PartEventId) : event;
  if (!lane_event) {
    ShowDataErrorCode(23550);
    return draw;
  }
  const VenueNode* venue = FindVenueById(lane_event->ChangDi);
  if (!venue) {
    ShowDataErrorCode(23550);
    return draw;
  }
  // A venue of no lanes still runs one at a time.
  const int venue_size = std::max(venue->Size, 1);

  next_lane_row_id += static_cast<int>(lanes.size());
  draw.Count = event->TuanTiType == 1 ? DrawIndividualHeats(lanes, venue_size, *lane_event)
                                      : DrawTeamHeats(lanes, venue_size, *lane_event);
  const int n = draw.Count.Entrants;
  round.Entrants = n;
  round.Disabled = 0;
  draw.SavedRoundIds.push_back(round.Id);
  if (round.Kind == kPrelim) {
    DecidePreliminary(round, *contest, n, venue_size, draw);
  } else {
    round.Places = PlacesOfFinal(*contest, n);
  }
  if (n == 0) round.Places = 0;
  // A preliminary that is not run keeps no start list: its entrants run in
  // the final, and lanes left here would wait for results for ever.
  if (round.Disabled != 0) {
    next_lane_row_id -= static_cast<int>(lanes.size());
    lanes.clear();
  }

  std::sort(lanes.begin(), lanes.end(), [](const LaneNode& a, const LaneNode& b) {
    return std::tie(a.Heat, a.Lane, a.Id) < std::tie(b.Heat, b.Lane, b.Id);
  });
  auto& list = Model().LaneList;
  auto at = std::find_if(list.begin(), list.end(),
                         [&](const LaneNode& n) { return n.RoundId > round.Id; });
  draw.FirstLane = static_cast<std::size_t>(at - list.begin());
  draw.LaneCount = lanes.size();
  list.insert(at, lanes.begin(), lanes.end());
  draw.Result = 0;
  return draw;
}

}  // namespace korva
