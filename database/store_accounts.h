#pragma once
// The accounts (table qrtb7): staff accounts of the base file, who outlive
// every meet (administrators, score-entry clerks, print administrators),
// and class-teacher accounts of the open meet; as signing in reads them, and
// the staff accounts' store functions.
#include <cstddef>
#include <string>
#include <string_view>

namespace korva {

// One account row, with what signing in needs of it.
struct AccountRecord {
  int Id = 0;               // qrtb8
  int Role = 0;             // qrtb14
  int GradeId = 0;          // qrtb15, class teachers
  int ClassId = 0;          // qrtb16, class teachers
  int FixedAddress = 0;     // qrtb20: a clerk signs in from its last address only
  int MeetDaysOnly = 0;     // qrtb21: a clerk signs in on the meet's days only
  std::string LastAddress;  // qrtb25
  std::string UserName;     // login name qrtb9 (staff), teacher's name qrtb12 (class)
};

// The staff account (role above 1) with that login name and password. False
// when none matches or on a database error. The caller holds DataLock.
[[nodiscard]] bool FindStaffAccount(std::string_view name, std::string_view password, AccountRecord& out);

// The class-teacher account of the open meet for that class id and
// password. False when none matches, no meet is open, or on a database
// error. The caller holds DataLock.
[[nodiscard]] bool FindClassTeacherAccount(int class_id, std::string_view password, AccountRecord& out);

// Records the client address (cut to 49 bytes) of a staff sign-in. 0 saved,
// 1 on a database error. Takes DataLock.
[[nodiscard]] int SaveStaffLastAddress(int account_id, std::string_view address);

// The shortest login name and password a staff account may have, in bytes.
inline constexpr std::size_t kMinStaffNameBytes = 4;
inline constexpr std::size_t kMinStaffPasswordBytes = 6;

// Adds a score-entry clerk (role 7) or print administrator (role 6); the two
// flags are stored as 0 or 1. 0 added; 1 refused (a name under
// kMinStaffNameBytes, a password under kMinStaffPasswordBytes, another role)
// or database error (data error 745843); 2 the name is taken.
[[nodiscard]] int AddAccount(std::string_view name, std::string_view password, int role, int fixed_address,
               int meet_days_only);

// Deletes a clerk or print administrator; an administrator is never
// deleted here. 0 deleted; 1 no such account (or an administrator) or
// database error (data error 815133). Ending the account's web sessions is
// the caller's part.
[[nodiscard]] int DeleteAccount(int account_id);

// Stores a new password for a staff account. 0 saved; 1 no such account or
// database error.
[[nodiscard]] int SaveStaffPassword(int account_id, std::string_view password);

}  // namespace korva
