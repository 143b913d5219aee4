#pragma once
// The text of the order book, a Word 2003 XML document in UTF-8: the head,
// the roster of every class, the timetable of every half-day session, the
// group part with each round's heat tables, and the tail. The order-book
// worker calls the writers in that order on one growing document while it
// holds DataLock; they read the model and change nothing. A missing record
// is logged with its data-error code and leaves its part out.
#include <string>

namespace korva {

// Starts the document: the XML declaration and the head template.
void WriteOrderBookHead(std::string& document);

// Appends the roster "运 动 员 名 单": per class that has a group, a heading
// with the class and its leader, then for each of its groups the line
// "男子组" or "女子组" and the athletes (bib glued to name, two blanks
// apart), six to a line. 0.
int WriteAthleteRoster(std::string& document);

// Appends the timetable "竞 赛 日 程 表" and then the group part "竞 赛 分 组 表":
// per half-day session with rounds its dated heading, the numbered track
// lines and the numbered field lines with their start times, in the group
// part each line followed by its round's heat tables. 0.
int WriteScheduleAndGroups(std::string& document);

// Appends the tail: section set-up and the page header, which reads the
// organiser's name directly followed by the meet's name.
void WriteOrderBookTail(std::string& document);

}  // namespace korva
