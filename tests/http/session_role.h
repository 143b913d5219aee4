#pragma once
// What the server's session list holds for a cookie number.
#include "web/login_list.h"

namespace korva {

// The role of the session with that cookie number; -1 when it is gone.
inline int RoleOf(int session_number) {
  LoginGuard hold(LoginListLock);
  for (const LoginPtr& s : LoginList())
    if (s->SessionId == session_number) return s->Role;
  return -1;
}

}  // namespace korva
