#pragma once
// School records: the best result of each event by grade and sex, kept in
// the base file across meets. Counting a round marks results that equal or
// break the standing record and keeps this meet's own record of the event,
// group and sex up to date; the administrator types records on the records
// page one cell at a time. The caller holds DataLock.
#include <string>
#include <string_view>

#include "database/model.h"
#include "engine/score_upload.h"

namespace korva {

// The record flag of a lane measured against a record value: 0 when the
// lane has no result or a status above 0; 2 when its result is better
// (smaller with direction 1, larger with direction 2); 1 when equal; else 0.
// Callers skip it when the record value is kNoResult.
int CompareWithRecord(const LaneNode& lane, ScoreValue record, int direction);

// Round kind under which a record set in a round of that kind is kept: 1
// for a preliminary, 2 for every final (a direct final included).
int RecordRoundKind(int round_kind);

// The first record of the event, group (grade name) and sex. Mode 0: any;
// mode 1: one not set at this meet, or set here in an earlier round kind
// than round_kind (what a round of that kind is measured against); mode 2:
// one set at this meet in round_kind. Round kinds count as RecordRoundKind.
// Null when none.
RecordNode* FindRecordNode(std::string_view group_name, int sex, int mode, std::string_view event_name,
                           int round_kind);

// Keeps this meet's record of the upload's event, group and sex for the
// round kind in step with the counted rounds kept under it: round (best is
// its best entry, null while it stands uncounted) and every other counted
// round of this meet in the same event, grade, sex and round kind. The
// record is the best of their best entries that broke the standing one
// (added or brought to that result and holder), and deleted when none
// does. 0 / 1 after a database error (the caller's unit then rolls back).
int UpdateRecordsAfterScoring(const GroupNode& group, const ScoreUpload& upload, const RoundNode& round,
                              const LaneNode* best);

// Takes the record with that id out of RecordList (none: nothing).
void RemoveRecordNode(int record_id);

// Marks the preliminary of the final's contest against the record standing
// before this meet: each lane's record flag and bonus points, in the file
// and in LaneList. 0 done; 1 no preliminary or no lane; -1 database error.
int MarkRecordResults(const EventNode& event, const GroupNode& group, const ContestNode& contest);

// Outcome codes of one records-page cell (the page script's numbers).
enum TopScoreCode {
  kTopScoreFailed = 0,     // a database error: nothing changed
  kTopScoreAdded = 1,      // a new typed record is the one found from now on
  kTopScoreBadInput = 2,
  kTopScoreSameValue = 3,  // the record holds that value already
  kTopScoreDeleted = 4,    // the record is gone, or there was none to clear
  kTopScoreSetHere = 5,    // set at this meet: remove it by deleting the result
};

// One cell of the records page: the query text after "Dstr=", "grade id=
// event id=sex=score text[=unit]" (three fields clear the cell). text gets
// the normalised score text.
TopScoreCode UpdateTopScore(std::string_view query, std::string& text);

}  // namespace korva
