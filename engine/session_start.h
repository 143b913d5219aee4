#pragma once
// When a half-day session of the meet starts: the schedule page and the
// order book print the same start times.
#include <ctime>

namespace korva {

// The time of day of a start slot on the fixed date 1 January 2000, local
// time: slot 1 is 6:00 and each slot adds half an hour (slot 11 is 11:00);
// a slot below 1 counts as 1. The meet stores slots 1 to 20 only.
std::time_t StartSlotToTime(int slot);

// The start of half-day session n (odd mornings, even afternoons): the
// morning slot, for session 1 after the opening ceremony's half hours; the
// afternoon slot for even n. The caller holds DataLock.
std::time_t SessionStartTime(int session);

}  // namespace korva
