#include "pages/setup/setup_routes.h"

#include "pages/setup/account_pages.h"
#include "pages/setup/admin_home.h"
#include "pages/setup/advanced_operations.h"
#include "pages/setup/ajax_functions.h"
#include "pages/setup/competition_groups.h"
#include "pages/setup/create_meet.h"
#include "pages/setup/event_pages.h"
#include "pages/setup/grade_pages.h"
#include "pages/setup/group_events.h"
#include "pages/setup/match_plan.h"
#include "pages/setup/meet_info.h"
#include "pages/setup/meet_list.h"
#include "pages/setup/menu_pages.h"
#include "pages/setup/order_book_control.h"
#include "pages/setup/regroup.h"
#include "pages/setup/scheme_pages.h"
#include "pages/setup/school_records_page.h"
#include "pages/setup/setup_stage_page.h"
#include "pages/setup/venue_pages.h"

namespace korva {

std::vector<RouteTable> SetupRouteTables() {
  return {CreateMeetRoutes(), SetupStageRoutes(), MenuPageRoutes(), OrderBookControlRoutes(), MatchPlanRoutes(),
          MeetListRoutes(), AccountPageRoutes(), RegroupRoutes(), SchoolRecordsRoutes(), AdminHomeRoutes(),
          MeetInfoRoutes(), CompetitionGroupsRoutes(), GroupEventsRoutes(), AjaxFunctionRoutes(),
          AdvancedOperationRoutes(), GradePageRoutes(), EventPageRoutes(), VenuePageRoutes(), SchemePageRoutes()};
}

}  // namespace korva
