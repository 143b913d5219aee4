#pragma once
// Loaders rebuild one list of the model whole from the open meet file (the
// records from the base file). The caller holds DataLock. Each returns 0,
// or non-zero after a database error (the list is then left empty).
#include <vector>

#include "database/model.h"

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

// The grades of the meet file in id order.
std::vector<GradeOption> LoadGradeOptions();

// Empties every list of the model (meet switch, program exit).
void FreeAllLists();
void FreeAthleteList();

// The bib text of a bib number after BibWidth: "%03d" for width 3, else
// "%04d"; empty for 0.
std::string FormatBibText(int bib, int bib_width);
