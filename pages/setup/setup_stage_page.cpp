#include "pages/setup/setup_stage_page.h"

#include <string>

#include "database/data_lock.h"
#include "database/model.h"
#include "database/setup_stage.h"
#include "web/response.h"

namespace korva {

constexpr int kSetupMeetRoute = 37;

int SetupMeetRoute(int stage) {
  switch (stage) {
    case kStageComplete: return 33;
    case kStageNoGroups: return 34;
    case kStageNoGroupEvents: return 35;
    case kStageUnscheduled: return 36;
    case kStageNoMeet: return 32;
    default: return kSetupMeetRoute;
  }
}

const char* SetupStagePagePath(int stage) {
  switch (stage) {
    case kStageNoSchemeOrContest:
      return Model().ScoringSchemeList.empty() ? "/ShowScore.html" : "/SetupGradeMatch.html";
    case kStageNoEvents: return "/ShowMatch.html";
    case kStageNoGroupEventList: return "/SetupGradeMatch.html";
    case kStageNoClasses: return "/SetupSchool.html";
    default: return "/Admin.html";
  }
}

namespace {

void ServeSetupMeet(RouteContext& ctx) {
  const int stage = GetSetupStage();
  const int route = SetupMeetRoute(stage);
  // The stage pages' rows hold the lock and answer as this one does.
  const RouteRow* row = route != kSetupMeetRoute ? FindRouteRow(route) : nullptr;
  if (row && row->handler) {
    ctx.route = route;
    row->handler(ctx);
    return;
  }
  ServeRedirectToPath(SetupStagePagePath(stage), ctx.session, ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.path = "/SetupMeet.html", .roles = kAdmin, .code = kSetupMeetRoute, .handler = ServeSetupMeet,
     .empty = EmptyReply::kAdminResult},
};

}  // namespace

RouteTable SetupStageRoutes() { return kRows; }

}  // namespace korva
