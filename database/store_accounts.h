#pragma once
// Accounts as signing in reads them: staff accounts of the base file and
// class-teacher accounts of the open meet (both table qrtb7).
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
bool FindStaffAccount(std::string_view name, std::string_view password, AccountRecord& out);

// The class-teacher account of the open meet for that class id and
// password. False when none matches, no meet is open, or on a database
// error. The caller holds DataLock.
bool FindClassTeacherAccount(int class_id, std::string_view password, AccountRecord& out);

// Records the client address (cut to 49 bytes) of a staff sign-in. 0 saved,
// 1 on a database error. Takes DataLock.
int SaveStaffLastAddress(int account_id, std::string_view address);

}  // namespace korva
