#pragma once
// The school records page ("/ShowTopScore.html", administrator): every
// event's standing record per grade and sex, one editable cell each, and
// the save of one cell ("/uptopcj.html?Dstr=grade=event=sex=score=unit").
#include <string>

#include "web/login_list.h"
#include "web/route_table.h"

namespace korva {

// The whole records page (header and framed page) for the session. The
// caller holds DataLock for reading.
void ServeTopScorePage(const LoginNode& session, std::string& reply);

RouteTable SchoolRecordsRoutes();

}  // namespace korva
