#pragma once
// The result table of a counted round, as the print queue keeps it for the
// print centre and the results board, and the queue's upkeep: a new entry
// when a round is counted, the whole queue again when a meet is opened. The
// caller holds DataLock.
#include <span>
#include <string>
#include <vector>

#include "database/model.h"

namespace korva {

// "grade sex team event kind" of a round, plain text: the group's grade
// name; "男子" or "女子" (empty for a mixed team); "团队" for a team of one
// sex, "混团" for a mixed team, else empty; the event name; "预赛" for a
// preliminary, else "决赛".
std::string FormatRoundTitle(const GroupNode& group, const EventNode& event, int round_kind);

// The result table of a round from its lanes (LaneList order): one row per
// lane unit (a class team counts once), in a preliminary only the athletes
// in the final (by result), in other rounds only the placed ones (by
// place). Empty when no row is taken, or when an athlete or a class is
// missing.
std::vector<ResultTableRow> CollectResultRows(const EventNode& event, const RoundNode& round,
                                              const GroupNode& group, std::span<const LaneNode> lanes);

// Pushes the just-counted round's entry (title and table from the round's
// lanes, print counters 0) at the head of the print queue. 0 / 1 after a
// failed write.
int QueueResultPrintItem(const GroupNode& group, const RoundNode& round, const EventNode& event);

// Builds the queue again from every round with a completion stamp, newest
// stamp first (an equal stamp before the entries already there), numbered
// down from the highest number given out (at least the number of entries),
// with the rounds' own print counters; the head carries the refresh flag.
// A missing contest, event, group or lane leaves the queue empty.
void RebuildPrintQueue();

// Has every meet opening rebuild the queue, and builds it now for the meet
// that is open. Called once at start-up, with DataLock held alone.
void AttachPrintQueue();

}  // namespace korva
