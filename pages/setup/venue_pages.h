#pragma once
// The venues: the venue list ("/ShowYards.html"), the venue form
// ("/SetupYard.html"; the built-in tracks 1 to 3 switch lanes instead of
// choosing a size), saving and deleting a venue. Administrators only;
// every change goes to the open meet and its base-file twin together,
// except the tracks' lanes, which belong to the meet alone.
#include "web/route_table.h"

namespace korva {

RouteTable VenuePageRoutes();

}  // namespace korva
