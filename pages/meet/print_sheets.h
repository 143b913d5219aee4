#pragma once
// The print-document frame and the two pages that fill it: one sheet of one
// round ("/ViewTable.html") and the check-in sheets of a half-day session
// ("/printzx.html"). The frame is loaded into the hidden frame "QvPtFmOne"
// of the calling page, whose printhtml (inscore.js) prints it.
#include <string>
#include <string_view>

#include "web/login_list.h"
#include "web/route_table.h"

namespace korva {

// The print frame (template 166) around sheets: the print style sheet is
// the session's account's ("view.css?U=" + user name, and a version of the
// account's layout so that no browser prints with an old one). Sheets are
// program markup, placed as given.
std::string BuildPrintFrame(const LoginNode& session, std::string_view sheets);

// Routes 63 "/ViewTable.html?str=T-round-0-flag" and 68
// "/printzx.html?str=1-session-kind".
RouteTable PrintSheetRoutes();

}  // namespace korva
