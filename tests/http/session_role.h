#pragma once
// What the server's session list holds for a cookie number.
#include "tests/http/http_client.h"
#include "web/login_list.h"

namespace korva {

// The role of the session with that cookie; -1 when it is gone.
inline int RoleOf(SessionCookie cookie) {
  LoginGuard hold(LoginListLock);
  for (const LoginPtr& s : LoginList())
    if (s->SessionId == cookie.number) return s->Role;
  return -1;
}

}  // namespace korva
