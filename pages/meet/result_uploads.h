#pragma once
// The score-entry page's requests that store results (score-entry clerks
// and administrators): one result per upload ("/upcj.html") and the places
// of a tied final ("/ydhupdatestcj2016.html"). Each answers a short text
// that the page script reads.
#include "web/route_table.h"

namespace korva {

RouteTable ResultUploadRoutes();

}  // namespace korva
