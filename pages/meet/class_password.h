#pragma once
// The class teacher's password change ("/ChangTeacPW.html").
#include <string_view>

#include "web/route_table.h"

namespace korva {

// The shortest class password the page accepts, in bytes.
inline constexpr std::size_t kMinClassPasswordBytes = 4;

RouteTable ClassPasswordRoutes();

}  // namespace korva
