#pragma once
// The route tables of registration, score entry, printing and the results
// board.
#include <vector>

#include "web/route_table.h"

namespace korva {

// Every table of this folder, for InstallRouteTables. A page file declares
// its own table next to its handlers and is listed here once.
std::vector<RouteTable> MeetRouteTables();

}  // namespace korva
