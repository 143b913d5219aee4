#pragma once
// Signing in: the account check, the two login pages and the login posts.
#include <string>
#include <string_view>

#include "web/login_list.h"

namespace korva {

// Login page messages (the number given to ServeClassLoginPage and
// ServeStaffLoginPage).
enum LoginMessage {
  kLoginNoMessage = 0,
  kLoginWrongPassword = 1,   // wrong name or password
  kLoginLockedOut = 2,       // three failures within five minutes (also a login Reason)
  kLoginMeetNotReady = 3,    // "当前运动会未设置完成，无法登陆，请管理员设置运动会！"
  kLoginAddressRefused = 11,
  kLoginAccountError = 12,
  kLoginOutsideMeetPeriod = 13,
  kLoginNotSaved = 14,
  kLoginElsewhere = 61,      // logged out by a login of the same account elsewhere
};

// Checks name and password (staff: login name; class teacher: the class id
// chosen on the class login page) against the accounts. Non-zero when the
// account exists with that password and may log in now; the session then
// holds the account (with a new cookie number when it was not signed in to
// it already), and every other session of the same account is logged out
// (reason kLoginElsewhere). 0 otherwise: the session is logged out and its Reason and
// failure count tell why. Reason kLoginLockedOut, without the password
// being looked at, when the client address had three failed logins within
// five minutes (whatever cookie came with them), or while guesses at the
// account from many addresses have used up its checks (they come back one
// every half minute; an address that signed in to it before is never kept
// waiting). Takes DataLock itself, then LoginListLock.
int CheckLogin(LoginNode& session, std::string_view name, std::string_view password, bool staff);

// True when a name or password holds a character that signing in refuses
// outright: " CR LF ' = & * @ + ( ), and '-' for staff. An account stored
// with one could never sign in.
bool IsRefusedLoginText(std::string_view text, bool staff);

// 1 while the session may not try again: three failed logins within five
// minutes of the first of them, by this session or from its client address.
int IsLoginLockedOut(const LoginNode& session);

// Ends the session's login and gives it a new cookie number ("退出登陆").
// Takes LoginListLock.
void SignOut(LoginNode& session);

// Forgets every failed login of every account and address, as if five
// minutes had passed (tests).
void ClearLoginFailures();

// The class-teacher login page (template 135) with the classes of the open
// meet and one message; appended to reply. Takes DataLock.
void ServeClassLoginPage(LoginNode& session, int message, std::string& reply);

// The staff login page (template 130) with one message; appended to reply.
void ServeStaffLoginPage(LoginNode& session, int message, std::string& reply);

}  // namespace korva
