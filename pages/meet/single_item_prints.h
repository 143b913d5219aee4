#pragma once
// The search tab of the print centre ("/Print4.html") fills its container
// from three fragments: the athletes found by bib or name, one athlete's
// results, one class's placed results. The certificates of the ticked
// results print through "/PrintOne.html". For print administrators and the
// administrator; the caller holds DataLock.
#include <string_view>
#include <vector>

#include "web/route_table.h"

namespace korva {

// The lane-row ids of a "/PrintOne.html?cjid=" text, each ended by '-':
// the reading ends at an empty id, at an id of more than 9 digits or at any
// other character, and text after the last '-' is ignored.
std::vector<int> ReadLaneRowIds(std::string_view text);

// Routes 70 "/FindStudent.html?str=", 71 "/ViewOneST.html?str=", 72
// "/ViewOneCS.html?str=" and 73 "/PrintOne.html?cjid=".
RouteTable SingleItemPrintRoutes();

}  // namespace korva
