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

// /ShowClass.html: appends header and page to reply; false (nothing
// appended) when the class's grade has no competition group.
bool ServeClassHomePage(const LoginNode& session, std::string& reply);

// /BoyEnroll.html (sex 1) and /GirlEnroll.html (sex 2), with the athlete to
// edit or 0: appends header and page; false (nothing appended) when the
// class or its group of that sex is missing.
bool ServeEnrollPage(int athlete_id, int sex, const LoginNode& session, std::string& reply);

// POST /DelST.html: deletes the ticked athletes of the session's class that
// hold no result. True when all went; false with message (markup) when an
// athlete was kept or the request was refused. Refused while registration
// is closed.
bool HandleDeleteAthletesPost(std::string_view body, const LoginNode& session, std::string& message);

// The class teacher's home, enrol, deletion and leader-name routes.
RouteTable ClassPageRoutes();

}  // namespace korva
