#pragma once
// "/getgnstr.html?Dstr=a-b-c-d-e": the pieces of the advanced-functions
// page and of the reports page, each an HTML fragment that the page script
// puts into its element "gndiv1". a names the piece: the rehearsal,
// renumber and delete-heats boxes (1, 40, 60), the add-athlete panel (2),
// the athlete search and its result (3, 4), an athlete's edit form and its
// save (5, 7), its join/withdraw table, a join and a withdrawal (6, 9, 8),
// the round settings panels (70 track, 80 field) and the four reports
// (90, 100, 110, 120). The reports are for every staff role, the other
// pieces for the administrator only; an unknown piece, or a Dstr with
// fewer than five numbers, gives an empty fragment.
#include "web/route_table.h"

namespace korva {

RouteTable AdvancedPageRoutes();

}  // namespace korva
