#pragma once
// The event catalogue: the event list ("/ShowMatch.html"), the event form
// ("/SetupMatch.html"), saving and deleting an event, and moving one up or
// down the list ("/MoveBiSai.html"). Administrators only; every change
// goes to the open meet and its base-file twins together.
#include "web/route_table.h"

namespace korva {

RouteTable EventPageRoutes();

}  // namespace korva
