#pragma once
// Loaders rebuild one list of the model whole from the open meet file (the
// records from the base file). The caller holds DataLock. Each returns 0,
// or non-zero after a database error: the list is then left empty and a
// line on the console says so; the caller answers as for a data error.
#include <vector>

#include "database/model.h"
#include "database/sqlite_db.h"

namespace korva {

[[nodiscard]] int LoadClasses();
[[nodiscard]] int LoadEvents();
[[nodiscard]] int LoadVenues();
[[nodiscard]] int LoadScoringSchemes();
[[nodiscard]] int LoadGroups();
[[nodiscard]] int LoadGroupEvents();  // one node per GroupNode: LoadGroups runs first
[[nodiscard]] int LoadContests();
[[nodiscard]] int LoadRounds();
[[nodiscard]] int LoadAthletes();     // numbers the bib texts after BibWidth
[[nodiscard]] int LoadLanes();        // with AthleteAuxList; reads class ids from AthleteList
[[nodiscard]] int LoadDocuments();
[[nodiscard]] int LoadRecords();

// Rebuilds every list of model from the meet file open on meet and the
// records from base, in the order the lists depend on each other (the
// settings, BibWidth included, are read first). 0, or non-zero after a
// database error. OpenCurrentMeet fills a fresh model this way.
[[nodiscard]] int LoadMeetLists(Connection& meet, Connection& base, MeetModel& model);

// RoundList and LaneList again from the file, after a unit of work that
// changed them was rolled back; the caller answers that failure.
void ReloadRoundsAndLanes();

// The grades of the meet file in id order.
std::vector<GradeOption> LoadGradeOptions();

// Empties every list of the model (meet switch, program exit).
void FreeAllLists();
void FreeAthleteList();

// The bib text of a bib number after BibWidth: "%03d" for width 3, else
// "%04d"; empty for 0.
std::string FormatBibText(int bib, int bib_width);

}  // namespace korva
