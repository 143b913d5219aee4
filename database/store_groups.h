#pragma once
// Store functions of the competition groups and the events each group
// holds. Each takes DataLock itself and leaves the list reloads to the
// caller (groups, group events, contests, rounds). Report texts are plain
// GBK, one line per group or event ending in "\n"; the page escapes them
// and turns the line ends into breaks.
#include <string>
#include <string_view>
#include <vector>

#include "database/model.h"
#include "database/store_meets.h"

namespace korva {

// A group's label in reports and forms: the grade name and "男子组" or
// "女子组".
std::string GroupLabel(const std::string& grade_name, int sex);

// Adds the chosen groups that don't exist yet, updates the six settings of
// those that do (passing places and scheme on to their contests and places
// to their later rounds), deletes the groups no longer chosen with all
// their data unless athletes of their grade and sex exist (then keeps
// them), and writes the bonuses to every group. One report line per group
// added or deleted ("已添加：%s", "已删除：%s"), or, when some were kept,
// only the kept ones (the group's label). 0 done; 1 database error
// (nothing changes); 2 done, some groups kept.
// 1 when an athlete of that grade and sex is registered in the meet file; a
// failing query counts as none (and is logged).
[[nodiscard]] int GradeSexHasAthletes(int grade_id, int sex);

[[nodiscard]] int SaveCompetitionGroups(const std::vector<GradeGroupSettings>& rows,
                          const RecordBonuses& bonuses, std::string* report);

// First set-up of the group events: per selection (a group and its event
// ids, in GroupEventNode form) the group-event rows, one contest per event
// and its rounds; then opens registration. Runs only while group events,
// contests, rounds, athletes, lanes and auxiliary rows are all empty, else
// reports "系统错误，请联系管理员重新建立运动会！" and 3. 0 done; 3 also on a
// database error (nothing changes).
[[nodiscard]] int CreateGroupContests(std::string* report, const std::vector<GroupEventNode>& selections);

// Later edits of the group events: adds each group's newly chosen events
// (group-event rows, contests, rounds), then removes the events no longer
// chosen with their rounds, lanes and contests, except those with entrants
// ("[%s-%s]已有运动员报名，无法删除！" with group and event name). 0 done; 2 done
// except refused removals; 3 database error (nothing changes).
[[nodiscard]] int ApplyGroupEventSelection(const std::vector<GroupEventNode>& selections, std::string* report);

}  // namespace korva
