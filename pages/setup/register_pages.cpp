#include "pages/setup/register_pages.h"

#include <string>

#include "pages/setup/create_meet.h"
#include "pages/setup/setup_result_page.h"
#include "pages/setup/setup_stage.h"
#include "pages/setup/setup_stage_page.h"
#include "web/route_table.h"

namespace korva {

namespace {

// Route 32: GET "/JianLiYdh.html", the create-meet form.
void CreateMeetPageRoute(RouteContext& ctx) { ServeCreateMeetPage(ctx.session, ctx.reply); }

// Route 142: POST "/JianLiYdh.html". The dispatcher answers with the result
// page for ctx.result; the message is the posted name where the sentence
// names it, and otherwise empty (creation gives no reason text).
void CreateMeetPostRoute(RouteContext& ctx) {
  std::string posted_name;
  ctx.result = HandleCreateMeetPost(ctx.request.Body, &posted_name);
  if (NamesPostedMeet(ctx.result)) ctx.message = posted_name;
}

// A message is the posted meet name for the codes that name it, and the
// handler's text for every other code.
void AdminResultPage(int code, std::string_view message, LoginNode& session, std::string& reply) {
  ServeSetupResultPage(session, code, message, reply, message);
}

}  // namespace

void RegisterSetupPages() {
  SetAdminResultPageHook(AdminResultPage);
  SetSetupStageHook(GetSetupStage);
  SetModelConsistencyHook(CheckModelConsistency);
  RegisterRoute(32, CreateMeetPageRoute, EmptyReply::kAdminResult);
  RegisterRoute(142, CreateMeetPostRoute, EmptyReply::kAdminResult);
  RegisterRoute(37, ServeSetupStageRedirect, EmptyReply::kAdminResult);
}

}  // namespace korva
