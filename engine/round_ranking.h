#pragma once
// Counting a round once its results are in: a preliminary marks its
// qualifiers and seeds its final; a final gets places, points by its
// scoring scheme, record flags and bonuses. Equal results share a place
// where the event allows it; otherwise the clerk is asked to place the tied
// athletes by hand. The caller holds DataLock and owns the unit of work
// (engine/results_unit.h): after a 0 it rolls back.
#include <string>

#include "database/model.h"
#include "engine/score_upload.h"

namespace korva {

// Points of a place in a scheme; 0 for a place outside 1 to 20.
int SchemePoints(const ScoringSchemeNode& scheme, int place);

// The contest's own scheme when it names one, else the group's; null when
// that scheme is missing.
const ScoringSchemeNode* FindSchemeOfContest(const ContestNode& contest, const GroupNode& group);

// ((month x 100 + day) x 100 + hour) x 100 + minute of now, local time.
int CurrentCompletionStamp();

// Fills the upload's description of the round: kind, group sex and name,
// event type, team type, direction, unit and event name.
void DescribeRound(ScoreUpload& upload, const RoundNode& round, const EventNode& event, const GroupNode& group);

// Saves an entry's place, points and record flag, in the file and in every
// LaneNode of its unit (a class team's members). 0 / 1.
int SaveEntryPlacing(const LaneNode& entry);

// In a final after preliminaries an athlete gets one bonus per record: when
// the preliminary carries the higher flag the entry gives up its flag and
// bonus_points, else the preliminary lane gives up its flag and bonus.
// False after a failed write.
bool KeepOneBonus(const RoundNode& round, const ContestNode& contest, LaneNode& entry, int bonus_points);

// Stamps the counted round (print counters 0, completion stamp now), saves
// its counters and puts its result table at the head of the print queue in
// place of an earlier entry of the round. 0 / 1.
int FinishCountedRound(RoundNode& round, const GroupNode& group, const EventNode& event);

// Counts the round when it is complete. prior_state is 0 for a round never
// counted (a preliminary whose final has no lanes), else the earlier
// ranking is undone first. upload carries the record value, the uploaded
// heat and the texts of the round (SaveScore fills them). Answers 1 or 3
// (not complete, heat done or not), 5 (was counted, now incomplete), 4
// (counted or seeded, or refused, with its sentence in the outcome's
// text), 7 (ties to place by hand, in the outcome) or 0 after a failed
// write.
ScoreReply RankAndScoreRound(RoundNode& round, const ContestNode& contest, const EventNode& event,
                             const GroupNode& group, const ScoreUpload& upload, int prior_state,
                             ScoreOutcome& outcome);

}  // namespace korva
