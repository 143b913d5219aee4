#include "host/routes.h"

#include <vector>

#include "database/data_lock.h"
#include "engine/result_table.h"
#include "pages/common/setup_result_page.h"
#include "pages/meet/meet_routes.h"
#include "pages/setup/setup_routes.h"
#include "web/route_table.h"

namespace korva {

void InstallAllRoutes() {
  std::vector<RouteTable> tables = SetupRouteTables();
  for (RouteTable table : MeetRouteTables()) tables.push_back(table);
  InstallRouteTables(std::move(tables), AdministrationAnswerPages());
  DataGuard hold(DataLock);
  AttachPrintQueue();
}

}  // namespace korva
