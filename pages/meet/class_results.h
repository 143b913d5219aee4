#pragma once
// The class teacher's results page ("/SeeClassCJ.html"): every result of
// the class's athletes, one row per athlete or class team and round, with
// the class's total points; the page reloads itself every minute.
#include <string>

#include "web/login_list.h"
#include "web/route_table.h"

namespace korva {

// Appends header and page to reply; a class that no longer exists gets the
// body "提交的数据有误；" alone. The caller holds DataLock.
void ServeClassResultsPage(std::string& reply, const LoginNode& session);

RouteTable ClassResultsRoutes();

}  // namespace korva
