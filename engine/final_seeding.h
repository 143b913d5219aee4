#pragma once
// Finals after preliminaries: the qualifiers of a counted preliminary are
// placed into the final's heats and lanes, the best in the centre lanes and
// spread over the heats; the administrator may seed a final again, or draw
// other rounds again, after the start lists exist (regrouping, for example
// after a venue's lane count changed). The caller holds DataLock.
#include <string>
#include <string_view>
#include <vector>

#include "database/model.h"
#include "engine/round_ranking.h"

namespace korva {

// The lanes of a venue of `lanes` lanes from the centre out: c = ceil(L/2),
// then c+1, c-1, c+2, c-2 ... (8 lanes: 4 5 3 6 2 7 1 8). A size below 1
// counts as 1.
std::vector<int> CentreOutLaneOrder(int lanes);

// Seeds the preliminary's final from the leading entries of its ranked
// list that carry place 999 (qualifiers, normally that many): the i-th
// best goes to heat (i mod G) + 1 on lane order[i div G], G = the heats
// the venue needs; every member of a class team comes along with the same
// heat and lane. The final's entrants are saved and its lanes inserted in
// one unit. kReplyCounted with its text, or kReplyFailed (not a
// preliminary, no final, a missing contest or venue, a failed write:
// nothing changed).
ScoreReply SeedFinal(const RoundNode& prelim, const EventNode& event, const std::vector<LaneNode>& ranked,
                     int qualifiers, std::string& text);

// Outcome of ReseedFinal.
enum class ReseedResult { kDone, kNotPossible, kFailed };

// Seeds a final after preliminaries again from its counted preliminary
// (for example after the venue's lane count changed): the athletes in the
// final keep their places in it and are spread over the venue's heats and
// lanes anew; the preliminary stays counted. kNotPossible when the venue,
// the preliminary, a result or the final's qualifiers are missing; kFailed
// after a failed write (the caller's unit rolls back). Heats and entrants
// of the new final come back.
ReseedResult ReseedFinal(const ContestNode& contest, const EventNode& event, int& heats, int& entrants);

// The regroup request: round ids, each ended by '-' (a number of more than
// seven bytes starts over). Each round is seeded (a final after
// preliminaries) or its contest drawn again, unless that would touch a
// round with results or it is a disabled preliminary; one sentence per round comes back, in request
// order. Unknown rounds are skipped.
std::string RegroupRounds(std::string_view round_ids);

// The regroup list of a venue's set-up page: every preliminary at the
// venue first gets places = the venue's size (saved); then one row (a
// check box "bs" + k, disabled when regrouping it would touch a round with
// results; the round's
// title; heats and entrants) per round at the venue that has lanes. The
// number of rows appended to reply; 0 (and nothing appended) after a data
// error, -1 after a failed write (nothing changed).
int BuildRegroupRows(const VenueNode& venue, std::string& reply);

}  // namespace korva
