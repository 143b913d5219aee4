#pragma once
// One result from the score-entry page: "/upcj.html?Dstr=" with round id,
// athlete id, status, the record's three values as the page had them, the
// mode and the score text, joined by '='. The result is checked, stored in
// the athlete's lane (every member of a class team) and, once the round may
// be complete, the round is counted. Rounds already counted, and
// preliminaries whose final exists, are protected by a warning that the
// clerk confirms (mode 2). The caller holds DataLock as a writer.
#include <string>
#include <string_view>

#include "database/model.h"
#include "database/store_records.h"
#include "engine/round_ranking.h"

namespace korva {

// Upload modes.
enum UploadMode {
  kUploadNormal = 1,
  kUploadConfirmed = 2,  // sent again after a warning: replace the ranking or the final
  kUploadRecount = 3,    // athlete 0, text "0": nothing stored, the round counted again
};

// Reads an upload path into upload: true when it begins "/upcj.html?Dstr=",
// holds seven numbers (the score text after them may be missing: a clear),
// and names a round and a mode of 1 to 3.
bool ParseScoreUpload(std::string_view path, ScoreUpload& upload);

// Stores the upload's value and status in the lane and in every member of
// its class team (place 0; with status 0 the record flag against the
// upload's record value and its bonus). 0 / 1 after a failed write
// (nothing changed).
int StoreEntryScore(LaneNode& lane, const ScoreUpload& upload, const GroupNode& group);

// Stores the parsed upload and counts the round when it may be complete;
// the reply code and its text (the normalised score, a message, or HTML
// for the pop-up). Everything it writes commits together; after a failure
// (kReplyFailed) nothing has changed.
ScoreReply SaveScore(ScoreUpload& upload, std::string& text);

// The whole upload request: parse, then SaveScore.
ScoreReply HandleScoreUpload(std::string_view path, std::string& text);

}  // namespace korva
