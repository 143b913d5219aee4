#pragma once
// Reads of the files that pages need beyond the in-memory lists: the base
// file's catalogue for the first meet, the meet registry, and the set-up
// stage's direct look at the meet file. The caller holds DataLock. A read
// returns false when its query failed (the statement logs it).
#include <string>
#include <vector>

namespace korva {

struct IdName {
  int Id = 0;
  std::string Name;
};

// The meet file's grades (qrtb219), by id.
bool ReadMeetGrades(std::vector<IdName>& grades);

// The base file's scoring schemes (qrtb80) and grades (qrtb26), by id.
bool ReadBaseSchemes(std::vector<IdName>& schemes);
bool ReadBaseGrades(std::vector<IdName>& grades);

// The kinds (qrtb309) of the base file's default events (qrtb55).
bool ReadBaseEventKinds(std::vector<int>& kinds);

// The registered meets (qrtb137), newest id first; `except` leaves one out
// (0: none).
bool ReadMeetRegistry(std::vector<IdName>& meets, int except = 0);

// Whether the meet file holds a competition group (qrtb373), and a group's
// chosen events (qrtb467). A failed query reads as none.
bool MeetFileHasGroups();
bool MeetFileGroupHasEvents(int group_id);

}  // namespace korva
