#pragma once
// The score-entry page's requests that store results (score-entry clerks
// and administrators): one result per upload ("/upcj.html") and the places
// of a tied final ("/ydhupdatestcj2016.html"). Each answers a short text
// that the page script reads.
#include <string>
#include <string_view>

#include "engine/manual_places.h"
#include "engine/score_upload.h"
#include "web/route_table.h"

namespace korva {

// Reads "/upcj.html?Dstr=" with round id, athlete id, status, the record's
// three values, the mode and the score text, joined by '=': true when the
// seven numbers are there (the score text after them may be missing: a
// clear) and they name a round and a mode of 1 to 3.
bool ParseScoreUpload(std::string_view path, ScoreUpload& upload);

// Reads "...2016.html?str=" (every place different) or "?ctr=" (shared
// places allowed) followed by numbers each ended by '-': round id, the
// record's three values, then pairs of athlete id and place. False when
// neither key is there, or the numbers are fewer than eight or odd.
bool ParseManualPlaces(std::string_view path, ManualPlacesRequest& request);

// The reply text of an upload: the two-digit code, then the normalised
// score, a sentence, or the HTML of the pop-up that asks the clerk.
std::string AnswerScoreUpload(std::string_view path);

// The reply text of manual places: "1" and the sentence, or "0".
std::string AnswerManualPlaces(std::string_view path);

RouteTable ResultUploadRoutes();

}  // namespace korva
