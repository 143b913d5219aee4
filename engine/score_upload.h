#pragma once
// One result from the score-entry page: round id, athlete id, status, the
// record's three values as the page had them, the mode and the score text.
// The result is checked, stored in the athlete's lane (every member of a
// class team) and, once the round may be complete, the round is counted.
// Rounds already counted, and preliminaries whose final exists, are
// protected by a question that the clerk confirms (mode 2). The caller
// holds DataLock as a writer.
#include <string>
#include <utility>
#include <vector>

#include "database/model.h"

namespace korva {

// One score upload of the score-entry page, as parsed and completed by the
// score saving.
struct ScoreUpload {
  int RoundId = 0;
  int AthleteId = 0;
  int Status = 0;           // 0 normal, above 0 no valid result
  int Mode = 0;             // 1 upload, 2 confirmed after a warning, 3 recount
  ScoreValue RecordValue = kNoResult;   // the standing record as the page had it
  ScoreValue RecordValue2 = kNoResult;  // second record value, carried unchanged
  ScoreValue RecordValue3 = kNoResult;  // third record value, carried unchanged
  ScoreValue Value = kNoResult;
  int RoundKind = 0;
  int GroupSex = 0;         // 1 boys, 2 girls
  int EventType = 0;        // BiSaiType
  int TeamType = 0;         // TuanTiType
  int SortDirection = 1;    // PaiXuType
  int Heat = 1;
  std::string ScoreText;
  std::string UnitText;
  std::string GroupName;
  std::string EventName;
};

// Upload modes.
enum UploadMode {
  kUploadNormal = 1,
  kUploadConfirmed = 2,  // sent again after a warning: replace the ranking or the final
  kUploadRecount = 3,    // athlete 0, text "0": nothing stored, the round counted again
};

// Reply codes of a score upload, as the score-entry page reads them.
enum ScoreReply {
  kReplyFailed = 0,            // not parsed, something missing, or a failed write
  kReplySaved = 1,             // saved; the lane's heat still lacks results
  kReplyBadScore = 2,          // the score text is refused
  kReplyHeatComplete = 3,      // saved; this heat is complete, another is not
  kReplyCounted = 4,           // counted, final seeded, or counting refused with a message
  kReplyUncounted = 5,         // saved; the counted round is incomplete again
  kReplyUnchanged = 6,         // value and status as stored
  kReplyAsk = 7,               // a warning, a refusal or the tie form
  kReplySavedEqualled = 8,     // 1, and the lane equals the record
  kReplySavedBroken = 9,       // 1, and the lane breaks the record
  kReplyHeatEqualled = 10,     // 3, and the lane equals the record
  kReplyHeatBroken = 11,       // 3, and the lane breaks the record
};

// What the clerk is asked with kReplyAsk.
enum class UploadQuestion {
  kNone,
  kFinalExists,      // a preliminary whose final is drawn: replace it (mode 2) or give up
  kFinalHasResults,  // a preliminary whose final has results: refused, nothing saved
  kCounted,          // a counted round: count it again (mode 2) or give up
  kTiedPlaces,       // a final without ties allowed has ties within its places
};

// A run of equal results within the places of a final: its entries (one per
// class team, best first) may take places Before + 1 .. Before + size.
struct TiedRun {
  int Before = 0;
  std::vector<LaneNode> Entries;
};

// The places a clerk sets by hand: the untied entries' places as they stand
// (athlete id, place) and the runs of ties.
struct TieChoice {
  std::vector<std::pair<int, int>> Untied;
  std::vector<TiedRun> Runs;
};

// What an upload answers besides its code: the normalised score or a
// sentence, and with kReplyAsk the question (and the ties to place).
struct ScoreOutcome {
  std::string Text;
  UploadQuestion Question = UploadQuestion::kNone;
  TieChoice Ties;
};

// Stores the upload's value and status in the lane and in every member of
// its class team (place 0; with status 0 the record flag against the
// upload's record value and its bonus). 0 / 1 after a failed write
// (nothing changed).
int StoreEntryScore(LaneNode& lane, const ScoreUpload& upload, const GroupNode& group);

// Stores the upload and counts the round when it may be complete; the reply
// code and its outcome. A score text of 50 bytes or more is refused first.
// Everything it writes commits together; after a failure (kReplyFailed)
// nothing has changed.
ScoreReply SaveScore(ScoreUpload& upload, ScoreOutcome& outcome);

}  // namespace korva
