#pragma once
// Regrouping chosen rounds after the start lists exist ("/ChongPaiBiSai.html",
// POST, administrator): the venue page's offer after a venue changed.
#include <string>
#include <string_view>

#include "web/route_table.h"

namespace korva {

// Regroups the rounds of a request ("str1": round ids, each ended by '-'; a
// number of more than seven bytes starts over) and answers one sentence per
// known round, in request order.
std::string RegroupSentences(std::string_view round_ids);

RouteTable RegroupRoutes();

}  // namespace korva
