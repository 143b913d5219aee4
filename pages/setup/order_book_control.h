#pragma once
// The order-book control page (route 52 "/BookControl.html", administrator):
// whether class teachers may still register and the switch that opens and
// closes it, whether the entries and the schedule are complete, the button
// that starts the order book with its progress bar, and the generated
// documents with their download links and counts. The page changes
// nothing; its switch (route 53 "/WebBaoMingClose.html?ID=", ID 1 open,
// 2 close) answers one digit: "4" drawn already, "5" no rounds, "1" opened
// while classes are short of their quotas, "2" opened with every quota
// filled, "3" closed, "6" a failed write or an unknown ID.
#include <string>

#include "web/login_list.h"
#include "web/route_table.h"

namespace korva {

// Writes header and framed page (the control template in the
// administration frame) into reply. The caller holds DataLock.
void ServeBookControlPage(const LoginNode& session, std::string& reply);

RouteTable OrderBookControlRoutes();

}  // namespace korva
