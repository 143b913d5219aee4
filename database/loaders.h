#pragma once
// Loaders rebuild one list of the model whole from the open meet file (the
// records from the base file). The caller holds DataLock. Each returns 0,
// or non-zero after a database error (the list is then left empty).
#include <vector>

#include "database/model.h"
#include "database/sqlite_db.h"

namespace korva {

int LoadClasses();
int LoadEvents();
int LoadVenues();
int LoadScoringSchemes();
int LoadGroups();
int LoadGroupEvents();  // one node per GroupNode: LoadGroups runs first
int LoadContests();
int LoadRounds();
int LoadAthletes();     // numbers the bib texts after BibWidth
int LoadLanes();        // with AthleteAuxList; reads class ids from AthleteList
int LoadDocuments();
int LoadRecords();

// Rebuilds every list of model from the meet file open on meet and the
// records from base, in the order the lists depend on each other (the
// settings, BibWidth included, are read first). 0, or non-zero after a
// database error. OpenCurrentMeet fills a fresh model this way.
int LoadMeetLists(Connection& meet, Connection& base, MeetModel& model);

// The grades of the meet file in id order.
std::vector<GradeOption> LoadGradeOptions();

// Empties every list of the model (meet switch, program exit).
void FreeAllLists();
void FreeAthleteList();

// The bib text of a bib number after BibWidth: "%03d" for width 3, else
// "%04d"; empty for 0.
std::string FormatBibText(int bib, int bib_width);

}  // namespace korva
