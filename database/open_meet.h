#pragma once
// Opening the current meet.
#include <ctime>
#include <string>
#include <string_view>

namespace korva {

// The meet's first day from its "Y-M-D" date text, at local midnight; 0 when
// the text is not such a date.
std::time_t ParseStartDate(const std::string& text);

// Opens a meet and rebuilds every list: meet id 0 opens the registry row
// marked current; another id first marks that meet current. Takes DataLock.
// 0 done; non-zero when the meet can't be opened (1 no such or no current
// meet, 2 missing or unreadable file, 3 the registry could not be written),
// in which case the previously open meet stays open and the registry is
// unchanged.
[[nodiscard]] int OpenCurrentMeet(int meet_id);

// Shows the open meet's name where the host shows it (its console), or
// that no meet is open. OpenCurrentMeet and SaveMeetInfo call it after each
// change; any other code that changes the open meet or its name calls it
// too. The caller may hold DataLock.
void ShowMeetName();

// How the host shows the name; meet_open is false while no meet is open.
// Nothing is shown until the host sets it.
using MeetNameHook = void (*)(std::string_view gbk_meet_name, bool meet_open);
void SetMeetNameHook(MeetNameHook hook);

// Called at the end of every successful OpenCurrentMeet; the print queue
// sets it to rebuild itself from the counted rounds.
using MeetOpenedHook = void (*)();
void SetPrintQueueRebuildHook(MeetOpenedHook hook);

}  // namespace korva
