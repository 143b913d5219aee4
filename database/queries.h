#pragma once
// Reads of the files that pages need beyond the in-memory lists: the base
// file's catalogue for the first meet, the meet registry, the staff
// accounts. The caller holds DataLock. A read
// returns false when its query failed (the statement logs it).
#include <string>
#include <vector>

namespace korva {

struct IdName {
  int Id = 0;
  std::string Name;
};

// The meet file's grades (qrtb219), by id.
[[nodiscard]] bool ReadMeetGrades(std::vector<IdName>& grades);

// The base file's scoring schemes (qrtb80) and grades (qrtb26), by id.
[[nodiscard]] bool ReadBaseSchemes(std::vector<IdName>& schemes);
[[nodiscard]] bool ReadBaseGrades(std::vector<IdName>& grades);

// The kinds (qrtb309) of the base file's default events (qrtb55).
[[nodiscard]] bool ReadBaseEventKinds(std::vector<int>& kinds);

// The registered meets (qrtb137), newest id first; `except` leaves one out
// (0: none).
[[nodiscard]] bool ReadMeetRegistry(std::vector<IdName>& meets, int except = 0);

// One row of the meet registry (qrtb137).
struct MeetRegistryRow {
  int Id = 0;            // qrtb138
  int Current = 0;       // qrtb139: 1 on the current meet
  std::string FileName;  // qrtb140, in the data folder
  std::string Name;      // qrtb141
  std::string DateText;  // qrtb142, "Y-M-D"
};

// Every registered meet: the current one first, then by start date, the
// latest first (as dates, so "2024-10-1" comes before "2024-9-1"), then by
// id, the newest first.
[[nodiscard]] bool ReadMeetList(std::vector<MeetRegistryRow>& meets);

// One account of the base file (qrtb7).
struct StaffAccount {
  int Id = 0;               // qrtb8; 1 is the built-in administrator
  std::string Name;         // qrtb9
  std::string Password;     // qrtb10, kept in plain text
  int Role = 0;             // qrtb14: 6, 7 or 8
  int FixedAddress = 0;     // qrtb20: a clerk signs in from its last address only
  int MeetDaysOnly = 0;     // qrtb21: a clerk signs in on the meet's days only
  std::string LastAddress;  // qrtb25, empty until the first sign-in
};

// Every account of the base file, administrators first, then by id.
[[nodiscard]] bool ReadStaffAccounts(std::vector<StaffAccount>& accounts);

}  // namespace korva
