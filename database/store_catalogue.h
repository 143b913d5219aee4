#pragma once
// Store functions of the catalogue: events with their combined-event parts,
// venues and scoring schemes. Each writes the meet table and its base-file
// twin under the same id in one transaction; a new id is the larger of both
// tables' next ids. Each takes DataLock itself.
#include <string>

#include "database/model.h"

namespace korva {

// event_id 0 inserts the event under a new id (written into event.Id);
// another id updates it; then rewrites its part rows. 0 saved (message
// "[%s]比赛项目已经成功保存！"); 1 database error (message set, nothing
// changes). The caller reloads EventList.
[[nodiscard]] int SaveEvent(EventNode& event, int event_id, std::string* message);

// Deletes the event and its part rows from both files, and takes it out of
// every combined event that lists it as a part. 0 with
// "[%s]比赛项目已经成功删除！"; 1 with "操作数据库出错！（3）". The caller
// reloads EventList.
[[nodiscard]] int DeleteEvent(const EventNode& event, std::string* message);

// Exchanges the definitions stored under two event ids in both files (the
// display order is the id order), parts included; combined events that
// list either one follow its definition to its new id. 0 done; 1 database
// error (nothing changes). The caller reloads EventList.
[[nodiscard]] int SwapEventIds(int first_id, int second_id);

// venue_id 0 inserts the venue under a new id in both files and appends it
// to VenueList; ids 1 to 3 (the built-in tracks) write only size and lanes
// in use into the meet file; other ids write name, size, unit and
// description into both. 0 saved; 1 database error (nothing changes).
[[nodiscard]] int SaveVenue(VenueNode& venue, int venue_id);

// Deletes the venue from both files and from VenueList. 0 with
// "[%s]比赛场地已删除！"; 1 with "[%s]比赛场地删除时出现数据库操作错误！".
[[nodiscard]] int DeleteVenue(const VenueNode& venue, std::string* message);

// scheme.Id 0 inserts under a new id (written into scheme.Id), another id
// updates both files. ScoringSchemeList is the caller's. 0 saved; 1 with
// "数据库操作出错！".
[[nodiscard]] int SaveScoringScheme(ScoringSchemeNode& scheme, std::string* message);

// Deletes a scheme from the meet file, then from the base file (both or
// neither). 0 done; 1 with "数据库操作出错！" (meet file) or
// "数据库操作出错[223]！" (base file). ScoringSchemeList is the caller's.
[[nodiscard]] int DeleteScoringScheme(int scheme_id, std::string* message);

}  // namespace korva
