#pragma once
// Finding the web session of a request.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

#include "web/login_list.h"

namespace korva {

// A session unused this long loses its login.
constexpr std::time_t kSessionIdleSeconds = 21 * 60;

// Sessions kept at most. Past it, those not signed in go first, the longest
// idle first, so a flood of requests without a cookie can't exhaust memory
// nor push signed-in teachers out; one a request is using never goes.
constexpr std::size_t kMaxSessions = 10000;

// The session whose cookie number is session_number, or a new one (with a
// fresh unpredictable number) when the number is 0 or unknown. A session
// idle kSessionIdleSeconds or more, or seen from another client address
// than its last one, loses its login first. Stamps the last access. Takes
// LoginListLock.
LoginPtr FindOrCreateSession(std::uint64_t session_number, const std::string& client_address, std::time_t now);

// The same for a request that needs no session of its own (images, scripts,
// the results board's feeds): the existing session, or null; never makes
// one.
LoginPtr FindSession(std::uint64_t session_number, const std::string& client_address, std::time_t now);

// Gives the session a new cookie number, so a number known before it
// signed in is worth nothing after; false (and no number) for a session no
// longer listed. The caller holds LoginListLock.
bool RenumberSession(LoginNode& session);

// A copy of the session's fields, taken under LoginListLock.
LoginNode SnapshotSession(const LoginPtr& session);

// Clears the login of a session (role, account, grade, class, user name);
// the caller holds LoginListLock.
void ClearLogin(LoginNode& session);

// Sessions in LoginList (tests and the console).
std::size_t SessionCount();

}  // namespace korva
