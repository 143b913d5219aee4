#include "database/store_groups.h"

#include <algorithm>

#include "database/connections.h"
#include "database/data_lock.h"
#include "database/lookups.h"
#include "database/store_common.h"

namespace korva {

namespace {

struct StoredGroup {
  int Id = 0;
  int GradeId = 0;
  int Sex = 0;
  std::string GradeName;
};

bool ReadStoredGroups(Connection& meet, std::vector<StoredGroup>* groups) {
  Statement st(meet,
               "SELECT s.qrtb374, s.qrtb375, s.qrtb376, g.qrtb221 FROM qrtb373 s"
               " LEFT JOIN qrtb219 g ON g.qrtb220 = s.qrtb375 ORDER BY s.qrtb375, s.qrtb376");
  while (st.Next())
    groups->push_back({st.ReadIntField(0), st.ReadIntField(1), st.ReadIntField(2),
                       st.ReadTextField(3)});
  return st.ok();
}

std::string StoredGradeName(Connection& meet, int grade_id) {
  Statement st(meet, "SELECT qrtb221 FROM qrtb219 WHERE qrtb220 = ?");
  st.Bind(grade_id);
  return st.Next() ? st.ReadTextField(0) : std::string();
}

bool GradeSexHasAthletesInFile(Connection& meet, int grade_id, int sex, bool* has) {
  Statement st(meet, "SELECT 1 FROM qrtb409 WHERE qrtb413 = ? AND qrtb415 = ? LIMIT 1");
  st.Bind(grade_id).Bind(sex);
  *has = st.Next();
  return st.ok();
}

}  // namespace

std::string GroupLabel(const std::string& grade_name, int sex) {
  return grade_name + (sex == 1 ? "男子组" : "女子组");
}

int GradeSexHasAthletes(int grade_id, int sex) {
  bool has = false;
  return GradeSexHasAthletesInFile(MeetConnection(), grade_id, sex, &has) && has ? 1 : 0;
}

namespace {

// Qualifiers of a new contest's preliminary: one venue's worth of athletes.
int VenueSizeOf(int venue_id, int fallback) {
  const VenueNode* venue = FindVenueById(venue_id);
  return std::max(venue ? venue->Size : fallback, 1);
}

bool InsertRoundRow(Connection& meet, int contest_id, int kind, int places, int part_event_id) {
  return Execute(meet,
                 "INSERT INTO qrtb444 (qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451,"
                 " qrtb452, qrtb453, qrtb454, qrtb455, qrtb456, qrtb457, qrtb458)"
                 " VALUES (?, ?, 0, 0, 0, 0, 0, ?, ?, 0, 0, 0, 0)",
                 contest_id, kind, places, part_event_id);
}

// A group takes an event: its group-event row and its contest. The new
// contest's id; 0 after a database error.
int AddGroupContest(Connection& meet, const GroupNode& group, const EventNode& event) {
  int prelims = event.BiSaiType != 3 && event.YuJueType == 1 ? 1 : 0;
  int qualifiers = VenueSizeOf(event.ChangDi, group.PlacesRanked);
  if (!Execute(meet, "INSERT INTO qrtb467 (qrtb469, qrtb470) VALUES (?, ?)", group.Id, event.Id) ||
      !Execute(meet,
               "INSERT INTO qrtb425 (qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436)"
               " VALUES (?, ?, ?, ?, ?, ?, 0)",
               group.Id, event.Id, prelims, qualifiers, group.PlacesRanked, group.SchemeId))
    return 0;
  return static_cast<int>(meet.LastInsertId());
}

// The rounds an event needs: one per part of a combined event;
// preliminary and final, or a direct final.
bool InsertContestRounds(Connection& meet, const GroupNode& group, const EventNode& event,
                         int contest_id) {
  if (event.BiSaiType == 3) {
    for (int part : event.Parts)
      if (!InsertRoundRow(meet, contest_id, kDirectFinal, group.PlacesRanked, part)) return false;
    return true;
  }
  if (event.YuJueType == 1)
    return InsertRoundRow(meet, contest_id, kPrelim, VenueSizeOf(event.ChangDi, group.PlacesRanked), 0) &&
           InsertRoundRow(meet, contest_id, kFinalAfterPrelim, group.PlacesRanked, 0);
  return InsertRoundRow(meet, contest_id, kDirectFinal, group.PlacesRanked, 0);
}

// The contest of the event in the group of the grade's other sex, as the
// file holds it: its id, 0 when there is none, -1 after a database error.
int StoredPartnerContest(Connection& meet, const GroupNode& group, int event_id) {
  Statement st(meet,
               "SELECT c.qrtb426 FROM qrtb425 c JOIN qrtb373 g ON g.qrtb374 = c.qrtb427"
               " WHERE c.qrtb428 = ? AND g.qrtb375 = ? AND g.qrtb376 = ?");
  st.Bind(event_id).Bind(group.GradeId).Bind(3 - group.Sex);
  int id = st.Next() ? st.ReadIntField(0) : 0;
  return st.ok() ? id : -1;
}

// A new contest's rounds. A mixed team is drawn once, boys and girls
// together: while both groups of the grade hold the event the girls'
// contest holds the rounds (taking over those the boys' contest held
// alone until now) and the boys' contest none.
bool GiveContestRounds(Connection& meet, const GroupNode& group, const EventNode& event,
                       int contest_id) {
  if (event.TuanTiType == 3) {
    int partner = StoredPartnerContest(meet, group, event.Id);
    if (partner < 0) return false;
    if (partner > 0 && group.Sex == 1) return true;
    if (partner > 0) {
      if (!Execute(meet, "UPDATE qrtb444 SET qrtb446 = ? WHERE qrtb446 = ?", contest_id, partner))
        return false;
      if (meet.Changes() > 0) return true;
    }
  }
  return InsertContestRounds(meet, group, event, contest_id);
}

std::vector<int> StoredGroupEvents(Connection& meet, int group_id, bool* ok) {
  std::vector<int> ids;
  Statement st(meet, "SELECT qrtb470 FROM qrtb467 WHERE qrtb469 = ? ORDER BY qrtb470");
  st.Bind(group_id);
  while (st.Next()) ids.push_back(st.ReadIntField(0));
  *ok = st.ok();
  return ids;
}

bool Contains(const std::vector<int>& ids, int id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// Removes one event of a group unless someone entered its contest.
// 0 removed, 2 refused (entrants), 3 database error.
int RemoveGroupEvent(Connection& meet, const GroupNode& group, int event_id, std::string* report) {
  const char* contests = "SELECT qrtb426 FROM qrtb425 WHERE qrtb427 = ? AND qrtb428 = ?";
  {
    Statement st(meet, std::string("SELECT 1 FROM qrtb397 WHERE qrtb399 IN (") + contests +
                           ") LIMIT 1");
    st.Bind(group.Id).Bind(event_id);
    if (st.Next()) {
      const EventNode* event = FindEventById(event_id);
      report->append("[")
          .append(GroupLabel(group.GradeName, group.Sex))
          .append("-")
          .append(event ? event->Name : std::to_string(event_id))
          .append("]已有运动员报名，无法删除！\n");
      return 2;
    }
    if (!st.ok()) return 3;
  }
  // The rounds of a mixed team stay with the other sex's contest, with the
  // lanes of its entrants.
  if (!HandOverMixedTeamRounds(meet, group.Id, event_id)) return 3;
  std::string rounds = std::string("SELECT qrtb445 FROM qrtb444 WHERE qrtb446 IN (") + contests + ")";
  bool removed =
      Execute(meet, "DELETE FROM qrtb479 WHERE qrtb481 IN (" + rounds + ")", group.Id, event_id) &&
      Execute(meet, std::string("DELETE FROM qrtb444 WHERE qrtb446 IN (") + contests + ")",
              group.Id, event_id) &&
      Execute(meet, "DELETE FROM qrtb425 WHERE qrtb427 = ? AND qrtb428 = ?", group.Id, event_id) &&
      Execute(meet, "DELETE FROM qrtb467 WHERE qrtb469 = ? AND qrtb470 = ?", group.Id, event_id);
  return removed ? 0 : 3;
}

// Adds each group's chosen events that it doesn't hold yet (read_held:
// the group's stored events count as held), then gives the new contests
// their rounds once every contest exists, so that a mixed team's rounds
// land in the right contest of the pair. False after a database error or
// for an unknown group or event.
bool AddChosenEvents(Connection& meet, const std::vector<GroupEventNode>& selections,
                     bool read_held) {
  struct NewContest {
    const GroupNode* group;
    const EventNode* event;
    int id;
  };
  std::vector<NewContest> added;
  for (const GroupEventNode& selection : selections) {
    const GroupNode* group = FindGroupById(selection.GroupId);
    bool ok = group != nullptr;
    std::vector<int> held = ok && read_held ? StoredGroupEvents(meet, group->Id, &ok) : std::vector<int>{};
    if (!ok) return false;
    for (int event_id : selection.EventIds) {
      if (Contains(held, event_id)) continue;
      const EventNode* event = FindEventById(event_id);
      int contest_id = event ? AddGroupContest(meet, *group, *event) : 0;
      if (contest_id == 0) return false;
      added.push_back({group, event, contest_id});
      held.push_back(event_id);
    }
  }
  for (const NewContest& c : added)
    if (!GiveContestRounds(meet, *c.group, *c.event, c.id)) return false;
  return true;
}

}  // namespace

int SaveCompetitionGroups(const std::vector<GradeGroupSettings>& rows,
                          const RecordBonuses& bonuses, std::string* report) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  std::vector<StoredGroup> stored;
  if (!unit.ok() || !ReadStoredGroups(meet, &stored)) return 1;

  std::string changes, kept;
  auto chosen = [&](int grade_id, int sex) -> const GradeGroupSettings* {
    for (const GradeGroupSettings& row : rows)
      if (row.InUse && row.GradeId == grade_id && (sex == 1 ? row.Boys : row.Girls)) return &row;
    return nullptr;
  };
  for (const GradeGroupSettings& row : rows) {
    if (!row.InUse) continue;
    for (int sex = 1; sex <= 2; ++sex) {
      if (!(sex == 1 ? row.Boys : row.Girls)) continue;
      auto existing = std::find_if(stored.begin(), stored.end(), [&](const StoredGroup& g) {
        return g.GradeId == row.GradeId && g.Sex == sex;
      });
      bool ok;
      if (existing == stored.end()) {
        ok = Execute(meet,
                     "INSERT INTO qrtb373 (qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380,"
                     " qrtb381, qrtb382) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                     row.GradeId, sex, row.AthletesPerClass, row.EntrantsPerEvent,
                     row.EventsPerAthlete, row.CombinedLimit, row.PlacesRanked, row.SchemeId);
        changes += "已添加：" + GroupLabel(StoredGradeName(meet, row.GradeId), sex) + "\n";
      } else {
        ok = Execute(meet,
                     "UPDATE qrtb373 SET qrtb377 = ?, qrtb378 = ?, qrtb379 = ?, qrtb380 = ?,"
                     " qrtb381 = ?, qrtb382 = ? WHERE qrtb374 = ?",
                     row.AthletesPerClass, row.EntrantsPerEvent, row.EventsPerAthlete,
                     row.CombinedLimit, row.PlacesRanked, row.SchemeId, existing->Id) &&
             Execute(meet, "UPDATE qrtb425 SET qrtb431 = ?, qrtb434 = ? WHERE qrtb427 = ?",
                     row.PlacesRanked, row.SchemeId, existing->Id) &&
             Execute(meet,
                     "UPDATE qrtb444 SET qrtb453 = ? WHERE qrtb447 > 1 AND qrtb446 IN"
                     " (SELECT qrtb426 FROM qrtb425 WHERE qrtb427 = ?)",
                     row.PlacesRanked, existing->Id);
      }
      if (!ok) return 1;
    }
  }
  for (const StoredGroup& g : stored) {
    if (chosen(g.GradeId, g.Sex)) continue;
    bool has_athletes = false;
    if (!GradeSexHasAthletesInFile(meet, g.GradeId, g.Sex, &has_athletes)) return 1;
    if (has_athletes) {
      kept += GroupLabel(g.GradeName, g.Sex) + "\n";
      continue;
    }
    if (!DeleteGroupRows(meet, g.Id, g.GradeId, g.Sex)) return 1;
    changes += "已删除：" + GroupLabel(g.GradeName, g.Sex) + "\n";
  }
  if (!Execute(meet,
               "UPDATE qrtb373 SET qrtb383 = ?, qrtb386 = ?, qrtb384 = ?, qrtb387 = ?,"
               " qrtb385 = ?, qrtb388 = ?",
               bonuses[0], bonuses[1], bonuses[2], bonuses[3], bonuses[4], bonuses[5]) ||
      !unit.Commit())
    return 1;
  *report += kept.empty() ? changes : kept;
  return kept.empty() ? 0 : 2;
}

int CreateGroupContests(std::string* report, const std::vector<GroupEventNode>& selections) {
  DataGuard hold(DataLock);
  const MeetModel& model = Model();
  if (!NoGroupEvents() || !model.ContestList.empty() || !model.RoundList.empty() ||
      !model.AthleteList.empty() || !model.LaneList.empty() || !model.AthleteAuxList.empty()) {
    *report += "系统错误，请联系管理员重新建立运动会！";
    return 3;
  }
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  if (!unit.ok() || !AddChosenEvents(meet, selections, false) ||
      !Execute(meet, "UPDATE qrtb331 SET qrtb341 = 0") || !unit.Commit())
    return 3;
  Model().RegistrationClosed = 0;
  return 0;
}

int ApplyGroupEventSelection(const std::vector<GroupEventNode>& selections, std::string* report) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  if (!unit.ok() || !AddChosenEvents(meet, selections, true)) return 3;
  std::string refused;
  for (const GroupEventNode& selection : selections) {
    const GroupNode* group = FindGroupById(selection.GroupId);
    bool ok = group != nullptr;
    std::vector<int> current = ok ? StoredGroupEvents(meet, selection.GroupId, &ok) : std::vector<int>{};
    if (!ok) return 3;
    for (int event_id : current) {
      if (Contains(selection.EventIds, event_id)) continue;
      if (RemoveGroupEvent(meet, *group, event_id, &refused) == 3) return 3;
    }
  }
  if (!unit.Commit()) return 3;
  *report += refused;
  return refused.empty() ? 0 : 2;
}

}  // namespace korva
