#include "pages/setup/register_pages.h"

#include <exception>
#include <string>

#include "database/data_error.h"
#include "pages/setup/create_meet.h"
#include "pages/setup/setup_result_page.h"
#include "pages/setup/setup_stage.h"
#include "web/route_table.h"

namespace {

// Route 32: GET "/JianLiYdh.html", the create-meet form.
void CreateMeetPageRoute(RouteContext& ctx) { ServeCreateMeetPage(ctx.session, ctx.reply); }

// Route 142: POST "/JianLiYdh.html". The dispatcher answers with the result
// page for ctx.result; a refused creation hands it the posted name.
void CreateMeetPostRoute(RouteContext& ctx) {
  std::string posted_name;
  try {
    ctx.result = HandleCreateMeetPost(ctx.request.Body, &posted_name);
  } catch (const std::exception& e) {
    // Result 0 would tell the administrator the meet was made.
    LogServerMessage(std::string("create meet: ") + e.what());
    ctx.result = kCreateUnexpectedFailure;
  }
  bool refused_by_name = (ctx.result >= kCreateBadPost && ctx.result <= kCreateLongSection) ||
                         ctx.result == kCreateNameUsed;
  ctx.message = refused_by_name ? posted_name : std::string();
}

// The only codes that name a meet other than the open one are the refused
// creations, and they carry the posted name as their message.
void AdminResultPage(int code, std::string_view message, LoginNode& session, std::string& reply) {
  bool refused_creation = (code >= 1 && code <= 4) || code == kCreateNameUsed;
  if (refused_creation) ServeSetupResultPage(session, code, {}, reply, message);
  else ServeSetupResultPage(session, code, message, reply);
}

}  // namespace

void RegisterSetupPages() {
  SetAdminResultPageHook(AdminResultPage);
  SetSetupStageHook(GetSetupStage);
  SetModelConsistencyHook(CheckModelConsistency);
  RegisterRoute(32, CreateMeetPageRoute, EmptyReply::kAdminResult);
  RegisterRoute(142, CreateMeetPostRoute, EmptyReply::kAdminResult);
}
