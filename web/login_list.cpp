#include "web/login_list.h"

#include "database/model.h"
#include "web/session.h"

namespace korva {

std::recursive_mutex LoginListLock;

std::vector<LoginPtr>& LoginList() {
  static std::vector<LoginPtr> list;
  return list;
}

std::unordered_map<std::uint64_t, LoginPtr>& SessionIndex() {
  static std::unordered_map<std::uint64_t, LoginPtr> index;
  return index;
}

void FreeLoginList() {
  LoginGuard hold(LoginListLock);
  for (LoginPtr& session : LoginList()) {
    ClearLogin(*session);
    session->OwnerKey = 0;
  }
  LoginList().clear();
  SessionIndex().clear();
}

int EndStaffSessions(int account_id) {
  LoginGuard hold(LoginListLock);
  int ended = 0;
  for (LoginPtr& session : LoginList()) {
    if (session->Role < kRolePrintAdmin || session->AccountId != account_id) continue;
    ClearLogin(*session);
    session->OwnerKey = 0;
    session->FailedLogins = 0;
    session->Reason = 0;
    ++ended;
  }
  return ended;
}

}  // namespace korva
