#pragma once
// "/WebBaoMingClose.html?ID=": opening (ID 1) and closing (ID 2)
// registration, answered with one digit.
#include "web/route_table.h"

namespace korva {

RouteTable RegistrationSwitchRoutes();

}  // namespace korva
