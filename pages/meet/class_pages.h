#pragma once
// The class teacher's pages: the class home page with its limits, events,
// athletes and registration state; the enrol pages for boys and girls; the
// deletion of ticked athletes. The caller holds DataLock: shared for the
// pages, alone for the deletion.
#include <string>
#include <string_view>

#include "web/login_list.h"
#include "web/route_table.h"

namespace korva {

// /ShowClass.html: appends header and page to reply and returns 1; 0 (nothing
// appended) when the class's grade has no competition group.
int ServeClassHomePage(std::string& reply, const LoginNode& session);

// /BoyEnroll.html (sex 1) and /GirlEnroll.html (sex 2), with the athlete to
// edit or 0: appends header and page and returns 0; non-zero (nothing
// appended) when the class or its group of that sex is missing.
int ServeEnrollPage(std::string& reply, int athlete_id, int sex, const LoginNode& session);

// POST /DelST.html: deletes the ticked athletes of the session's class that
// hold no result. 0 when all went; non-zero with message (markup) when an
// athlete was kept or the request was refused. Refused while registration
// is closed.
int HandleDeleteAthletesPost(std::string& message, std::string_view body, const LoginNode& session);

// The class teacher's home, enrol, deletion and leader-name routes.
RouteTable ClassPageRoutes();

}  // namespace korva
