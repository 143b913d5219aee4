#pragma once
// "/SetupMeet.html" for the stages whose missing piece has no set-up step
// of its own (route 37): the administrator is sent to the page where it is
// configured.
#include "web/route_table.h"

namespace korva {

// The path for a stage of 4 to 7 (ShowScore, SetupGradeMatch, ShowMatch or
// SetupSchool); "/Admin.html" for any other stage. The caller holds DataLock.
const char* SetupStagePagePath(int stage);

// The route of "/SetupMeet.html" in stages 4 to 7: a small page that goes to
// SetupStagePagePath of the current stage.
RouteTable SetupStageRoutes();

}  // namespace korva
