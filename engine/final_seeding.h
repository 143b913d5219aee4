#pragma once
// Finals after preliminaries: the qualifiers of a counted preliminary are
// placed into the final's heats and lanes, the best in the centre lanes and
// spread over the heats; the administrator may seed a final again, or draw
// other rounds again, after the start lists exist (regrouping, for example
// after a venue's lane count changed). The caller holds DataLock.
#include <string>
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

// What regrouping did to one round.
enum class RegroupOutcome {
  kRegrouped,         // seeded or drawn again: Heats and Entrants are the new ones
  kHasResults,        // refused: it would touch a round with results
  kDisabledPrelim,    // refused: a disabled preliminary
  kPrelimIncomplete,  // refused: the final's preliminary lacks a result
  kFailed,            // a failed write; nothing changed
};

struct RegroupedRound {
  std::string Title;  // FormatRoundTitle of the round, plain text
  RegroupOutcome Outcome = RegroupOutcome::kFailed;
  int Heats = 0;
  int Entrants = 0;
  bool Teams = false;  // entrants are teams, not athletes
};

// Regroups the rounds in the given order: each is seeded (a final after
// preliminaries) or its contest drawn again, unless that would touch a
// round with results or it is a disabled preliminary. One entry per known
// round; unknown rounds are skipped.
std::vector<RegroupedRound> RegroupRounds(const std::vector<int>& round_ids);

// A round at a venue that regrouping may be offered for.
struct RegroupRow {
  int RoundId = 0;
  std::string Title;  // FormatRoundTitle of the round, plain text
  int Heats = 0;
  int Entrants = 0;
  bool Teams = false;
  bool HasResults = false;  // regrouping it would touch a round with results
};

// The regroup list of a venue's set-up page: every preliminary at the
// venue first gets places = the venue's size (saved); then one row per
// round at the venue that has lanes, in RoundList order. The number of
// rows; 0 (and no rows) after a data error, -1 after a failed write
// (nothing changed).
int ListRegroupRows(const VenueNode& venue, std::vector<RegroupRow>& rows);

}  // namespace korva
