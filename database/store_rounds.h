#pragma once
// Store functions of contests, rounds and the schedule. Each takes DataLock
// itself.
#include <vector>

#include "database/model.h"

namespace korva {

// Writes a contest's preliminaries flag, qualifiers, places and own scheme.
// 0 / 1 (data error 3533).
[[nodiscard]] int SaveContestSettings(const ContestNode& contest);

// Writes a round's kind, disabled flag, session, order, duration, entrants
// and places. 0 / 1 (data error 4533).
[[nodiscard]] int SaveRound(const RoundNode& round);

// Inserts a round row (ids and values of the node). 0 / 1 (data error 159).
[[nodiscard]] int InsertRound(const RoundNode& round);

// Deletes a round's row and its lane rows, in one transaction; the lists are
// the caller's. 0 / 1 (data error 1622).
[[nodiscard]] int DeleteRound(int round_id);

// Writes a round's three print counters and completion stamp. 0 / 1 (data
// error 41533).
[[nodiscard]] int SaveRoundCounters(const RoundNode& round);

// Raises one print counter of the round in RoundList. The file follows in
// one transaction for all counts of about a second: the count writer (below)
// writes them a second after the first, and a writer's hold that ends after
// that does too, so a sheet view costs no disk sync of its own; the meet's
// reloads, its closing and the opening of another meet write them first.
// The caller holds DataLock, shared is enough: the counter is raised
// atomically, and whoever reads it beside such views reads it atomically too.
void CountRoundPrint(RoundNode& round, int RoundNode::*counter);

// Writes the counters raised since the last write; with due_only, only once
// the oldest of them waits a second. Nothing inside an open transaction, whose
// end may undo it. Takes DataLock.
void FlushRoundCounters(bool due_only = false);

// The count writer: a thread that writes counted prints a second after the
// first of them, even when nothing else happens, and waits for them to
// reach the disk. The web server runs it; stopping it writes nothing (the
// closing of the meet does). Stop it holding no DataLock.
void StartCountWriter();
void StopCountWriter();

// One round of a schedule request: its position in the submission (from 0)
// and its id.
struct ScheduleEntry {
  int Position = 0;
  int RoundId = 0;
};

// Schedule operations, applied to the entries in list order:
// 1 place into session (order numbers after the highest of the session,
//   duration stored), 2 unschedule, 3 swap with the nearest lower order,
// 4 with the nearest higher order (only rounds at the same venue, the
// built-in tracks 1-3 counting as one; no such round ends the operation
// successfully), 5 duration + 1, 6 duration - 1 (not below 1).
// 0 done; 1 when a round is missing or on a database error, and then
// neither the file nor RoundList has changed.
[[nodiscard]] int ArrangeRounds(const std::vector<ScheduleEntry>& entries, int session, int operation);

// Estimated minutes of a round: the event's minutes per heat or athlete
// times the heats (or athletes) that class_count classes of the group's
// grade bring to the venue. A venue size below 1 counts as 1.
[[nodiscard]] int EstimateRoundMinutes(const VenueNode& venue, const GroupNode& group, const EventNode& event,
                         int class_count, int round_kind);

}  // namespace korva
