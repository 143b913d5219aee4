#include "pages/setup/setup_stage_page.h"

#include <string>

#include "database/data_lock.h"
#include "database/model.h"
#include "pages/setup/setup_stage.h"
#include "web/response.h"

namespace korva {

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

void ServeSetupStageRedirect(RouteContext& ctx) {
  std::string path = SetupStagePagePath(GetSetupStage());
  ServeRedirectToPath(path, ctx.session, ctx.reply);
}

constexpr RouteRow kRows[] = {
    {.roles = kAdmin, .code = 37, .handler = ServeSetupStageRedirect, .empty = EmptyReply::kAdminResult},
};

}  // namespace

RouteTable SetupStageRoutes() { return kRows; }

}  // namespace korva
