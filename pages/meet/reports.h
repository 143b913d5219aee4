#pragma once
// The four reports of the reports menu, each an HTML fragment meant to be
// selected in the browser and pasted into a spreadsheet. They read the
// model and change nothing; the caller holds DataLock.
#include <cstddef>
#include <span>
#include <string>

#include "database/model.h"

namespace korva {

// 总分表: every class (ClassList order) with the lines of its scoring
// results and its total points.
std::string BuildTotalPointsTable();

// 成绩汇总表: the placed entries of every round that is not a preliminary,
// track events and then field events, one table per round. Empty when an
// athlete or a class of a placed entry is missing.
std::string BuildResultTables();

// 最高记录成绩表: the school record of every event, grade and sex; the records
// set at this meet in blue.
std::string BuildRecordsTable();

// 学生成绩表: one line per placed athlete result, for the pupils' records. A
// qualifier of a preliminary (place 999) is no placing and is left out. A
// sentence instead while a competed lane has no result yet.
std::string BuildStudentScoreList();

// True when lanes[i] is a later member of a class team: the lane before it
// has the same round, heat and lane. Counting and listing take the first
// member only.
bool RepeatsLaneUnit(std::span<const LaneNode> lanes, std::size_t i);

}  // namespace korva
