#pragma once
// Store functions of the meet itself: creating a meet, its settings row and
// the registration switch. Every function here takes DataLock itself.
#include <array>
#include <string>
#include <vector>

namespace korva {

// One posted grade row of the create-meet and competition-groups forms.
struct GradeGroupSettings {
  int InUse = 1;
  int GradeId = 0;
  std::string GradeName;    // filled by the groups page only
  int Boys = 0;             // non-zero: the boys' group is chosen
  int Girls = 0;            // non-zero: the girls' group is chosen
  int AthletesPerClass = 0; // qrtb377
  int EntrantsPerEvent = 0; // qrtb378
  int EventsPerAthlete = 0; // qrtb379
  int CombinedLimit = 0;    // qrtb380
  int PlacesRanked = 0;     // qrtb381
  int SchemeId = 0;         // qrtb382
};

// The six record bonuses in form order: equalled, broken, then four unused
// values; stored in qrtb383, qrtb386, qrtb384, qrtb387, qrtb385, qrtb388.
using RecordBonuses = std::array<int, 6>;

// Registers a new meet whose blank meet file already exists at
// meet_file_path, fills that file (settings row, the base file's default
// catalogue with one class-teacher account per class, the chosen grades'
// groups) and marks it current. 0 done; 11 name already used; 12 the file
// can't be opened; 13 the file can't be filled. Every failure leaves the
// registry as it was and deletes the file. The open meet, its connection
// and the lists are never touched: the caller opens the new meet with
// OpenCurrentMeet(0).
[[nodiscard]] int CreateMeet(const std::string& meet_file_path, const std::string& name,
               const std::string& date_text, int session_count, int morning_start,
               int afternoon_start, int opening_length, const RecordBonuses& bonuses,
               int admit_one_less, int bib_width, const std::vector<GradeGroupSettings>& rows);

// What a withdrawn creation puts back: the largest meet id of the registry
// and the meets marked current.
struct RegistrySnapshot {
  int LastMeetId = 0;
  std::vector<int> CurrentMeetIds;
};

// Reads the registry as it stands. 0 read; 1 database error.
[[nodiscard]] int ReadRegistry(RegistrySnapshot* snapshot);

// Takes back a meet that CreateMeet registered but that could not be
// opened: the rows registered after the snapshot go, the current marks are
// the snapshot's again, and the meet file is deleted. 0 done; 1 database
// error (logged; the registry stays as it is).
[[nodiscard]] int WithdrawCreatedMeet(const std::string& meet_file_path, const RegistrySnapshot& before);

// Writes name and start date into the open meet's registry row and its
// settings row, then refreshes the meet globals (name, sessions, start
// slots, opening length, admit-one-less, start time). 0 saved; 1 another
// meet has the name; 3 database error; after 1 and 3 nothing changes.
[[nodiscard]] int SaveMeetInfo(const std::string& name, const std::string& date_text, int session_count,
                 int morning_start, int afternoon_start, int opening_length,
                 int admit_one_less);

// The stored settings of a meet as the meet-information form shows them.
struct StoredMeetSettings {
  int Year = 0;
  int Month = 0;
  int Day = 0;
  int SessionCount = 0;
  int MorningStart = 0;
  int AfternoonStart = 0;
  int OpeningLength = 0;
};

// Reads the settings row of the open meet file whose id is meet_id into
// settings. 0 read; 1 no such row or database error.
[[nodiscard]] int LoadMeetSettings(int meet_id, StoredMeetSettings* settings);

// 1 opens registration (qrtb341 = 0), 2 closes it (1), and sets
// RegistrationClosed the same. Any other mode: 0, nothing changes.
// 0 done; 1 database error (data error 174).
[[nodiscard]] int SetRegistrationClosed(int mode);

// Takes a meet that is neither open nor marked current off the registry.
// Its file and order books stay in the data folder: they are the school's
// data. 0 done; 1 no such meet, or the open or current one; 2 database
// error (data error 45133; nothing changes).
[[nodiscard]] int DeleteMeet(int meet_id);

}  // namespace korva
