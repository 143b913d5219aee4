#pragma once
// The class teacher's password: the form ("/ChangPass.html") and the change
// itself ("/ChangTeacPW.html").
#include <string>
#include <string_view>

#include "web/login_list.h"
#include "web/route_table.h"

namespace korva {

// The shortest class password the page accepts, in bytes.
inline constexpr std::size_t kMinClassPasswordBytes = 4;

// The password form in the class frame; header and page appended to reply.
// The caller holds DataLock.
void ServeClassPasswordPage(std::string& reply, const LoginNode& session);

RouteTable ClassPasswordRoutes();

}  // namespace korva
