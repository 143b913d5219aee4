#include "pages/meet/meet_routes.h"

#include "pages/meet/advanced_fragments.h"
#include "pages/meet/athlete_registration.h"
#include "pages/meet/certificate_layout.h"
#include "pages/meet/class_pages.h"
#include "pages/meet/class_password.h"
#include "pages/meet/class_results.h"
#include "pages/meet/entry_listings.h"
#include "pages/meet/order_book_generation.h"
#include "pages/meet/print_centre.h"
#include "pages/meet/print_sheets.h"
#include "pages/meet/result_uploads.h"
#include "pages/meet/results_board.h"
#include "pages/meet/score_entry.h"
#include "pages/meet/single_item_prints.h"

namespace korva {

std::vector<RouteTable> MeetRouteTables() {
  return {ClassPageRoutes(), AthleteRegistrationRoutes(), ClassPasswordRoutes(), EntryListingRoutes(),
          OrderBookGenerationRoutes(), ResultUploadRoutes(), ClassResultsRoutes(), PrintCentreRoutes(),
          PrintSheetRoutes(), CertificateLayoutRoutes(), ScoreEntryRoutes(), AdvancedPageRoutes(), ResultsBoardRoutes(),
          SingleItemPrintRoutes()};
}

}  // namespace korva
