#include "pages/setup/register_pages.h"

#include "web/route_table.h"

void RegisterSetupPages() {}
