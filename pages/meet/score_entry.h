#pragma once
// The score-entry page ("/InputScore.html", and a clerk's "/Admin.html"): a
// choice of half-day session, event type, round and heat, one row per lane
// of the heat with its result, and the round's state with its print
// buttons. The page changes nothing: its script (inscore.js) uploads each
// result on Enter to "/upcj.html". The caller holds DataLock.
#include <string>
#include <string_view>
#include <vector>

#include "database/model.h"
#include "web/login_list.h"
#include "web/route_table.h"

namespace korva {

// Page modes: who the page is for.
enum ScoreEntryMode {
  kScoreViewOnly = 0,    // print administrators: inputs read-only, no state line
  kScoreEntryAdmin = 1,  // the administrator
  kScoreEntryClerk = 2,  // score-entry clerks
};

// One round offered in the round select.
struct RoundChoice {
  EventNode Event;  // the round's event (a part's own event); Name holds the label
  int RoundId = 0;
  int Kind = 0;
  int Order = 0;  // order in the half-day session, the sort key
  int CompletionStamp = 0;
  int GroupId = 0;
  int ContestId = 0;
  int Entrants = 0;
  int Places = 0;  // places or qualifiers
};

// The rounds of one half-day session and event type, and the one chosen.
struct SessionRounds {
  std::vector<RoundChoice> Choices;  // by order in the session, equal orders as listed
  int Chosen = -1;                      // index in Choices, -1 when none
  const GroupNode* Group = nullptr;    // the chosen round's group
  const RecordNode* Record = nullptr;  // the record the chosen round is measured against
};

// The half-day session select "BsDate", 第N天上午/下午 for every session.
std::string BuildSessionSelect(int selected);

// The enabled rounds of the session whose event has that BiSaiType, with
// their labels. The chosen round is round_id's; with round_id 0 the first
// round not yet counted (else the first), whose id is written back. False
// after a data error (logged), with rounds left empty.
bool CollectSessionRounds(int event_type, int session, int& round_id, SessionRounds& rounds);

// The page body for the session, event type, round and heat.
std::string BuildScoreEntryBody(int session, int event_type, int round_id, int heat, int mode);

// The whole page, header included, for a request path with its query
// (BsDate, bstype, MatchTabe, zhu); appended to reply.
void ServeInputScorePage(const LoginNode& session, std::string_view path, std::string& reply, int mode);

// Routes 16 (a clerk's "/Admin.html" and "/InputScore.html", mode 2), 18
// (a print administrator's, mode 0) and 56 (the administrator's, mode 1).
RouteTable ScoreEntryRoutes();

}  // namespace korva
