#pragma once
// The two account pages of the administrator: the class accounts of the
// open meet ("/UserList.html") and the staff accounts ("/AdUserList.html"),
// with the script requests that add and delete a score-entry clerk or print
// administrator ("/AddAdmin.html", "/DelAdmin.html") and change a staff
// member's own password ("/CaAdPs.html").
#include "web/route_table.h"

namespace korva {

RouteTable AccountPageRoutes();

}  // namespace korva
