#pragma once
// The competition groups page, step ② of the set-up: which grades take
// part with their boys' and girls' groups, the groups' entry limits, places
// ranked, scoring scheme and record bonuses. GET "/SetupMeetGrade.html"
// (route 34) serves the form, POST "/ChangeGrade.html" (route 144) saves it
// and is answered with the result page (code 30 + result).
#include <string>
#include <string_view>
#include <vector>

#include "database/store_meets.h"
#include "web/login_list.h"
#include "web/route_table.h"

namespace korva {

// Results of the groups post.
enum GroupsResult {
  kGroupsSaved = 0,
  kGroupsRefused = 1,  // the posted form is not right, or a database error
  kGroupsKept = 2,     // saved, but groups with registered athletes were kept
};

// Reads and checks a posted groups form: the grade rows (each grade of the
// open meet with at least one class, its grade name filled) and the record
// bonuses. kGroupsSaved when it may be saved, else kGroupsRefused. The
// caller holds DataLock.
int ParseGroupsPost(std::string_view body, std::vector<GradeGroupSettings>* rows, RecordBonuses* bonuses);

// Saves a posted form and reloads the groups, their events, contests and
// rounds; report receives the store's report lines. The caller holds
// DataLock for writing.
int HandleGroupsPost(std::string_view body, std::string* report);

// Appends the groups page (header and frame) to reply. The caller holds
// DataLock.
void ServeGroupsPage(const LoginNode& session, std::string& reply);

RouteTable CompetitionGroupsRoutes();

}  // namespace korva
