#include "database/store_athletes.h"

#include <vector>

#include "database/connections.h"
#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/lookups.h"
#include "database/store_common.h"

namespace korva {

namespace {

// Runs each statement in order, all in one transaction. 0 / 1.
int RunUnit(std::initializer_list<const char*> statements) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  bool done = unit.ok();
  for (const char* sql : statements) done = done && Execute(meet, sql);
  return done && unit.Commit() ? 0 : 1;
}

}  // namespace

int SaveAthlete(AthleteNode& athlete) {
  DataGuard hold(DataLock);
  const GroupNode* group = FindGroupByGradeAndSex(athlete.GradeId, athlete.Sex);
  if (!group) {
    ShowDataErrorCode(42550);
    return 0;
  }
  if (group->Id == 0) {
    ShowDataErrorCode(41550);
    return 0;
  }
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  if (!unit.ok()) {
    ShowDataErrorCode(9551);
    return 0;
  }
  int id = athlete.Id;
  if (id == 0) {
    id = GetNextId("qrtb409", "qrtb411", false);
    if (id == 0) {
      ShowDataErrorCode(2551);
      return 0;
    }
    if (!Execute(meet,
                 "INSERT INTO qrtb409 (qrtb411, qrtb412, qrtb410, qrtb413, qrtb414, qrtb415, qrtb416)"
                 " VALUES (?, ?, ?, ?, ?, ?, ?)",
                 id, athlete.Bib, athlete.Name, athlete.GradeId, athlete.ClassId, athlete.Sex,
                 athlete.Reserved)) {
      ShowDataErrorCode(9551);
      return 0;
    }
  } else if (!Execute(meet,
                      "UPDATE qrtb409 SET qrtb410 = ?, qrtb416 = ?"
                      " WHERE qrtb411 = ? AND qrtb414 = ? AND qrtb415 = ?",
                      athlete.Name, athlete.Reserved, id, athlete.ClassId, athlete.Sex)) {
    ShowDataErrorCode(9551);
    return 0;
  }
  bool entries = Execute(meet, "DELETE FROM qrtb397 WHERE qrtb400 = ?", id);
  Statement insert(meet, "INSERT INTO qrtb397 (qrtb399, qrtb400) VALUES (?, ?)");
  for (int contest_id : athlete.ContestIds) {
    if (!entries) break;
    insert.Reset();
    entries = insert.Bind(contest_id).Bind(id).Run();
  }
  if (!entries || !unit.Commit()) {
    ShowDataErrorCode(117);
    return 0;
  }
  athlete.Id = id;
  return id;
}

int DeleteAthlete(int athlete_id) {
  DataGuard hold(DataLock);
  Connection& meet = MeetConnection();
  Transaction unit(meet);
  bool deleted = unit.ok() && Execute(meet, "DELETE FROM qrtb498 WHERE qrtb500 = ?", athlete_id) &&
                 Execute(meet, "DELETE FROM qrtb479 WHERE qrtb484 = ?", athlete_id) &&
                 Execute(meet, "DELETE FROM qrtb397 WHERE qrtb400 = ?", athlete_id) &&
                 Execute(meet, "DELETE FROM qrtb409 WHERE qrtb411 = ?", athlete_id) && unit.Commit();
  if (!deleted) return 1;
  MeetModel& model = Model();
  std::erase_if(model.AthleteAuxList, [=](const AthleteAuxNode& n) { return n.AthleteId == athlete_id; });
  std::erase_if(model.LaneList, [=](const LaneNode& n) { return n.AthleteId == athlete_id; });
  std::erase_if(model.AthleteList, [=](const AthleteNode& n) { return n.Id == athlete_id; });
  return 0;
}

int DeleteAthleteEntry(int athlete_id, int contest_id) {
  DataGuard hold(DataLock);
  if (!Execute(MeetConnection(), "DELETE FROM qrtb397 WHERE qrtb400 = ? AND qrtb399 = ?", athlete_id,
               contest_id)) {
    ShowDataErrorCode(117);
    return 1;
  }
  return 0;
}

int UpdateAthleteBib(const AthleteNode& athlete) {
  DataGuard hold(DataLock);
  if (!Execute(MeetConnection(), "UPDATE qrtb409 SET qrtb412 = ? WHERE qrtb411 = ?", athlete.Bib,
               athlete.Id)) {
    ShowDataErrorCode(177);
    return 1;
  }
  return 0;
}

int UpdateAthleteNameBib(const std::string& name, int bib, int athlete_id) {
  DataGuard hold(DataLock);
  if (!Execute(MeetConnection(), "UPDATE qrtb409 SET qrtb410 = ?, qrtb412 = ? WHERE qrtb411 = ?",
               name, bib, athlete_id)) {
    ShowDataErrorCode(177);
    return 1;
  }
  return 0;
}

int DeleteAllAthletes() {
  return RunUnit({"DELETE FROM qrtb498", "DELETE FROM qrtb479", "DELETE FROM qrtb409", "DELETE FROM qrtb397",
                  "UPDATE qrtb444 SET qrtb452 = 0, qrtb455 = 0, qrtb456 = 0, qrtb457 = 0, qrtb458 = 0",
                  "DELETE FROM qrtb518 WHERE qrtb520 = 1"});
}

int ClearAllResults() {
  return RunUnit({"DELETE FROM qrtb498", "DELETE FROM qrtb479", "UPDATE qrtb409 SET qrtb412 = NULL",
                  "DELETE FROM qrtb518 WHERE qrtb520 = 1"});
}

int ClearAllBibs() {
  if (RunUnit({"UPDATE qrtb409 SET qrtb412 = NULL"}) != 0) {
    ShowDataErrorCode(1322);
    return 1;
  }
  return 0;
}

}  // namespace korva
