#pragma once
// Store functions of the staff accounts of the base file (qrtb7): the
// administrators, score-entry clerks and print administrators, who outlive
// every meet. Each takes DataLock itself.
#include <cstddef>
#include <string_view>

namespace korva {

// The shortest login name and password a staff account may have, in bytes.
inline constexpr std::size_t kMinStaffNameBytes = 4;
inline constexpr std::size_t kMinStaffPasswordBytes = 6;

// Adds a score-entry clerk (role 7) or print administrator (role 6); the two
// flags are stored as 0 or 1. 0 added; 1 refused (a name under
// kMinStaffNameBytes, a password under kMinStaffPasswordBytes, another role)
// or database error (data error 745843); 2 the name is taken.
int AddAccount(std::string_view name, std::string_view password, int role, int fixed_address,
               int meet_days_only);

// Deletes a clerk or print administrator; an administrator is never
// deleted here. 0 deleted; 1 no such account (or an administrator) or
// database error (data error 815133). Ending the account's web sessions is
// the caller's part.
int DeleteAccount(int account_id);

// Stores a new password for a staff account. 0 saved; 1 no such account or
// database error.
int SaveStaffPassword(int account_id, std::string_view password);

}  // namespace korva
