#pragma once
// The print centre of print administrators and the administrator: five tab
// pages (check-in sheets by half-day session, result sheets and
// certificates of counted rounds, the single-item search, the certificate
// layout) and the paging feed of the two long lists. The caller holds
// DataLock.
#include <string>

#include "web/login_list.h"
#include "web/route_table.h"

namespace korva {

// The print centre's tab pages by page code: 64 check-in sheets, 65 result
// sheets, 66 certificates, 67 search, 89 certificate layout. The
// administrator's frame for the administrator, else the print
// administrator's. Appended to reply with its header.
void ServePrintCenterPage(const LoginNode& session, std::string& reply, int page_code, int browser_kind);

// Routes 17 (a print administrator's "/Admin.html"), 64 to 67 and 89
// ("/Print1.html" to "/Print5.html") and 69 ("/GetGsbStr.html").
RouteTable PrintCentreRoutes();

}  // namespace korva
