#include "web/login_list.h"

#include <random>
#include <unordered_map>

#include "database/model.h"
#include "web/session.h"

namespace korva {

std::recursive_mutex LoginListLock;

namespace {

// The index by cookie number of the sessions in LoginList; kept in step
// with the list under LoginListLock.
std::unordered_map<int, LoginPtr>& SessionIndex() {
  static std::unordered_map<int, LoginPtr> index;
  return index;
}

int creation_counter = 0;

// Sessions idle for longer than the idle rule have lost their login and
// are dropped now and then, so a client that never sends the cookie back
// cannot grow the list without bound. A browser that returns later simply
// gets a new session.
void DropStaleSessions(std::time_t now) {
  auto& list = LoginList();
  auto& index = SessionIndex();
  std::size_t kept = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (now - list[i]->LastAccess > kSessionIdleSeconds) {
      index.erase(list[i]->SessionId);
    } else {
      list[kept++] = list[i];
    }
  }
  list.resize(kept);
}

int NewSessionNumber() {
  static std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<int> draw(100000, 2147483000);
  for (;;) {
    int number = draw(generator);
    if (!SessionIndex().count(number)) return number;
  }
}

}  // namespace

std::vector<LoginPtr>& LoginList() {
  static std::vector<LoginPtr> list;
  return list;
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

void ClearLogin(LoginNode& session) {
  session.Role = 0;
  session.AccountId = 0;
  session.GradeId = 0;
  session.ClassId = 0;
  session.UserName.clear();
}

LoginPtr FindOrCreateSession(int session_number, const std::string& client_address, std::time_t now) {
  std::string address = client_address.substr(0, 49);
  LoginGuard hold(LoginListLock);
  auto& index = SessionIndex();
  if (session_number != 0) {
    auto found = index.find(session_number);
    if (found != index.end()) {
      LoginNode& session = *found->second;
      if (now - session.LastAccess >= kSessionIdleSeconds || session.ClientAddress != address) {
        ClearLogin(session);
      }
      session.ClientAddress = address;
      session.LastAccess = now;
      return found->second;
    }
  }
  if (++creation_counter % 1024 == 0) DropStaleSessions(now);
  auto session = std::make_shared<LoginNode>();
  session->OwnerKey = creation_counter;
  session->SessionId = NewSessionNumber();
  session->ClientAddress = address;
  session->LastAccess = now;
  LoginList().push_back(session);
  index.emplace(session->SessionId, session);
  return session;
}

LoginNode SnapshotSession(const LoginPtr& session) {
  LoginGuard hold(LoginListLock);
  return *session;
}

std::size_t SessionCount() {
  LoginGuard hold(LoginListLock);
  return LoginList().size();
}

}  // namespace korva
