// The draw against a short, literal reading of its rules, written apart
// from the code: a list of entrants walked node by node, the lane memory of
// the classes, the toggle, a fresh shuffle per heat, the mixing pass and
// the team blocks. Both run from the same seed over thousands of generated
// contests and must hand out the same heat and lane to every entrant. The
// invariant tests elsewhere would also pass a draw that gave lanes in list
// order; this one would not.
#include <gtest/gtest.h>

#include <cstdlib>
#include <list>
#include <random>
#include <tuple>
#include <vector>

#include "engine/draw_steps.h"

namespace korva {

namespace {

struct Entrant {
  int key = 0;  // class
  int athlete = 0;
  int heat = 0;
  int lane = 0;
};

// The reading of the rules, kept as plain as the rules are written.
class LiteralDraw {
 public:
  LiteralDraw(int venue_size, int bisai_type, int fzfd_type)
      : size_(venue_size < 1 ? 1 : venue_size), lanes_(fzfd_type == 1) {
    capacity_ = (bisai_type == 1 && fzfd_type == 2) ? 3 * size_ : size_;
  }

  void Individual(std::list<Entrant>& list) {
    // Mixing pass: every node that has a next node draws.
    for (auto it = list.begin(); it != list.end() && std::next(it) != list.end(); ++it) {
      auto next = std::next(it);
      if (std::rand() % 11 > 5 && next->key == it->key) std::swap(it->athlete, next->athlete);
    }
    Start(static_cast<int>(list.size()));
    bool took = true;
    while (took) {
      took = false;
      int last_key = -1;
      for (Entrant& e : list) {
        if (e.heat != 0 || e.key == last_key) continue;
        Take(e.key, e.heat, e.lane);
        last_key = e.key;
        took = true;
      }
    }
    // Neighbour separation, one walk.
    for (Entrant& a : list) {
      Entrant* b = Find(list, a.heat, a.lane + 1);
      if (b == nullptr || b->key != a.key) continue;
      Entrant* c = Find(list, a.heat, a.lane + 2);
      if (c != nullptr) std::swap(b->lane, c->lane);
    }
  }

  void Team(std::list<Entrant>& list) {
    // Block mixing: at the start of each block but the first, a draw; a
    // block drawn to move goes to the head, and the block after it is
    // passed over.
    auto block_end = [&](std::list<Entrant>::iterator it) {
      int key = it->key;
      while (it != list.end() && it->key == key) ++it;
      return it;
    };
    auto it = block_end(list.begin());
    while (it != list.end()) {
      auto end = block_end(it);
      if (std::rand() % 11 > 5) {
        list.splice(list.begin(), list, it, end);
        it = end == list.end() ? end : block_end(end);
      } else {
        it = end;
      }
    }
    int teams = 0;
    for (auto b = list.begin(); b != list.end(); b = block_end(b)) ++teams;
    Start(teams);
    for (auto b = list.begin(); b != list.end();) {
      auto end = block_end(b);
      int heat = 0, lane = 0;
      Take(b->key, heat, lane);
      for (; b != end; ++b) {
        b->heat = heat;
        b->lane = lane;
      }
    }
  }

 private:
  static Entrant* Find(std::list<Entrant>& list, int heat, int lane) {
    for (Entrant& e : list)
      if (e.heat == heat && e.lane == lane) return &e;
    return nullptr;
  }

  static int First(int size, int q, int r) {
    int s = r > 0 ? q + 1 : q;
    if (size <= 2) return 1;
    if (size == 3) return s == 1 ? 2 : 1;
    if (size == 4) return s < 3 ? 2 : 1;
    if (size == 5) return s == 1 ? 3 : (s < 4 ? 2 : 1);
    if (size == 6) return s < 3 ? 3 : (s < 5 ? 2 : 1);
    int first = (size - s + 2) / 2;
    return first < 1 ? 1 : first;
  }

  void Shuffle() {
    int k = q_ + 1;
    slots_.assign(k, 0);
    for (int i = 0; i < k; ++i) slots_[i] = first_ + i;
    for (int i = 0; i < k; ++i) std::swap(slots_[i], slots_[std::rand() % k]);
  }

  void Start(int n) {
    int heats = 1;
    while (n - heats * capacity_ > 0) ++heats;
    q_ = n / heats;
    r_ = n % heats;
    first_ = lanes_ ? First(size_, q_, r_) : 1;
    heat_ = 1;
    position_ = 1;
    toggle_ = 0;
    Shuffle();
  }

  int Pick(int key, int size) {
    if (size < 1) return 1;
    int k = static_cast<int>(slots_.size());
    int taken = -1;
    int* last = nullptr;
    for (auto& [class_key, lane] : memory_)
      if (class_key == key) last = &lane;
    if (last != nullptr) {
      toggle_ = toggle_ == 1 ? 0 : 1;
      for (int step = 0; step < k && taken < 0; ++step) {
        int i = toggle_ == 1 ? k - 1 - step : step;
        if (slots_[i] != *last && slots_[i] > 0 && slots_[i] < first_ + size) taken = i;
      }
    }
    for (int i = 0; i < k && taken < 0; ++i)
      if (slots_[i] > 0 && slots_[i] < first_ + size) taken = i;
    if (taken < 0) return 0;
    int lane = slots_[taken];
    slots_[taken] = 0;
    if (last != nullptr) {
      *last = lane;
    } else {
      memory_.insert(memory_.begin(), {key, lane});
    }
    return lane;
  }

  void Take(int key, int& heat, int& lane) {
    lane = Pick(key, r_ > 0 ? q_ + 1 : q_);
    heat = heat_;
    ++position_;
    if (r_ > 0 && position_ > q_ + 1) {
      ++heat_;
      --r_;
      position_ = 1;
      if (r_ == 0) first_ = lanes_ ? First(size_, q_, 0) : 1;
      Shuffle();
    } else if (r_ == 0 && position_ > q_) {
      ++heat_;
      position_ = 1;
      Shuffle();
    }
  }

  int size_;
  bool lanes_;
  int capacity_ = 1;
  int q_ = 0, r_ = 0, first_ = 1, heat_ = 1, position_ = 1, toggle_ = 0;
  std::vector<int> slots_;
  std::vector<std::pair<int, int>> memory_;  // class, last lane
};

using Drawn = std::vector<std::tuple<int, int, int>>;  // athlete, heat, lane, in list order

// One generated contest: classes in adjacent runs of random lengths.
std::vector<Entrant> GenerateEntrants(std::mt19937& random) {
  std::vector<Entrant> out;
  int classes = 1 + static_cast<int>(random() % 9);
  int athlete = 1;
  for (int c = 1; c <= classes; ++c) {
    int run = static_cast<int>(random() % 7);
    for (int i = 0; i < run; ++i) out.push_back({.key = 100 + c, .athlete = athlete++});
  }
  if (out.empty()) out.push_back({.key = 101, .athlete = 1});
  return out;
}

TEST(DrawLiteral, EveryEntrantGetsTheHeatAndLaneTheRulesGive) {
  std::mt19937 random(20261206);
  int compared = 0;
  for (int contest = 0; contest < 4000; ++contest) {
    std::vector<Entrant> entrants = GenerateEntrants(random);
    const int venue_size = static_cast<int>(random() % 10);  // 0 counts as 1
    EventNode event;
    event.BiSaiType = 1 + static_cast<int>(random() % 2);
    event.FZFDType = 1 + static_cast<int>(random() % 2);
    const bool team = random() % 3 == 0;
    const unsigned seed = static_cast<unsigned>(random());

    std::list<Entrant> literal(entrants.begin(), entrants.end());
    LiteralDraw reading(venue_size, event.BiSaiType, event.FZFDType);
    std::srand(seed);
    if (team) {
      reading.Team(literal);
    } else {
      reading.Individual(literal);
    }
    Drawn expected;
    for (const Entrant& e : literal) expected.emplace_back(e.athlete, e.heat, e.lane);

    std::vector<LaneNode> lanes;
    for (const Entrant& e : entrants) lanes.push_back(LaneNode{.Key = e.key, .AthleteId = e.athlete, .ClassId = e.key});
    FreeLaneMemoryList();
    std::srand(seed);
    if (team) {
      DrawTeamHeats(lanes, venue_size, event);
    } else {
      DrawIndividualHeats(lanes, venue_size, event);
    }
    Drawn actual;
    for (const LaneNode& n : lanes) actual.emplace_back(n.AthleteId, n.Heat, n.Lane);

    ASSERT_EQ(actual, expected) << "contest " << contest << (team ? " team" : " individual") << " venue "
                                << venue_size << " type " << event.BiSaiType << "/" << event.FZFDType
                                << " entrants " << entrants.size();
    ++compared;
  }
  EXPECT_EQ(compared, 4000);
}

}  // namespace

}  // namespace korva
