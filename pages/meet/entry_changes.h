#pragma once
// Single entries changed by the administrator once the order book exists:
// an athlete joins one more event and is placed into its first round
// without moving anyone (the contest is drawn again only when no place is
// left and it holds no result), or leaves an event in which no result of
// his is entered. Each is one transaction: on any failure the files and
// the lists stay as they were. The outcome is a sentence (HTML text) for
// the administrator.
#include <string>

#include "database/model.h"

namespace korva {

// Enters the athlete into the event and places him, numbering him first
// when he has no bib number yet. The caller holds DataLock alone. Always 0.
int AddAthleteToEvent(int athlete_id, int event_id, std::string& message);

// Takes the athlete out of the event: his lanes of the event (which hold no
// result) and his entry go; every other lane stays where it is. The caller
// holds DataLock alone. Always 0.
int WithdrawAthleteFromEvent(int event_id, int athlete_id, std::string& message);

// A heat and lane (or start order) of a drawn round that no athlete holds:
// the first gap inside a heat; else the first heat with room at its end
// (after its last lane within the venue's lanes, or the heat's capacity for
// events run without lanes; else before its first lane). 0 with the
// position; 1 when there is none (or the round's event or venue is
// missing). The caller holds DataLock.
int FindFreeHeatPosition(const RoundNode& round, int& lane, int& heat);

}  // namespace korva
