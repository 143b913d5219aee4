#pragma once
// Heat and lane draws: the start list of every round, in LaneList and in
// qrtb479. The caller holds DataLock alone (the order-book worker, a writer's
// page handler). A
// database failure rolls the whole unit back and reloads RoundList and
// LaneList from the file, so the lists always match the file.
#include "database/model.h"

namespace korva {

// Seeds the draw's random generator (std::rand) from the current time.
void SeedDrawRandom();

// Draws every round except finals after a preliminary, in RoundList order,
// after seeding from the time (or from seed). Lane-row ids follow the
// largest in LaneList (1 when it is empty). The lane memory stays for the
// caller to free. 0 done (a round skipped after a data error stays
// undrawn); 1 database error, nothing written.
int DrawAllRounds();
int DrawAllRounds(unsigned seed);

// Draws one round and writes its row and lanes (and the row of a final
// whose kind changed); heats and entrants of the round come back. 0 drawn;
// 1 skipped after a data error, or a database error.
int DrawRound(RoundNode& round, int& next_lane_row_id, int& heats, int& entrants);

// Draws again every contest that has an entrant without a lane in an
// enabled round, after seeding from the time (or from seed). A contest with
// any result or status is left alone (its late entrants stay without a lane,
// and a line is logged). 0 done; 1 when a redraw failed.
int RedrawUndrawnContests();
int RedrawUndrawnContests(unsigned seed);

// Draws every round of the contest again from its entries (finals after a
// preliminary lose their lanes and are not drawn), then empties the lane
// memory. A mixed team's contest without rounds of its own is drawn in
// the other sex's contest, which holds the team's rounds. Heats and entrants of the last round drawn come back. 0 done;
// 1 database error, nothing changed.
int RedrawContest(int contest_id, int& heats, int& entrants);
int RedrawContest(int contest_id);

// Takes a round's lanes out of LaneList (not the file); the largest lane-row
// id left plus 1 (1 for an empty list).
int RemoveRoundLanes(int round_id);

// 1 when the athlete has no lane in an enabled round of the contest (or of
// its opposite-sex partner contest for a mixed team), else 0; 1 at once
// while LaneList is empty; 0 after a data error (29550 contest, 28550 event,
// 27550 round of a lane missing).
int IsAthleteUndrawn(int contest_id, int athlete_id);

}  // namespace korva
