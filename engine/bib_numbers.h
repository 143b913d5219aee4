#pragma once
// Bib numbers: every athlete without one gets the next free number of its
// class and sex, counted from the class's own starting number when it has
// one.
#include <cstddef>
#include <vector>

namespace korva {

// Numbers the athletes in AthleteList, class by class in ClassList order,
// boys then girls: a block starts at the class's starting number for that
// sex when set, else where the previous block ended, skips numbers already
// held, and moves the counter on by the group's athletes per class (or by
// the block, when larger). A grade and sex without a group numbers nobody.
// Bib texts follow BibWidth, as the loader writes them.
// The indexes in AthleteList of the athletes numbered. The caller holds
// DataLock.
std::vector<std::size_t> NumberAthletesInModel();

// NumberAthletesInModel, with every new number written to the file. The
// caller holds DataLock alone. 0 done; 1 database error: nothing written, AthleteList
// reloaded.
int AssignBibNumbers();

}  // namespace korva
