#include "database/store_meets.h"

#include <cstdio>
#include <ctime>
#include <filesystem>

#include "database/connections.h"
#include "database/data_error.h"
#include "database/data_lock.h"
#include "database/model.h"
#include "database/open_meet.h"
#include "database/store_common.h"
#include "resources/embedded.h"

namespace korva {

namespace {

bool NameTaken(Connection& base, const std::string& name, int other_than_meet) {
  Statement st(base, "SELECT 1 FROM qrtb137 WHERE qrtb141 = ? AND qrtb138 <> ?");
  st.Bind(name).Bind(other_than_meet);
  return st.Next();
}

bool InsertGroup(Connection& meet, int grade_id, int sex, const GradeGroupSettings& row,
                 const RecordBonuses& bonus) {
  return Execute(meet,
                 "INSERT INTO qrtb373 (qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380,"
                 " qrtb381, qrtb382, qrtb383, qrtb386, qrtb384, qrtb387, qrtb385, qrtb388)"
                 " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                 grade_id, sex, row.AthletesPerClass, row.EntrantsPerEvent, row.EventsPerAthlete,
                 row.CombinedLimit, row.PlacesRanked, row.SchemeId, bonus[0], bonus[1], bonus[2],
                 bonus[3], bonus[4], bonus[5]);
}

// Fills the new meet file and registers it, all in one transaction across
// the meet file and the attached base file. The result code of CreateMeet.
int FillAndRegister(const std::string& path, const std::string& name,
                    const std::string& date_text, int session_count, int morning_start,
                    int afternoon_start, int opening_length, const RecordBonuses& bonuses,
                    int admit_one_less, int bib_width, const std::vector<GradeGroupSettings>& rows) {
  Connection meet;
  if (!OpenMeetFile(meet, path, false)) return 12;
  Transaction unit(meet);
  if (!unit.ok()) return 12;

  std::string file_name = std::filesystem::path(path).filename().string();
  if (!Execute(meet, "UPDATE base.qrtb137 SET qrtb139 = 0") ||
      !Execute(meet,
               "INSERT INTO base.qrtb137 (qrtb139, qrtb140, qrtb141, qrtb142) VALUES (1, ?, ?, ?)",
               file_name, name, date_text))
    return 13;
  int meet_id = static_cast<int>(meet.LastInsertId());
  if (!Execute(meet,
               "INSERT INTO qrtb331 (qrtb332, qrtb344, qrtb345, qrtb333, qrtb334, qrtb335,"
               " qrtb336, qrtb337, qrtb338, qrtb339, qrtb340, qrtb341, qrtb342, qrtb343)"
               " VALUES (?, ?, ?, ?, ?, 0, ?, 0, ?, 1, 1, 1, ?, ?)",
               meet_id, name, date_text, session_count, morning_start, afternoon_start,
               opening_length, admit_one_less, bib_width) ||
      !meet.ExecScript(EmbeddedResource("schema/copy_catalogue.sql")))
    return 13;
  for (const GradeGroupSettings& row : rows) {
    if (!row.InUse) continue;
    if (!Execute(meet, "UPDATE qrtb219 SET qrtb225 = 1 WHERE qrtb220 = ?", row.GradeId) ||
        (row.Boys && !InsertGroup(meet, row.GradeId, 1, row, bonuses)) ||
        (row.Girls && !InsertGroup(meet, row.GradeId, 2, row, bonuses)))
      return 13;
  }
  return unit.Commit() ? 0 : 13;
}

// A meet file made for a meet that is not registered any more.
void RemoveMeetFile(const std::string& path) {
  std::error_code ec;
  // A -wal file left beside it would be read into the next file of its name.
  for (const char* ending : {"", "-wal", "-shm", "-journal"}) std::filesystem::remove(path + ending, ec);
}

}  // namespace

int CreateMeet(const std::string& meet_file_path, const std::string& name,
               const std::string& date_text, int session_count, int morning_start,
               int afternoon_start, int opening_length, const RecordBonuses& bonuses,
               int admit_one_less, int bib_width, const std::vector<GradeGroupSettings>& rows) {
  DataGuard hold(DataLock);
  int result = NameTaken(BaseConnection(), name, 0) ? 11
               : FillAndRegister(meet_file_path, name, date_text, session_count, morning_start,
                                 afternoon_start, opening_length, bonuses, admit_one_less,
                                 bib_width, rows);
  // The file was made for this meet only; a refused creation leaves none.
  if (result != 0) RemoveMeetFile(meet_file_path);
  return result;
}

int ReadRegistry(RegistrySnapshot* snapshot) {
  DataGuard hold(DataLock);
  RegistrySnapshot read;
  Statement st(BaseConnection(), "SELECT qrtb138, qrtb139 FROM qrtb137 ORDER BY qrtb138");
  while (st.Next()) {
    read.LastMeetId = st.ReadIntField(0);
    if (st.ReadIntField(1) == 1) read.CurrentMeetIds.push_back(read.LastMeetId);
  }
  if (!st.ok()) return 1;
  *snapshot = std::move(read);
  return 0;
}

int WithdrawCreatedMeet(const std::string& meet_file_path, const RegistrySnapshot& before) {
  DataGuard hold(DataLock);
  Connection& base = BaseConnection();
  Transaction unit(base);
  bool restored = unit.ok() &&
                  Execute(base, "DELETE FROM qrtb137 WHERE qrtb138 > ?", before.LastMeetId) &&
                  Execute(base, "UPDATE qrtb137 SET qrtb139 = 0");
  for (std::size_t i = 0; restored && i < before.CurrentMeetIds.size(); ++i)
    restored = Execute(base, "UPDATE qrtb137 SET qrtb139 = 1 WHERE qrtb138 = ?", before.CurrentMeetIds[i]);
  if (!restored || !unit.Commit()) {
    LogServerMessageUtf8("cannot take the meet " + meet_file_path + " back out of the registry");
    return 1;
  }
  RemoveMeetFile(meet_file_path);
  return 0;
}

int SaveMeetInfo(const std::string& name, const std::string& date_text, int session_count,
                 int morning_start, int afternoon_start, int opening_length,
                 int admit_one_less) {
  DataGuard hold(DataLock);
  MeetModel& model = Model();
  Connection& meet = MeetConnection();
  if (NameTaken(BaseConnection(), name, model.CurrentMeetId)) return 1;
  Transaction unit(meet);
  bool saved =
      unit.ok() &&
      Execute(meet, "UPDATE base.qrtb137 SET qrtb141 = ?, qrtb142 = ? WHERE qrtb138 = ?", name,
              date_text, model.CurrentMeetId) &&
      Execute(meet,
              "UPDATE qrtb331 SET qrtb344 = ?, qrtb345 = ?, qrtb333 = ?, qrtb334 = ?, qrtb336 = ?,"
              " qrtb338 = ?, qrtb342 = ? WHERE qrtb332 = ?",
              name, date_text, session_count, morning_start, afternoon_start, opening_length,
              admit_one_less, model.CurrentMeetId) &&
      unit.Commit();
  if (!saved) return 3;
  model.MeetName = name;
  model.MeetSessionCount = session_count;
  model.MorningStart = morning_start;
  model.AfternoonStart = afternoon_start;
  model.OpeningCeremonySlot = opening_length;
  model.AdmitOneLess = admit_one_less;
  model.MeetStartTime = ParseStartDate(date_text);
  ShowMeetName();
  return 0;
}

int LoadMeetSettings(int meet_id, StoredMeetSettings* settings) {
  DataReadGuard hold(DataLock);
  Statement st(MeetConnection(), "SELECT * FROM qrtb331 WHERE qrtb332 = ?");
  st.Bind(meet_id);
  if (!st.Next()) return 1;
  StoredMeetSettings s;
  std::sscanf(st.ReadTextField("qrtb345").c_str(), "%d-%d-%d", &s.Year, &s.Month, &s.Day);
  s.SessionCount = st.ReadIntField("qrtb333");
  s.MorningStart = st.ReadIntField("qrtb334");
  s.AfternoonStart = st.ReadIntField("qrtb336");
  s.OpeningLength = st.ReadIntField("qrtb338");
  *settings = s;
  return 0;
}

int SetRegistrationClosed(int mode) {
  if (mode != 1 && mode != 2) return 0;
  DataGuard hold(DataLock);
  int closed = mode == 2 ? 1 : 0;
  if (!Execute(MeetConnection(), "UPDATE qrtb331 SET qrtb341 = ?", closed)) {
    ShowDataErrorCode(174);
    return 1;
  }
  Model().RegistrationClosed = closed;
  return 0;
}

int DeleteMeet(int meet_id) {
  DataGuard hold(DataLock);
  if (meet_id <= 0 || meet_id == Model().CurrentMeetId) return 1;
  Connection& base = BaseConnection();
  {
    Statement row(base, "SELECT qrtb139 FROM qrtb137 WHERE qrtb138 = ?");
    row.Bind(meet_id);
    if (!row.Next()) {
      if (row.ok()) return 1;
      ShowDataErrorCode(45133);
      return 2;
    }
    if (row.ReadIntField(0) == 1) return 1;
  }
  if (!Execute(base, "DELETE FROM qrtb137 WHERE qrtb138 = ?", meet_id)) {
    ShowDataErrorCode(45133);
    return 2;
  }
  return 0;
}

}  // namespace korva
