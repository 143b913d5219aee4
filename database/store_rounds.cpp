#include "database/store_rounds.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <thread>

#include "database/connections.h"
#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/durable_commits.h"
#include "database/lookups.h"
#include "database/store_common.h"

namespace korva {

namespace {

// The venue of a round's event, or -1 when its event can't be found.
int VenueOfRound(const RoundNode& round) {
  const EventNode* event = FindEventOfRound(round);
  return event ? event->ChangDi : -1;
}

// Rounds share a venue for ordering when their events use the same venue,
// or when both use one of the built-in tracks 1 to 3.
bool SameVenue(int a, int b) {
  if (a < 0 || b < 0) return false;
  return a == b || (a < 4 && b < 4);
}

RoundNode* FindIn(std::vector<RoundNode>& rounds, int round_id) {
  for (RoundNode& r : rounds)
    if (r.Id == round_id) return &r;
  return nullptr;
}

// The round of the same session and venue whose order is the nearest
// below or above round's order; null when none.
RoundNode* Neighbour(std::vector<RoundNode>& rounds, const RoundNode& round, bool above) {
  int venue = VenueOfRound(round);
  RoundNode* best = nullptr;
  int bound = above ? 999999 : 0;
  for (RoundNode& other : rounds) {
    if (other.Id == round.Id || other.Session != round.Session) continue;
    bool closer = above ? (other.Order > round.Order && other.Order < bound)
                        : (other.Order < round.Order && other.Order > bound);
    if (!closer || !SameVenue(venue, VenueOfRound(other))) continue;
    bound = other.Order;
    best = &other;
  }
  return best;
}

// Applies one operation to the rounds (a working copy of RoundList) and the
// file. 0 done, 1 a round is missing, 2 database error.
int Arrange(Connection& meet, std::vector<RoundNode>& rounds,
            const std::vector<ScheduleEntry>& entries, int session, int operation) {
  int first_order = 0;
  if (operation == 1) {
    first_order = GetNextId("qrtb444 WHERE qrtb449 = ?", "qrtb450", false, session);
    if (first_order == 0) return 2;
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    RoundNode* round = FindIn(rounds, entries[i].RoundId);
    if (!round) return 1;
    switch (operation) {
      case 1: {
        int order = first_order + entries[i].Position + static_cast<int>(i);
        if (!Execute(meet, "UPDATE qrtb444 SET qrtb449 = ?, qrtb451 = ?, qrtb450 = ? WHERE qrtb445 = ?",
                     session, round->Duration, order, round->Id))
          return 2;
        round->Session = session;
        round->Order = order;
        break;
      }
      case 2:
        if (!Execute(meet, "UPDATE qrtb444 SET qrtb449 = 0, qrtb451 = 0, qrtb450 = 0 WHERE qrtb445 = ?",
                     round->Id))
          return 2;
        round->Session = round->Order = round->Duration = 0;
        break;
      case 3:
      case 4: {
        RoundNode* other = Neighbour(rounds, *round, operation == 4);
        if (!other) return 0;
        std::swap(round->Order, other->Order);
        if (!Execute(meet, "UPDATE qrtb444 SET qrtb450 = ? WHERE qrtb445 = ?", round->Order, round->Id) ||
            !Execute(meet, "UPDATE qrtb444 SET qrtb450 = ? WHERE qrtb445 = ?", other->Order, other->Id))
          return 2;
        break;
      }
      case 5:
      case 6: {
        int duration = operation == 5 ? round->Duration + 1 : std::max(round->Duration - 1, 1);
        if (!Execute(meet, "UPDATE qrtb444 SET qrtb451 = ? WHERE qrtb445 = ?", duration, round->Id))
          return 2;
        round->Duration = duration;
        break;
      }
      default:
        return 1;
    }
  }
  return 0;
}

}  // namespace

int SaveContestSettings(const ContestNode& contest) {
  DataGuard hold(DataLock);
  if (!Execute(MeetConnection(),
               "UPDATE qrtb425 SET qrtb429 = ?, qrtb430 = ?, qrtb431 = ?, qrtb436 = ? WHERE qrtb426 = ?",
               contest.HasPrelim, contest.Qualifiers, contest.Places, contest.SchemeId, contest.Id)) {
    ShowDataErrorCode(3533);
    return 1;
  }
  return 0;
}

int SaveRound(const RoundNode& round) {
  DataGuard hold(DataLock);
  if (!Execute(MeetConnection(),
               "UPDATE qrtb444 SET qrtb447 = ?, qrtb448 = ?, qrtb449 = ?, qrtb450 = ?, qrtb451 = ?,"
               " qrtb452 = ?, qrtb453 = ? WHERE qrtb445 = ?",
               round.Kind, round.Disabled, round.Session, round.Order, round.Duration,
               round.Entrants, round.Places, round.Id)) {
    ShowDataErrorCode(4533);
    return 1;
  }
  return 0;
}

int InsertRound(const RoundNode& round) {
  DataGuard hold(DataLock);
  if (!Execute(MeetConnection(),
               "INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451,"
               " qrtb452, qrtb453, qrtb454) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
               round.Id, round.ContestId, round.Kind, round.Disabled, round.Session, round.Order,
               round.Duration, round.Entrants, round.Places, round.PartEventId)) {
    ShowDataErrorCode(159);
    return 1;
  }
  return 0;
}

int DeleteRound(int round_id) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  if (!unit.ok() || !Execute(meet, "DELETE FROM qrtb444 WHERE qrtb445 = ?", round_id) ||
      !Execute(meet, "DELETE FROM qrtb479 WHERE qrtb481 = ?", round_id) || !unit.Commit()) {
    ShowDataErrorCode(1622);
    return 1;
  }
  return 0;
}

namespace {

// Counted prints are written this long after the first of them.
constexpr std::chrono::seconds kCountDelay{1};

// Rounds whose counters the file does not hold yet, and since when. Views
// count under the shared lock, side by side, so these have a mutex of their
// own; the counters themselves are raised atomically.
std::mutex counting;
std::condition_variable_any count_made;
std::vector<int> counted_rounds;
std::chrono::steady_clock::time_point first_count;

// Whether the counts wait long enough to be written; counting held.
bool CountsDue() {
  return !counted_rounds.empty() && std::chrono::steady_clock::now() - first_count >= kCountDelay;
}

// The counts go back to waiting, a delay from now: the file refused them
// or is closed.
void CountsNotWritten(const std::vector<int>& rounds) {
  for (int id : rounds)
    if (std::find(counted_rounds.begin(), counted_rounds.end(), id) == counted_rounds.end()) counted_rounds.push_back(id);
  first_count = std::chrono::steady_clock::now();
}

// The count writer's thread: writes the counts once due, and waits for them
// to reach the disk, until asked to stop.
void WriteCountsWhenDue(std::stop_token stop) {
  std::unique_lock<std::mutex> hold(counting);
  while (!stop.stop_requested()) {
    count_made.wait(hold, stop, [] { return !counted_rounds.empty(); });
    if (!count_made.wait_until(hold, stop, first_count + kCountDelay, CountsDue) || stop.stop_requested()) continue;
    hold.unlock();
    FlushRoundCounters(true);
    // A failed sync is logged where it fails; the file keeps the counts for
    // as long as it keeps the changes before them.
    static_cast<void>(WaitForOwnCommits());
    hold.lock();
  }
}

std::jthread& CountWriter() {
  static std::jthread writer;
  return writer;
}

}  // namespace

void CountRoundPrint(RoundNode& round, int RoundNode::*counter) {
  AssertDataLockHeld();
  std::atomic_ref<int>(round.*counter).fetch_add(1, std::memory_order_relaxed);
  std::lock_guard<std::mutex> hold(counting);
  if (counted_rounds.empty()) {
    first_count = std::chrono::steady_clock::now();
    count_made.notify_all();
  }
  if (std::find(counted_rounds.begin(), counted_rounds.end(), round.Id) == counted_rounds.end())
    counted_rounds.push_back(round.Id);
}

void FlushRoundCounters(bool due_only) {
  DataGuard hold(DataLock);
  std::vector<int> rounds;
  {
    std::lock_guard<std::mutex> keep(counting);
    if (counted_rounds.empty() || (due_only && !CountsDue())) return;
    Connection& meet = MeetConnection();
    if (!meet.IsOpen() || meet.savepoint_depth() > 0) return CountsNotWritten({});
    rounds.swap(counted_rounds);
  }
  // Alone in DataLock: no view raises a counter while they are written.
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  bool saved = unit.ok();
  for (int id : rounds)
    if (const RoundNode* round = saved ? FindRoundById(id) : nullptr) saved = SaveRoundCounters(*round) == 0;
  if (!saved || !unit.Commit()) {
    LogServerMessage("打印次数没有写入运动会文件，稍后再试。");
    std::lock_guard<std::mutex> keep(counting);
    CountsNotWritten(rounds);
  }
}

void StartCountWriter() {
  if (!CountWriter().joinable()) CountWriter() = std::jthread(WriteCountsWhenDue);
}

void StopCountWriter() {
  CountWriter().request_stop();
  if (CountWriter().joinable()) CountWriter().join();
  CountWriter() = std::jthread();
}

int SaveRoundCounters(const RoundNode& round) {
  DataGuard hold(DataLock);
  if (!Execute(MeetConnection(),
               "UPDATE qrtb444 SET qrtb455 = ?, qrtb456 = ?, qrtb457 = ?, qrtb458 = ? WHERE qrtb445 = ?",
               round.CertificatePrints, round.CheckInPrints, round.ResultPrints,
               round.CompletionStamp, round.Id)) {
    ShowDataErrorCode(41533);
    return 1;
  }
  return 0;
}

int ArrangeRounds(const std::vector<ScheduleEntry>& entries, int session, int operation) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  std::vector<RoundNode> rounds = Model().RoundList;
  Transaction unit(meet);
  int result = unit.ok() ? Arrange(meet, rounds, entries, session, operation) : 2;
  if (result == 0 && !unit.Commit()) result = 2;
  if (result != 0) {
    if (result == 2) ShowDataErrorCode(660);
    return 1;
  }
  // Element by element, so pointers into RoundList stay valid.
  std::copy(rounds.begin(), rounds.end(), Model().RoundList.begin());
  return 0;
}

int EstimateRoundMinutes(const VenueNode& venue, const GroupNode& group, const EventNode& event,
                         int class_count, int round_kind) {
  bool individual = event.TuanTiType == 1;
  if (individual && event.BiSaiType != 1)
    return event.MatchTime * group.EntrantsPerEvent * class_count;
  double size = std::max(venue.Size, 1);
  double x;
  if (round_kind != kFinalAfterPrelim)
    x = individual ? class_count * group.EntrantsPerEvent / size : class_count / size;
  else
    x = individual ? std::max(size, static_cast<double>(group.PlacesRanked)) / size
                   : std::min(class_count, group.PlacesRanked) / size;
  return event.MatchTime * static_cast<int>(x + 0.999);
}

}  // namespace korva
