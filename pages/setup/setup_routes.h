#pragma once
// The route tables of the set-up and administration pages.
#include <vector>

#include "web/route_table.h"

namespace korva {

// Every table of this folder, for InstallRouteTables. A page file declares
// its own table next to its handlers and is listed here once.
std::vector<RouteTable> SetupRouteTables();

}  // namespace korva
