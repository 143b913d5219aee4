#pragma once
// The dispatcher: from one assembled request to its whole reply.
#include <string>

#include "web/http_request.h"

namespace korva {

// Finds or creates the request's web session, refuses staff roles above 6
// from outside the local network, routes the request and runs its handler
// (under DataLock unless the route says otherwise), and appends the whole
// reply, header included, to reply. The reply is never left empty.
void HandleHttpRequest(const HttpRequest& request, std::string& reply);

}  // namespace korva
