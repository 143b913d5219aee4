#pragma once
// The entry listings by class ("/ShowBaoMing.html") and by event
// ("/ShowBaoMing2.html"), for class teachers and staff.
#include "web/route_table.h"

namespace korva {

RouteTable EntryListingRoutes();

}  // namespace korva
