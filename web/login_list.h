#pragma once
// Web sessions, one per browser cookie. LoginListLock guards the list; it is
// taken only after DataLock, never before. A session is held by shared
// ownership, so a request that still uses a session dropped from the list
// finishes safely.
#include <cstdint>
#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace korva {

struct LoginNode {
  int OwnerKey = 0;       // creation number; after a login the account id
  int AccountId = 0;      // qrtb8
  int Role = 0;           // UserRole
  std::uint64_t SessionId = 0;  // the cookie number, drawn from the system's random source
  int GradeId = 0;        // class teacher's grade (qrtb15)
  int ClassId = 0;        // class teacher's class (qrtb16)
  int FailedLogins = 0;
  int Reason = 0;         // last login outcome: 0 ok, 1, 11, 12, 13, 14, 61
  std::string ClientAddress;
  std::string UserName;   // teacher's name for a class teacher, login name for staff
  std::time_t LastAccess = 0;
  std::time_t FirstFailure = 0;  // time of the first of the current run of failed logins
};

using LoginPtr = std::shared_ptr<LoginNode>;

extern std::recursive_mutex LoginListLock;
using LoginGuard = std::lock_guard<std::recursive_mutex>;

// The sessions; read and changed only under LoginListLock.
std::vector<LoginPtr>& LoginList();

// The same sessions by cookie number, kept in step with LoginList.
std::unordered_map<std::uint64_t, LoginPtr>& SessionIndex();

// Drops every session (meet switch, backup, import): each is logged out
// and leaves the list for good, so every browser starts a new session at its
// next request, while a request still holding one finishes safely. Takes
// LoginListLock (after DataLock when the caller holds that).
void FreeLoginList();

// Logs out every staff session (role 6 and above) signed in to the account
// with that id, and no other: a deleted account stops working at once.
// The number of sessions logged out. Takes LoginListLock.
int EndStaffSessions(int account_id);

}  // namespace korva
