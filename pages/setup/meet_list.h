#pragma once
// The meet list of the administrator ("/MeetList.html"), and its two
// script requests: making another meet current ("/setupDqYdh.html") and
// deleting a meet that is not current ("/DelYdh.html").
#include "web/route_table.h"

namespace korva {

RouteTable MeetListRoutes();

}  // namespace korva
