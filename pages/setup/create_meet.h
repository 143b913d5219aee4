#pragma once
// The create-meet page "/JianLiYdh.html" (administrator only): the form
// (GET, route 32) and the handler of its post (route 142), which makes a new
// meet file, registers it, makes it the current meet and opens it.
#include <string>
#include <string_view>
#include <vector>

#include "database/store_meets.h"
#include "web/login_list.h"
#include "web/route_table.h"

namespace korva {

// Results of the create-meet handler (the SetupResultCode of the page).
enum CreateMeetResult {
  kCreateDone = 0,
  kCreateBadPost = 2,          // body under 10 bytes, an empty meet name, or a grade twice
  kCreateShortSection = 3,     // a grade section under 10 bytes to the end of the body
  kCreateLongSection = 4,      // a grade section over 400 bytes
  kCreateNoSex = 5,            // a chosen grade with neither boys nor girls
  kCreateZeroSetting = 6,      // a chosen grade with a zero scheme, limit or places value
  kCreateNoTemplate = 7,       // grade id 0, or the blank meet file is missing
  kCreateCopyFailed = 8,       // the blank meet file cannot be copied into the data folder
  kCreateNoGrade = 9,          // no grade chosen
  kCreateNameUsed = 11,        // another meet has the name
  kCreateFileUnusable = 12,    // the new meet file can't be opened
  kCreateNotFilled = 13,       // the defaults can't be copied into it
  kCreateCopyOldMeet = 99,     // the copy-an-earlier-meet choice, which is not offered
};

// Everything the form posts, as the handler reads it.
struct CreateMeetPost {
  std::string Name;
  std::string DateText;        // "%s-%s-%s" of year, month and day as posted
  int SessionCount = 0;        // wshichang: half-day sessions
  int MorningStart = 0;
  int AfternoonStart = 0;
  int OpeningLength = 0;
  int AdmitOneLess = 0;
  int BibWidth = 3;
  RecordBonuses Bonuses{};
  std::vector<GradeGroupSettings> Rows;
};

// Reads one grade section of the create-meet or groups form (the text
// from a "wnjsel=" up to the next "wnjsel" or the end of the body) into
// row: kCreateDone, kCreateNoTemplate for grade id 0, kCreateNoSex for a
// grade with neither sex, kCreateZeroSetting for a zero limit or scheme.
int ParseGradeSection(std::string_view section, GradeGroupSettings* row);

// The six record bonuses (wpjf1..wpjf6, absent 0), which the forms post
// behind the grade table, so in its last section.
RecordBonuses ParseRecordBonuses(std::string_view section);

// Reads and checks a posted body; kCreateDone when the meet may be made,
// else the refusal result. Nothing is written.
int ParseCreateMeetPost(std::string_view body, CreateMeetPost* post);

// The whole creation for a posted body: checks, the new meet file, the
// registry, then the new meet opened and every non-administrator session
// logged out. posted_name receives the posted meet name. A refusal leaves
// the previous meet open, the registry as it was and no new file behind.
// The caller holds DataLock alone.
int HandleCreateMeetPost(std::string_view body, std::string* posted_name);

// Appends the create-meet page (header and framed form) to reply.
void ServeCreateMeetPage(const LoginNode& session, std::string& reply);

// GET and POST "/JianLiYdh.html".
RouteTable CreateMeetRoutes();

}  // namespace korva
