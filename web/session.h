#pragma once
// Finding the web session of a request.
#include <ctime>
#include <string>

#include "web/login_list.h"

namespace korva {

// A session unused this long loses its login.
constexpr std::time_t kSessionIdleSeconds = 21 * 60;

// The session whose cookie number is session_number, or a new one (with a
// fresh unpredictable number) when the number is 0 or unknown. A session
// idle kSessionIdleSeconds or more, or seen from another client address
// than its last one, loses its login first. Stamps the last access. Takes
// LoginListLock.
LoginPtr FindOrCreateSession(int session_number, const std::string& client_address, std::time_t now);

// A copy of the session's fields, taken under LoginListLock.
LoginNode SnapshotSession(const LoginPtr& session);

// Clears the login of a session (role, account, grade, class, user name);
// the caller holds LoginListLock.
void ClearLogin(LoginNode& session);

// Sessions in LoginList (tests and the console).
std::size_t SessionCount();

}  // namespace korva
