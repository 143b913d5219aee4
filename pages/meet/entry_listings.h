#pragma once
// The entry listings by class ("/ShowBaoMing.html") and by event
// ("/ShowBaoMing2.html"): who has entered what, what is still open, and
// the places used. Staff see the whole meet in the administration frame; a
// class teacher sees every class and contest of his grade in the class
// frame. They read the model only; the caller holds DataLock.
#include <string>

#include "web/login_list.h"
#include "web/route_table.h"

namespace korva {

// Per class, the athletes of each competition group with their events, the
// group's places and the class's teams without an entrant. Appends header
// and page to reply: 0; 1 on a data error (nothing appended).
int ServeEntryListByClass(std::string& reply, const LoginNode& session);

// Per contest (a mixed team's pair once, under the girls' contest), the
// entrants with their classes and the places used. Appends header and page
// to reply: 0; 1 on a data error (nothing appended).
int ServeEntryListByEvent(std::string& reply, const LoginNode& session);

RouteTable EntryListingRoutes();

}  // namespace korva
