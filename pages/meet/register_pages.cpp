#include "pages/meet/register_pages.h"

#include "web/route_table.h"

void RegisterMeetPages() {}
