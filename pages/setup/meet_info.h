#pragma once
// The meet information page, step ① of the set-up: the open meet's name,
// start date, length, start times of the half-day sessions, opening
// ceremony and the admit-one-less rule. GET "/SetupMeetName.html" (route
// 33) serves the form, POST "/ChangYdhName.html" (route 143) saves it and
// is answered with the result page (code 20 + result).
#include <string>
#include <string_view>

#include "web/login_list.h"
#include "web/route_table.h"

namespace korva {

// Results of the meet-information post.
enum MeetInfoResult {
  kMeetInfoSaved = 0,
  kMeetInfoNameUsed = 1,  // another meet has the name
  kMeetInfoRefused = 2,   // refused with a reason
  kMeetInfoFailed = 3,    // database error, nothing changed
};

// Saves a posted form. An empty name (also one the field filter emptied)
// and a half-day opening while a round is scheduled into the first
// half-day session are refused with the reason in *reason. The caller holds
// DataLock for writing.
int HandleMeetInfoPost(std::string_view body, std::string* reason);

// Appends the form page (header and frame) for the open meet to reply, or
// the result page that sends the administrator to create a meet while none
// is open. The caller holds DataLock.
void ServeMeetInfoPage(const LoginNode& session, std::string& reply);

RouteTable MeetInfoRoutes();

}  // namespace korva
