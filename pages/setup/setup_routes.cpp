#include "pages/setup/setup_routes.h"

#include "database/data_lock.h"
#include "pages/setup/account_pages.h"
#include "pages/setup/admin_home.h"
#include "pages/setup/advanced_operations.h"
#include "pages/setup/ajax_functions.h"
#include "pages/setup/competition_groups.h"
#include "pages/setup/create_meet.h"
#include "pages/setup/group_events.h"
#include "pages/setup/match_plan.h"
#include "pages/setup/meet_info.h"
#include "pages/setup/meet_list.h"
#include "pages/setup/menu_pages.h"
#include "pages/setup/order_book_control.h"
#include "pages/setup/regroup.h"
#include "pages/setup/setup_result_page.h"
#include "pages/setup/setup_stage.h"
#include "pages/setup/setup_stage_page.h"

namespace korva {

namespace {

using enum Access;
using enum Method;
using enum Answer;

// Administration routes whose pages are still to come: each row moves to
// its page's file, with its handler, when the page is built. Until then
// the request gets the session-expired page.
constexpr RouteRow kPlannedRows[] = {
    {.path = "/SetupYard.html", .roles = kAdmin, .code = 38, .empty = EmptyReply::kAdminResult},
    {.path = "/ShowYards.html", .roles = kAdmin, .code = 39, .empty = EmptyReply::kAdminResult},
    {.path = "/ShowMatch.html", .roles = kAdmin, .code = 40, .empty = EmptyReply::kAdminResult},
    {.path = "/SetupMatch.html", .roles = kAdmin, .code = 41, .empty = EmptyReply::kAdminResult},
    {.path = "/SetupSchool.html", .roles = kAdmin, .code = 42, .empty = EmptyReply::kAdminResult},
    {.path = "/SetupGrade.html", .roles = kAdmin, .code = 43, .empty = EmptyReply::kAdminResult},
    {.path = "/EditClassName.html", .roles = kAdmin, .code = 44, .empty = EmptyReply::kAdminResult},
    {.path = "/ShowScore.html", .roles = kAdmin, .code = 45, .empty = EmptyReply::kAdminResult},
    {.path = "/SetupScore.html", .roles = kAdmin, .code = 46, .empty = EmptyReply::kAdminResult},
    {.path = "/MoveBiSai.html", .roles = kAdmin, .code = 60, .access = kWrite, .empty = EmptyReply::kEmptyBody},
    {.path = "/AddYard.html", .method = kPost, .roles = kAdmin, .code = 150, .access = kWrite,
     .empty = EmptyReply::kAdminResult, .answer = kResultPage, .base = 50},
    {.path = "/DelYard.html", .method = kPost, .roles = kAdmin, .code = 151, .access = kWrite,
     .empty = EmptyReply::kAdminResult, .answer = kResultPage, .base = 60},
    {.path = "/AddMatch.html", .method = kPost, .roles = kAdmin, .code = 152, .access = kWrite,
     .empty = EmptyReply::kAdminResult, .answer = kResultPage, .base = 70},
    {.path = "/DelMatch.html", .method = kPost, .roles = kAdmin, .code = 153, .access = kWrite,
     .empty = EmptyReply::kAdminResult, .answer = kResultPage, .base = 70},
    {.path = "/AddGrade.html", .method = kPost, .roles = kAdmin, .code = 155, .access = kWrite,
     .empty = EmptyReply::kAdminResult, .answer = kResultPage, .base = 80},
    {.path = "/DelGrade.html", .method = kPost, .roles = kAdmin, .code = 156, .access = kWrite,
     .empty = EmptyReply::kAdminResult, .answer = kResultPage, .base = 80},
    {.path = "/AddOrDelClass.html", .method = kGet, .roles = kAdmin, .code = 157, .access = kWrite,
     .empty = EmptyReply::kEmptyBody},
    // Success: result 0 with the grade id as the message.
    {.path = "/EditCSname.html", .method = kPost, .roles = kAdmin, .code = 158, .access = kWrite,
     .empty = EmptyReply::kAdminResult, .answer = kRedirectElseFailure, .redirect = 3},
    {.path = "/AddScore.html", .method = kPost, .roles = kAdmin, .code = 159, .access = kWrite,
     .empty = EmptyReply::kAdminResult, .answer = kRedirectElseFailure, .redirect = 4},
    {.path = "/DelScore.html", .method = kPost, .roles = kAdmin, .code = 160, .access = kWrite,
     .empty = EmptyReply::kAdminResult, .answer = kRedirectElseFailure, .redirect = 4},
};

// The administration result page for the dispatcher: the message is the
// posted meet name for the codes that name it, and the handler's text for
// every other code.
void AdminResultPage(int code, std::string_view message, const LoginNode& session, std::string& reply) {
  ServeSetupResultPage(session, code, message, reply, message);
}

int SetupStageForRouter() {
  DataReadGuard hold(DataLock);
  return GetSetupStage();
}

}  // namespace

std::vector<RouteTable> SetupRouteTables() {
  return {CreateMeetRoutes(), SetupStageRoutes(), MenuPageRoutes(), OrderBookControlRoutes(), MatchPlanRoutes(),
          MeetListRoutes(), AccountPageRoutes(), RegroupRoutes(), AdminHomeRoutes(),
          MeetInfoRoutes(), CompetitionGroupsRoutes(), GroupEventsRoutes(), AjaxFunctionRoutes(),
          AdvancedOperationRoutes(), kPlannedRows};
}

void InstallSetupServices() {
  SetAdminResultPageHook(AdminResultPage);
  SetSetupStageHook(SetupStageForRouter);
}

}  // namespace korva
