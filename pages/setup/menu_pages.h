#pragma once
// The two menu pages in the administration frame: the advanced functions
// ("/Adft.html", administrator) and the reports ("/Table.html", roles 6
// and above).
#include "web/route_table.h"

namespace korva {

RouteTable MenuPageRoutes();

}  // namespace korva
