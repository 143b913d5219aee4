#include "web/session.h"

#include <sys/random.h>

#include <algorithm>
#include <cstdint>
#include <unordered_set>

namespace korva {

namespace {

int creation_counter = 0;

// Drops the sessions for which drop is true, from the list and the index.
template <typename Predicate>
void DropSessions(Predicate drop) {
  auto& list = LoginList();
  auto& index = SessionIndex();
  std::size_t kept = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (drop(*list[i])) {
      index.erase(list[i]->SessionId);
    } else {
      list[kept++] = list[i];
    }
  }
  list.resize(kept);
}

// Sessions idle for longer than the idle rule have lost their login and
// are dropped now and then, so a client that never sends the cookie back
// cannot grow the list without bound. A browser that returns later simply
// gets a new session.
void DropStaleSessions(std::time_t now) {
  DropSessions([now](const LoginNode& s) { return now - s.LastAccess > kSessionIdleSeconds; });
}

// A session that a request holds (beyond the list's and the index's own
// references) is in use: the request may be signing it in.
bool IsInUse(const LoginPtr& session) { return session.use_count() > 2; }

// At the bound, an eighth of the sessions goes: those not signed in first,
// then the signed-in ones, the longest idle first within each; never one in
// use, so a sign-in under a flood of new sessions answers with a live one.
void MakeRoomForASession(std::time_t now) {
  DropStaleSessions(now);
  auto& list = LoginList();
  if (list.size() < kMaxSessions) return;
  std::vector<LoginNode*> order;
  order.reserve(list.size());
  for (LoginPtr& s : list) {
    if (!IsInUse(s)) order.push_back(s.get());
  }
  auto drop_first = [](const LoginNode* a, const LoginNode* b) {
    bool a_in = a->Role != 0, b_in = b->Role != 0;
    return a_in != b_in ? !a_in : a->LastAccess < b->LastAccess;
  };
  std::size_t count = std::min(order.size(), std::max<std::size_t>(1, kMaxSessions / 8));
  std::nth_element(order.begin(), order.begin() + count, order.end(), drop_first);
  std::unordered_set<const LoginNode*> doomed(order.begin(), order.begin() + count);
  DropSessions([&](const LoginNode& s) { return doomed.count(&s) > 0; });
}

// A number no other session has, from the system's random source: 64 bits,
// so numbers seen tell nothing of the next.
std::uint64_t NewSessionNumber() {
  for (;;) {
    std::uint64_t number = 0;
    if (getrandom(&number, sizeof number, 0) != static_cast<ssize_t>(sizeof number)) continue;
    if (number != 0 && !SessionIndex().count(number)) return number;
  }
}

}  // namespace

void ClearLogin(LoginNode& session) {
  session.Role = 0;
  session.AccountId = 0;
  session.GradeId = 0;
  session.ClassId = 0;
  session.UserName.clear();
}

LoginPtr FindSession(std::uint64_t session_number, const std::string& client_address, std::time_t now) {
  if (session_number == 0) return nullptr;
  std::string address = client_address.substr(0, 49);
  LoginGuard hold(LoginListLock);
  auto found = SessionIndex().find(session_number);
  if (found == SessionIndex().end()) return nullptr;
  LoginNode& session = *found->second;
  if (now - session.LastAccess >= kSessionIdleSeconds || session.ClientAddress != address) {
    ClearLogin(session);
  }
  session.ClientAddress = address;
  session.LastAccess = now;
  return found->second;
}

LoginPtr FindOrCreateSession(std::uint64_t session_number, const std::string& client_address, std::time_t now) {
  std::string address = client_address.substr(0, 49);
  LoginGuard hold(LoginListLock);
  if (LoginPtr found = FindSession(session_number, address, now)) return found;
  if (++creation_counter % 1024 == 0) DropStaleSessions(now);
  if (LoginList().size() >= kMaxSessions) MakeRoomForASession(now);
  auto& index = SessionIndex();
  auto session = std::make_shared<LoginNode>();
  session->OwnerKey = creation_counter;
  session->SessionId = NewSessionNumber();
  session->ClientAddress = address;
  session->LastAccess = now;
  LoginList().push_back(session);
  index.emplace(session->SessionId, session);
  return session;
}

bool RenumberSession(LoginNode& session) {
  auto& index = SessionIndex();
  auto found = index.find(session.SessionId);
  if (found == index.end() || found->second.get() != &session) return false;
  LoginPtr held = found->second;
  index.erase(found);
  session.SessionId = NewSessionNumber();
  index.emplace(session.SessionId, held);
  return true;
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
