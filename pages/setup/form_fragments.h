#pragma once
// The generated parts of the set-up forms: grade rows, selects and option
// lists. Their field names and values are read back by the POST handlers
// of the create-meet and groups pages. Every data value is escaped. The
// caller holds DataLock; a query that fails leaves an empty fragment and a
// line in the log.
#include <string>

namespace korva {

// One numbered select cell with options 1..count ("%d" + unit), selected
// marked. mode 0 adds " disabeld", a negative mode hides the select, a
// positive mode adds nothing.
std::string BuildNumberSelect(int count, int mode, const char* name, const char* unit, int selected);

// One record-bonus select cell with options 0..10 ("不加分", "加%d分").
std::string BuildBonusSelect(const char* name, int selected);

// The grade rows of the groups page, from the open meet's grades, groups
// and scoring schemes; has_combined adds the own wqnxb column.
std::string BuildGroupSettingsForm(bool has_combined);

// The record-bonus table of the groups page.
std::string BuildRecordBonusRows();

// What a new meet would get as its events: the open meet's events, or the
// base file's default events while no meet is open.
struct NewMeetEvents {
  bool any = false;
  bool has_combined = false;
};
NewMeetEvents CheckNewMeetEvents();

// The grade rows of the create-meet form, from the base file's default
// grades and scoring schemes. 0 done, 1 no default scoring scheme, 2 no
// default grade, 3 no events (out untouched then).
int BuildNewMeetForm(std::string* out, const NewMeetEvents& events);

// The options of every registered meet, newest first (the woldydh select).
std::string BuildMeetOptions();

// The names of the meets other than the open one, each followed by "|",
// after a leading "|"; escaped for a script string.
std::string BuildOtherMeetNames();

}  // namespace korva
