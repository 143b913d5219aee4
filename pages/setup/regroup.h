#pragma once
// Regrouping chosen rounds after the start lists exist ("/ChongPaiBiSai.html",
// POST, administrator): the venue page's offer after a venue changed.
#include "web/route_table.h"

namespace korva {

RouteTable RegroupRoutes();

}  // namespace korva
