#pragma once
// Store functions of athletes and their entries. Each takes DataLock
// itself and runs as one transaction: a failure leaves the file as it was.
#include <string>

#include "database/model.h"

namespace korva {

// Writes an athlete and replaces its entries. Id 0 inserts under a new id,
// written into the node; another id updates name and qrtb416. The group of
// the athlete's grade and sex must exist (data error 42550; group id 0:
// 41550). The athlete id, 0 on failure (data errors 2551, 9551, 117).
// AthleteList is the caller's.
[[nodiscard]] int SaveAthlete(AthleteNode& athlete);

// Deletes the athlete with its auxiliary rows, lanes and entries from the
// file and from AthleteAuxList, LaneList and AthleteList. 0 / 1.
[[nodiscard]] int DeleteAthlete(int athlete_id);

// Deletes one entry of an athlete (athlete id and contest id); AthleteList
// is the caller's. 0 / 1 (data error 117).
[[nodiscard]] int DeleteAthleteEntry(int athlete_id, int contest_id);

// Writes the athlete's bib number. 0 / 1 (data error 177).
[[nodiscard]] int UpdateAthleteBib(const AthleteNode& athlete);

// Writes an athlete's name and bib number. 0 / 1 (data error 177).
[[nodiscard]] int UpdateAthleteNameBib(const std::string& name, int bib, int athlete_id);

// Deletes every auxiliary row, lane, athlete and entry with what the draw
// and the scores made of them: the order-book document row, and every
// round's entrants, print counters and completion stamp (back to 0). The
// lists are the caller's. 0 / 1.
[[nodiscard]] int DeleteAllAthletes();

// Deletes every auxiliary row and lane, clears every bib number and
// removes the order-book document row. The lists are the caller's. 0 / 1.
[[nodiscard]] int ClearAllResults();

// Clears every bib number. 0 / 1 (data error 1322).
[[nodiscard]] int ClearAllBibs();

}  // namespace korva
