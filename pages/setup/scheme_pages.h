#pragma once
// The scoring schemes (points per place): the list ("/ShowScore.html"),
// the form ("/SetupScore.html"), saving and deleting a scheme.
// Administrators only; every change goes to the open meet and its
// base-file twin together.
#include "web/route_table.h"

namespace korva {

RouteTable SchemePageRoutes();

}  // namespace korva
