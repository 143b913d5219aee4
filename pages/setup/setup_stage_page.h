#pragma once
// "/SetupMeet.html" (route 37, administrator): the page of the current
// set-up stage. The stages with a set-up step of their own serve that
// step's page (routes 32 to 36); for the others a small page sends the
// administrator to where the missing piece is configured.
#include "web/route_table.h"

namespace korva {

// The route whose page "/SetupMeet.html" serves in a stage: 33 complete, 34
// no groups, 35 a group without events, 36 unscheduled rounds, 32 no meet;
// 37 (the redirect to SetupStagePagePath) for stages 4 to 7.
int SetupMeetRoute(int stage);

// The path for a stage of 4 to 7 (ShowScore, SetupGradeMatch, ShowMatch or
// SetupSchool); "/Admin.html" for any other stage. The caller holds DataLock.
const char* SetupStagePagePath(int stage);

RouteTable SetupStageRoutes();

}  // namespace korva
